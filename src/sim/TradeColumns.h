// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The columns of a run's list of trades, described once: the CSV (--trades), the window's table
// 取引一覧 and the report's table all show them by looping over tradeColumns(). Each column says
// its heading, what kind of value it holds (which decides how every showing writes it), whether
// the window adds it up, whether a gain or loss colours it, and how to read it from a Trade.

#include "sim/RunResults.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

class SignalRows;

enum class TradeColumnKind {
    Code,    // the stock code, a whole number written without separators
    Name,    // the stock's name, a text from the run's signal rows (see tradeName)
    Date,    // yyyymmdd, written as 2004/01/05
    Days,    // whole days; empty when the trade has none
    Shares,  // a count, rounded to tradeAmountDecimals
    Yen,     // an amount, rounded to tradeAmountDecimals; the window writes it with the yen sign
    Rate,    // per cent, rounded to tradeRateDecimals
    Ending,  // how the position was sold: 1 by the final liquidation, 0 by its own sale (see tradeEndingText)
};

struct TradeColumn {
    const char* heading;  // UTF-8
    TradeColumnKind kind;
    int width;    // in the window's table, in dialog units
    bool summed;  // the window's sums line adds it up over the trades shown
    bool toned;   // a gain or a loss colours its cell
    // The trade's value in this column; none when it has none (holding days between dates that
    // are not real calendar dates). Null for the name column, which tradeName reads.
    std::optional<double> (*value)(const Trade&);
};

// The list's columns, left to right.
std::span<const TradeColumn> tradeColumns();

// Whether a column of this kind is a text (left-aligned, sorting as a text in the report) rather
// than a number.
constexpr bool isTextColumn(TradeColumnKind kind)
{
    return kind == TradeColumnKind::Name || kind == TradeColumnKind::Date || kind == TradeColumnKind::Ending;
}

// The text of an Ending column's value, code page 932: 期末決済 for a sale made by the final
// liquidation, 売却 for any other.
const std::string& tradeEndingText(double value);

// The decimals a trade's amounts and profits (shares, buy and sell amounts, gross and after-tax
// profit) and its profit rate are rounded to, as the trade log rounds them. Every showing of the
// list rounds with them.
inline constexpr int tradeAmountDecimals = 0;
inline constexpr int tradeRateDecimals = 2;

// The text of a trade's stock name: the name of its signal row, empty when `rows` do not hold
// that row.
std::string_view tradeName(const Trade& trade, const SignalRows& rows);

}  // namespace kv
