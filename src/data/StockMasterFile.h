#pragma once
// index.txt, the stock master: a header line, then "code,name,(ignored),trading unit" records.

#include <filesystem>
#include <optional>
#include <string>

namespace kv {

class LineReader;
class Platform;
class SimulatorApp;
class WaitCursor;

inline constexpr const char* kStockMasterFileName = "index.txt";

// Reads the records after the header into the stock master. A code listed on several lines
// takes its name and unit from the last of them; ASCII blanks in names become full-width
// blanks, as in signal rows, so that such names match. Rebuilds the name index.
void readStockMaster(LineReader& reader, SimulatorApp& app);

// Opens index.txt in `folder`; when it is missing, asks the user for the file until one is
// chosen. The folder of the file read becomes app.dataFolder. The wait cursor is shown from the
// moment the file is open or chosen (held in `wait`, which the caller releases). Returns whether
// the stock master was read; when the chosen file cannot be opened, `statusLine` says so.
bool loadStockMaster(SimulatorApp& app, Platform& platform, const std::filesystem::path& folder,
                     std::string& statusLine, std::optional<WaitCursor>& wait);

}  // namespace kv
