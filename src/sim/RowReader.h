// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parses a list row back into a ListRow. A row is the nine tokens of a signal-list line joined
// by single blanks (code, name, signal date, buy price, result mark, end date, sell price,
// performance, trading unit), and for holdings and sell-list rows a tenth token, the lot count.
// The rules are those of the typed signal rows (data/SignalRows.h).

#include "data/ListRow.h"

#include <string_view>

namespace kv {

class SimulatorApp;
class StockMaster;

// Fills `out` from `row`: the stock code is the lowest one whose name equals token 1; numbers
// and dates follow the row rules of text/Numbers.h; a row whose mark begins with "？" sells at
// the buy price moved by the unknown profit rate, truncated toward zero. Lots are read only
// when withLots is set. Text after a NUL byte is not part of the row.
void readListRow(std::string_view row, bool withLots, const StockMaster& master, double unknownProfitRate,
                 ListRow& out);

// The same at the application's settings' unknown profit rate.
void readListRow(std::string_view row, bool withLots, const SimulatorApp& app, ListRow& out);

// The numbers alone, exactly as readListRow gives them.
void readRowFigures(std::string_view row, bool withLots, const StockMaster& master, double unknownProfitRate,
                    RowFigures& out);

}  // namespace kv
