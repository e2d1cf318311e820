#pragma once
// The CSV trade log of a run: one line per purchase and per sale, code page 932, CR LF, 13
// columns. Every line goes into the run's trade record in memory, and into the log file when
// one is open. Every line is flushed as it is written, so a crash loses no written trade. A
// write that fails closes the file; the owner reports it once (takeWriteFailure) and the rest
// of the run writes nothing to the file (the record still gets every line).

#include "sim/TradeRecord.h"

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

    // Starts a new trade record with the header; the last run's record is dropped.
    void startRecord();
    const TradeRecord& record() const { return tradeRecord; }

    // A purchase, after the figures were updated: remainingFrame is what the day may still
    // spend (reserves included), totalAssets is after the commission.
    void writeBuy(const RowFigures& row, std::string_view name, int32_t commission, double remainingFrame,
                  double totalAssets);

    // A sale, after the figures were updated.
    void writeSell(const RowFigures& row, std::string_view name, double cumulativeProfit, double netProfit,
                   double operatingAssets, double totalAssets);

    // Closes the file when it is open (later calls do nothing). The run adds no more lines, so
    // the record gives back its spare room.
    void close();

    // True once after a write failed (the log is closed by then).
    bool takeWriteFailure();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void add(const std::string& line);
    void writeLine(const std::string& line);

    std::unique_ptr<std::FILE, Closer> file;
    bool writeFailed = false;
    TradeRecord tradeRecord;
};

}  // namespace kv
