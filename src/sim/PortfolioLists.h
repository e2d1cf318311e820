#pragma once
// Texts of the portfolio lists and their figure fields, and the read-out of a held position.

#include <string>
#include <string_view>

namespace kv {

struct ListRow;

// The three lists of a run.
enum class PortfolioList { Holdings, Candidates, SellList };

// A holdings row: the candidate row, one blank, the lot count without decimals.
std::string holdingsRow(std::string_view candidateRow, double lots);

// "\%.0f" of an amount (0x5C, shown as the yen sign).
std::string moneyText(double amount);
// "(\%.0f)" of the holdings value.
std::string holdingsFigure(double holdingsValue);
// "( \%.0f : %.0f)" of the sell list's exit values and gross profits.
std::string sellFigure(double amount, double profit);

// "購入数：%.0f 購入金額：%.0f 利益%.0f": shares, cost and profit at the signal's sell price.
std::string positionReadout(const ListRow& row);

}  // namespace kv
