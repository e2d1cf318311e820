// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV trade log of a run: one line per purchase and per sale, code page 932, CR LF, 13
// columns. Every line goes into the run's trade record in memory when the run keeps one, and
// into the log file when one is open. The lines of a step are gathered and written together
// when the step ends (flush), so a run costs a write per step, not per line; a crash loses at
// most the lines of the step it happened in, and a run that ends or is reset has written every
// line. A write that fails closes the file; the owner reports it once (takeWriteFailure) and the
// rest of the run writes nothing to the file (the record still gets every line).

#include "sim/TradeRecord.h"
#include "text/OutputFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

struct RowFigures;

class TradeLog {
public:
    TradeLog() = default;
    TradeLog(const TradeLog&) = delete;
    TradeLog& operator=(const TradeLog&) = delete;

    ~TradeLog() { close(); }

    // Creates (or empties) the file and writes the header. False when the file cannot be
    // created, or is a folder, a FIFO or a device other than /dev/null and /dev/full; a header
    // that cannot be written is a write failure (takeWriteFailure).
    [[nodiscard]] bool open(const std::filesystem::path& file);

    bool isOpen() const { return logFile.isOpen(); }

    // Starts a new trade record with the header, or none when `keep` is false (a run that no
    // one can view); the last run's record is dropped either way.
    void startRecord(bool keep = true);
    const TradeRecord& record() const { return tradeRecord; }

    // A purchase, after the figures were updated: remainingFrame is what the day may still
    // spend (reserves included), totalAssets is after the commission.
    void writeBuy(const RowFigures& row, std::string_view name, int32_t commission, double remainingFrame,
                  double totalAssets);

    // A sale, after the figures were updated.
    void writeSell(const RowFigures& row, std::string_view name, double cumulativeProfit, double netProfit,
                   double operatingAssets, double totalAssets);

    // Writes the lines gathered since the last flush to the file.
    void flush();

    // Writes what is gathered and closes the file when it is open (later calls do nothing). The
    // run adds no more lines, so the record gives back its spare room.
    void close();

    // True once after a write failed (the log is closed by then).
    [[nodiscard]] bool takeWriteFailure();

private:
    void add(const std::string& line);
    void fail();

    OutputFile logFile;
    std::string pending;  // lines not yet written to the file
    bool writeFailed = false;
    bool keepRecord = true;
    TradeRecord tradeRecord;
};

}  // namespace kv
