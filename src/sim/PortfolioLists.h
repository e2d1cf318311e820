// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the portfolio lists and their figure fields, and the read-out of a held position.
// The lists' rows are the signal rows' list lines; a holdings or sell-list row adds the lots.

#include <string>
#include <string_view>

namespace kv {

class SignalRows;
struct Position;
struct RowFigures;

// The three lists of a run.
enum class PortfolioList { Holdings, Candidates, SellList };

// A holdings row: the candidate row, one blank, the lot count without decimals.
std::string holdingsRow(std::string_view candidateRow, double lots);

// The row a list shows for a position: its signal's list line, and for a holdings or sell-list
// position (one with lots) one blank and the lots without decimals.
std::string positionRowText(const SignalRows& rows, const Position& position, PortfolioList list);

// "\%.0f" of an amount (0x5C, shown as the yen sign).
std::string moneyText(double amount);
// "(\%.0f)" of the holdings value.
std::string holdingsFigure(double holdingsValue);
// "( \%.0f : %.0f)" of the sell list's exit values and gross profits.
std::string sellFigure(double amount, double profit);

// "購入数：%.0f 購入金額：%.0f 利益%.0f": shares, cost and profit at the signal's sell price.
std::string positionReadout(const RowFigures& row);

}  // namespace kv
