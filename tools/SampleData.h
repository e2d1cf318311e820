// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Invented but plausible input files for trying the program out and for benchmarks: a stock
// master (index.txt) and a signal file, both as code page 932 bytes with CR LF line ends.
// Everything is drawn from a small fixed generator, so a seed always gives the same bytes on
// every platform and library version.

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct SampleStock {
    int code = 0;         // 1000..9999
    std::string name;     // code page 932, unique, without commas or ASCII blanks
    std::string market;   // code page 932
    int tradingUnit = 0;  // 1, 10, 100 or 1000
};

// stockCount stocks (at most 9000) with distinct ascending codes and distinct names; every
// trading unit occurs when stockCount is at least 4.
std::vector<SampleStock> makeStocks(int stockCount, uint32_t seed);

// The index.txt text of stocks: a header line, then "code,name,market,unit" per stock.
std::string formatStockMaster(const std::vector<SampleStock>& stocks);

// formatStockMaster(makeStocks(stockCount, seed)).
std::string makeStockMaster(int stockCount, uint32_t seed);

// A signal file over stocks: a header line, then rowCount rows sorted by signal date. Signal
// and end dates are days from firstDate to lastDate (yyyymmdd) chosen by `days`, the first and
// the last of them carrying at least one row. Every result mark, "約定せず" rows and "？" rows
// judged "判定不可" occur when rowCount is at least 9.
//
// Anywhere: "判定不可" rows fall on any day, as in the small sample and the benchmark file.
// OpenAtEnd: as in a real file, only the signals still open on lastDate are "判定不可（期間中）",
// so they lie in the last two weeks and a long run is not left without buying power.
//
// Weekdays: every weekday but December 31 to January 3 (the small sample and the benchmark
// file were made so). BusinessDays: the Tokyo exchange's business days, holidays skipped.
enum class SignalEnds { Anywhere, OpenAtEnd };
enum class SignalDays { Weekdays, BusinessDays };
std::string makeSignalFile(const std::vector<SampleStock>& stocks, int rowCount, int firstDate, int lastDate,
                           uint32_t seed, SignalEnds ends = SignalEnds::Anywhere,
                           SignalDays days = SignalDays::Weekdays);

}  // namespace kv
