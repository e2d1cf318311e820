// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A run's list of trades as CSV, for a spreadsheet: code page 932, CR LF, the header
// コード,銘柄名,購入日,売却日,保有日数,株数,購入金額,売却金額,手数料,差引益,税引き益,利益率 and one line per sale,
// its numbers rounded as the trade log rounds them, dates as 2004/01/05, the holding days empty
// where a date is not a real calendar date.

#include "sim/RunResults.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

class SignalRows;

// The twelve columns of the list, as the CSV's header and the report's table name them (UTF-8).
const std::array<const char*, 12>& tradeListHeadings();

// The decimals a trade's amounts and profits (shares, buy and sell amounts, gross and after-tax
// profit) and its profit rate are rounded to, as the trade log rounds them. Every showing of the
// list rounds with them.
inline constexpr int tradeAmountDecimals = 0;
inline constexpr int tradeRateDecimals = 2;

// The text of a trade's stock name: the name of its signal row, empty when `rows` do not hold
// that row.
std::string_view tradeName(const Trade& trade, const SignalRows& rows);

// Writes the trades the results keep to `file`, replacing it; `rows` are the run's signal rows,
// which name the stocks. False when it cannot be written whole (a FIFO or a device other than
// /dev/null and /dev/full is not written at all).
bool writeTradeListCsv(const RunResults& results, const SignalRows& rows, const std::filesystem::path& file);

}  // namespace kv
