// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// index.txt, the stock master: a header line, then "code,name,(ignored),trading unit" records.

#include "text/LineReader.h"

#include <filesystem>
#include <optional>

namespace kv {

class SimulatorApp;
class StockMaster;

inline constexpr const char* kStockMasterFileName = "index.txt";

// Reads the records after the header into the stock master. A code listed on several lines
// takes its name and unit from the last of them; ASCII blanks in names become full-width
// blanks, as in signal rows, so that such names match. Rebuilds the name index.
void readStockMaster(LineReader& reader, StockMaster& master);

// How a stock-master load ended.
enum class StockMasterLoad {
    Read,        // the stock master holds the file's records
    CannotOpen,  // the file could not be opened; the stock master is as it was
};

// Reads the stock master from `file`, already opened as `reader` (nothing when it could not be
// opened) into app.master. The file's folder becomes app.dataFolder either way: the settings file is kept
// beside the stock master the user chose.
[[nodiscard]] StockMasterLoad loadStockMaster(SimulatorApp& app, const std::filesystem::path& file,
                                              std::optional<LineReader>& reader);

}  // namespace kv
