// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The day points of a run as CSV, for a spreadsheet: code page 932, CR LF, the header
// 日付,総資産,ドローダウン,ドローダウン率 and one line per day ("2004/01/05,1996010,3990,0.20").
// The results window and kirvane-batch --equity write the same text.

#include "sim/RunResults.h"

#include <filesystem>
#include <string>

namespace kv {

std::string equityCsv(const RunResults& results);

// Writes equityCsv(results) to `file`, replacing it; false when it cannot be written whole (a
// FIFO or a device other than /dev/null and /dev/full is not written at all).
[[nodiscard]] bool writeEquityCsv(const RunResults& results, const std::filesystem::path& file);

}  // namespace kv
