// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/TradeColumns.h"

#include "data/SignalRows.h"
#include "text/Cp932.h"

namespace kv {

namespace {

using Kind = TradeColumnKind;
using Value = std::optional<double>;

Value holdingDays(const Trade& t)
{
    if (std::optional<int64_t> days = t.holdingDays())
        return static_cast<double>(*days);
    return std::nullopt;
}

// Adding a column: a row here and its field in Trade (with what fills it); every showing follows.
const TradeColumn columns[] = {
    {"コード", Kind::Code, 22, false, false, [](const Trade& t) -> Value { return t.code; }},
    {"銘柄名", Kind::Name, 56, false, false, nullptr},
    {"購入日", Kind::Date, 45, false, false, [](const Trade& t) -> Value { return t.buyDate; }},
    {"売却日", Kind::Date, 45, false, false, [](const Trade& t) -> Value { return t.sellDate; }},
    {"保有日数", Kind::Days, 30, false, false, holdingDays},
    {"株数", Kind::Shares, 38, true, false, [](const Trade& t) -> Value { return t.shares; }},
    {"購入金額", Kind::Yen, 50, true, false, [](const Trade& t) -> Value { return t.buyAmount; }},
    {"売却金額", Kind::Yen, 50, true, false, [](const Trade& t) -> Value { return t.sellAmount; }},
    {"手数料", Kind::Yen, 30, true, false, [](const Trade& t) -> Value { return t.commission; }},
    {"差引益", Kind::Yen, 46, true, true, [](const Trade& t) -> Value { return t.grossProfit; }},
    {"税引き益", Kind::Yen, 46, true, true, [](const Trade& t) -> Value { return t.netProfit; }},
    {"利益率", Kind::Rate, 32, false, true, [](const Trade& t) -> Value { return t.profitRatePercent; }},
    {"決済", Kind::Ending, 34, false, false, [](const Trade& t) -> Value { return t.endOfRun ? 1 : 0; }},
};

}  // namespace

std::span<const TradeColumn> tradeColumns()
{
    return columns;
}

const std::string& tradeEndingText(double value)
{
    static const std::string endOfRun = toCp932("期末決済");
    static const std::string sale = toCp932("売却");
    return value != 0 ? endOfRun : sale;
}

std::string_view tradeName(const Trade& trade, const SignalRows& rows)
{
    return trade.signal >= 0 && trade.signal < rows.count() ? rows.name(trade.signal) : std::string_view();
}

}  // namespace kv
