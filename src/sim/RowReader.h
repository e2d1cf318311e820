#pragma once
// Parses a list row back into a ListRow. A row is the nine tokens of a signal-list line joined
// by single blanks (code, name, signal date, buy price, result mark, end date, sell price,
// performance, trading unit), and for holdings and sell-list rows a tenth token, the lot count.

#include "sim/ListRow.h"

#include <string_view>

namespace kv {

class SimulatorApp;

// Fills `out` from `row`: the stock code is the lowest one whose name equals token 1; numbers
// and dates follow the row rules of text/Numbers.h; a row whose mark begins with "？" sells at
// the buy price moved by the settings' unknown profit rate, truncated toward zero. Lots are read
// only when withLots is set. Text after a NUL byte is not part of the row.
void readListRow(std::string_view row, bool withLots, const SimulatorApp& app, ListRow& out);

// The same with the unknown profit rate given: for a simulation whose settings are its own.
void readListRow(std::string_view row, bool withLots, const SimulatorApp& master, double unknownProfitRate,
                 ListRow& out);

// The numbers alone, exactly as readListRow gives them.
void readRowFigures(std::string_view row, bool withLots, const SimulatorApp& master, double unknownProfitRate,
                    RowFigures& out);

// The stock name of a row, exactly as readListRow gives it.
std::string_view rowName(std::string_view row);

}  // namespace kv
