#pragma once
// The benchmarks' working folder: a temporary folder with a 3,000-stock index.txt and a
// 250,000-row signals.csv (code page 932), removed again when the benchmark ends.

#include <filesystem>
#include <optional>

namespace kv {

class BenchmarkFolder {
public:
    static constexpr int kStocks = 3000;
    static constexpr int kRows = 250000;

    explicit BenchmarkFolder(const char* name);
    ~BenchmarkFolder();
    BenchmarkFolder(const BenchmarkFolder&) = delete;
    BenchmarkFolder& operator=(const BenchmarkFolder&) = delete;

    bool written() const { return ok; }
    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path signalFile() const { return folder / "signals.csv"; }

    // Writes oneday.csv: rowCount signals over the same stocks, all on one day (2000/01/04).
    // Its path, or nothing when it cannot be written.
    std::optional<std::filesystem::path> writeOneDayFile(int rowCount) const;

private:
    std::filesystem::path folder;
    bool ok = false;
};

}  // namespace kv
