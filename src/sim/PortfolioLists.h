#pragma once
// Texts of the portfolio lists and their figure fields, and the read-out of a selected row.

#include <array>
#include <string>
#include <string_view>

namespace kv {

struct ListRow;

// The detail pane of the データ group, in list-token order: 証券コード (1012), 銘柄名 (1004),
// 購入日 (1005), 購入価格 (1008), 成果 (1007), 売却日 (1006), 売却価格 (1009),
// パフォーマンス (1010), 売買単位 (1013).
using DetailFields = std::array<std::string*, 9>;

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

// Puts the first nine blank-separated tokens of `row` into the detail fields; missing tokens
// leave their field empty. Nothing is cut: a long token shows whole.
void showRowDetails(std::string_view row, const DetailFields& fields);

}  // namespace kv
