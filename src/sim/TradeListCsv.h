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

namespace kv {

class SignalRows;

// The twelve columns of the list, as the CSV's header and the report's table name them (UTF-8).
const std::array<const char*, 12>& tradeListHeadings();

// Writes the trades the results keep to `file`, replacing it; `rows` are the run's signal rows,
// which name the stocks. False when it cannot be written whole (a FIFO or a device other than
// /dev/null and /dev/full is not written at all).
bool writeTradeListCsv(const RunResults& results, const SignalRows& rows, const std::filesystem::path& file);

}  // namespace kv
