#pragma once
// The CSV trade log of a run: one line per purchase and per sale, code page 932, CR LF, 13
// columns. Every line is flushed as it is written, so a crash loses no written trade. A write
// that fails closes the file; the owner reports it once (takeWriteFailure) and the rest of the
// run writes nothing.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kv {

struct RowFigures;

class TradeLog {
public:
    TradeLog() = default;
    TradeLog(const TradeLog&) = delete;
    TradeLog& operator=(const TradeLog&) = delete;

    // Creates (or empties) the file and writes the header. False when the file cannot be
    // created; a header that cannot be written is a write failure (takeWriteFailure).
    bool open(const std::filesystem::path& file);

    bool isOpen() const { return file != nullptr; }

    // A purchase, after the figures were updated: remainingFrame is what the day may still
    // spend (reserves included), totalAssets is after the commission.
    void writeBuy(const RowFigures& row, std::string_view name, int32_t commission, double remainingFrame,
                  double totalAssets);

    // A sale, after the figures were updated.
    void writeSell(const RowFigures& row, std::string_view name, double cumulativeProfit, double netProfit,
                   double operatingAssets, double totalAssets);

    // Closes the file when it is open; later calls do nothing.
    void close();

    // True once after a write failed (the log is closed by then).
    bool takeWriteFailure();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void writeLine(const std::string& line);

    std::unique_ptr<std::FILE, Closer> file;
    bool writeFailed = false;
};

}  // namespace kv
