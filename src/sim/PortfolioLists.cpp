// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PortfolioLists.h"

#include "data/ListRow.h"
#include "data/SignalRows.h"
#include "sim/PositionList.h"
#include "text/Cp932.h"
#include "text/Format.h"

namespace kv {

std::string holdingsRow(std::string_view candidateRow, double lots)
{
    std::string text;
    text.reserve(candidateRow.size() + 8);
    text.append(candidateRow);
    text += ' ';
    appendFixed(text, lots, 0);
    return text;
}

std::string positionRowText(const SignalRows& rows, const Position& position, PortfolioList list)
{
    const std::string_view line = rows.text(position.signal);
    if (list == PortfolioList::Candidates)
        return std::string(line);
    return holdingsRow(line, position.lotsBought);
}

std::string moneyText(double amount)
{
    std::string text = "\\";
    appendFixed(text, amount, 0);
    return text;
}

std::string holdingsFigure(double holdingsValue)
{
    std::string text = "(\\";
    appendFixed(text, holdingsValue, 0);
    text += ')';
    return text;
}

std::string sellFigure(double amount, double profit)
{
    return format("( \\%.0f : %.0f)", {amount, profit});
}

std::string positionReadout(const RowFigures& row)
{
    static const std::string readout = toCp932("購入数：%.0f 購入金額：%.0f 利益%.0f");
    return format(readout, {row.shares(), row.cost(), row.exitValue() - row.cost()});
}

}  // namespace kv
