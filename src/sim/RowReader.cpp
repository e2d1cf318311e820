// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RowReader.h"

#include "data/SignalRows.h"
#include "data/SimulatorApp.h"
#include "text/Numbers.h"

namespace kv {

namespace {

void readFigures(const RowTokens& tokens, bool withLots, const StockMaster& master, double unknownProfitRate,
                 RowFigures& out)
{
    out = rowFiguresAt(signalFieldsOf(tokens, master), unknownProfitRate);
    out.lots = withLots ? rowNumberAsDouble(tokens[9]) : 0;
}

}  // namespace

void readListRow(std::string_view row, bool withLots, const StockMaster& master, double unknownProfitRate,
                 ListRow& out)
{
    const RowTokens tokens = splitRowTokens(row);
    readFigures(tokens, withLots, master, unknownProfitRate, out);
    out.name.assign(tokens[1]);
    out.resultMark.assign(tokens[4]);
}

void readListRow(std::string_view row, bool withLots, const SimulatorApp& app, ListRow& out)
{
    readListRow(row, withLots, app.master, app.settings.unknownProfitRate, out);
}

void readRowFigures(std::string_view row, bool withLots, const StockMaster& master, double unknownProfitRate,
                    RowFigures& out)
{
    readFigures(splitRowTokens(row), withLots, master, unknownProfitRate, out);
}

}  // namespace kv
