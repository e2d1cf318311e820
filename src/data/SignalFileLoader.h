// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a signal file into the typed signal rows and the statistics. A signal file is CSV text: a
// header line, then one signal per line — name, signal date, buy price (or "約定せず"), result
// mark, end date, sell price, performance.

#include <array>
#include <string>
#include <vector>

namespace kv {

class LineReader;
class SignalRows;
class StockMaster;
struct SignalTallies;

// Rows that the lenient reading takes in without a word but that a script may not have meant: a
// price read as a number although it holds more than digits (500.5 reads as 50005), a date that
// holds more than digits and slashes, a name that index.txt does not list (code 0000), an empty
// line (a signal of code 0000), a row cut short: fewer than seven fields, an empty price or date
// (bought or sold at 0 on 0/0/0), or a NUL byte. The reading stays as it is; the load only
// counts them.
enum class LoadWarning { NonDigitPrice, NonDigitDate, UnknownName, EmptyLine, ShortRow };
inline constexpr size_t kLoadWarningKinds = 5;

struct LoadWarnings {
    struct Kind {
        int count = 0;
        std::vector<int> firstLines;  // the file's line numbers (the header is line 1), at most five
    };
    std::array<Kind, kLoadWarningKinds> kinds;

    const Kind& operator[](LoadWarning kind) const { return kinds[static_cast<size_t>(kind)]; }
    bool any() const;
    void add(LoadWarning kind, int line);
};

// "注意：価格に数字以外を含む行 2、…、空行 1" (code page 932), naming only the kinds that occur;
// empty when none does.
std::string loadWarningsText(const LoadWarnings& warnings);

// The name of a kind in the JSON of the command-line tools: nonDigitPrices, nonDigitDates,
// unknownNames, emptyLines, shortRows.
const char* loadWarningKey(LoadWarning kind);

// What a load leaves for the main window besides the list and the statistics.
struct SignalLoadResult {
    int rowCount = 0;           // rows entered
    std::string firstDateText;  // signal date of the first listed row, as the file writes it
    std::string lastDateText;   // the same of the last listed row
    // The file has more dates than there are date slots: the load stopped at the first date
    // that found none, and the program is meant to end.
    bool tooManyDates = false;
    LoadWarnings warnings;  // of the rows entered
};

// Clears the rows, the tallies and the slot dates, then reads every line after the header: blanks
// become full-width blanks, the stock code is found by name (the highest code of that name; 0
// when no stock has it), the row takes its date slot, "約定せず" rows end there, a
// "？" row judged "判定不可" gets the end date 9999/99/99 and its buy price as sell price, and the
// row is tallied, counted among the warnings it gives and entered as its list line. When the
// date slots run out the load stops there with tooManyDates.
[[nodiscard]] SignalLoadResult loadSignalFile(LineReader& reader, const StockMaster& master,
                                              SignalTallies& tallies, SignalRows& rows);

}  // namespace kv
