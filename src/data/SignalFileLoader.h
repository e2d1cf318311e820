// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a signal file into the typed signal rows and the statistics. A signal file is CSV text: a
// header line, then one signal per line — name, signal date, buy price (or "約定せず"), result
// mark, end date, sell price, performance.

#include <string>

namespace kv {

class LineReader;
class SignalRows;
class StockMaster;
struct SignalTallies;

// What a load leaves for the main window besides the list and the statistics.
struct SignalLoadResult {
    int rowCount = 0;           // rows entered
    std::string firstDateText;  // signal date of the first listed row, as the file writes it
    std::string lastDateText;   // the same of the last listed row
    // The file has more dates than there are date slots: the load stopped at the first date
    // that found none, and the program is meant to end.
    bool tooManyDates = false;
};

// Clears the rows, the tallies and the slot dates, then reads every line after the header: blanks become full-width blanks, the stock code is found by name (the highest code of
// that name; 0 when no stock has it), the row takes its date slot, "約定せず" rows end there, a
// "？" row judged "判定不可" gets the end date 9999/99/99 and its buy price as sell price, and the
// row is tallied and entered as its list line. When the date slots run out the load stops there
// with tooManyDates.
SignalLoadResult loadSignalFile(LineReader& reader, const StockMaster& master, SignalTallies& tallies,
                                SignalRows& rows);

}  // namespace kv
