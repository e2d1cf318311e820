// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A run's list of trades as CSV, for a spreadsheet: code page 932, CR LF, a header of the
// columns' headings (tradeColumns) and one line per sale, its numbers rounded as the trade log
// rounds them, dates as 2004/01/05, the holding days empty where a date is not a real calendar
// date.

#include "sim/RunResults.h"

#include <filesystem>

namespace kv {

class SignalRows;

// Writes the trades the results keep to `file`, replacing it; `rows` are the run's signal rows,
// which name the stocks. False when it cannot be written whole (a FIFO or a device other than
// /dev/null and /dev/full is not written at all).
[[nodiscard]] bool writeTradeListCsv(const RunResults& results, const SignalRows& rows,
                                     const std::filesystem::path& file);

}  // namespace kv
