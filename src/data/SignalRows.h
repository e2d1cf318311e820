// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loaded signals as typed rows. Each row keeps its list line (the nine tokens the window
// shows: code, name, signal date, buy price, result mark, end date, sell price, performance,
// trading unit, joined by single ASCII blanks) and the numbers read from it once, at load time.
// The texts live in one buffer, so a row costs its bytes and a few numbers.
//
// Reading a list line: the tokens are cut at each ASCII blank, each to its first 64 bytes, and
// a NUL byte ends the line; the stock code is the lowest one whose name equals the name token;
// numbers and dates follow the row rules of text/Numbers.h. The sell price of a row whose mark
// begins with "？" is not the written one: it follows the unknown profit rate of the run.

#include "data/ListRow.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class StockMaster;

// The numbers of a list line, the sell price as written.
struct SignalFields {
    int32_t code = 0;
    int32_t signalDate = 0;
    int32_t buyPrice = 0;
    int32_t endDate = 0;
    int32_t writtenSellPrice = 0;
    int32_t tradingUnit = 0;
    bool unknownMark = false;  // the mark begins with "？"
};

// The first ten tokens of a list line as the row rules cut them (a tenth is the lot count of a
// holdings row).
inline constexpr size_t kRowTokenCount = 10;
using RowTokens = std::array<std::string_view, kRowTokenCount>;
RowTokens splitRowTokens(std::string_view line);

SignalFields signalFieldsOf(const RowTokens& tokens, const StockMaster& master);

// The numbers of a row at a run's unknown profit rate; lots 0. The "？" sell price is the buy
// price moved by the rate, truncated toward zero.
RowFigures rowFiguresAt(const SignalFields& fields, double unknownProfitRate);

class SignalRows {
public:
    // Empties the rows; `rows` and `bytes` are what the next load expects to append.
    void clear(size_t rows = 0, size_t bytes = 0);
    // Appends a list line, read against the stock master.
    void append(std::string_view line, const StockMaster& master);
    // Gives back the room reserved beyond what the rows use.
    void trim();
    // The memory the rows hold: their texts and numbers, reserved room included.
    size_t memoryBytes() const { return rows.capacity() * sizeof(Row) + bytes.capacity(); }

    int count() const { return static_cast<int>(rows.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }

    std::string_view text(int index) const;
    // Token 1 as the row rules cut it: the name that the trade log writes.
    std::string_view name(int index) const;
    // Token 2 whole: the date text that groups the rows of a day.
    std::string_view dateText(int index) const;
    const SignalFields& fields(int index) const { return at(index).fields; }
    // True when the line has exactly nine tokens and no NUL byte, so that a lot count appended
    // after one blank reads back as its tenth token.
    bool takesLots(int index) const { return at(index).takesLots; }
    RowFigures figures(int index, double unknownProfitRate) const
    {
        return rowFiguresAt(fields(index), unknownProfitRate);
    }

private:
    struct Row {
        size_t begin = 0;  // the line in `bytes`
        uint32_t size = 0;
        uint32_t dateBegin = 0, dateSize = 0;  // relative to the line
        uint32_t nameBegin = 0;
        uint16_t nameSize = 0;  // a token keeps at most 64 bytes
        bool takesLots = false;
        SignalFields fields;
    };
    const Row& at(int index) const { return rows[static_cast<size_t>(index)]; }

    std::vector<Row> rows;
    std::string bytes;
};

}  // namespace kv
