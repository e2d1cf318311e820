// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TradeListRows.h"

#include "data/SignalRows.h"
#include "sim/TradeListCsv.h"
#include "text/Cp932.h"
#include "text/Format.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <unordered_map>
#include <optional>

namespace kv {

namespace {

enum Column {
    CodeColumn,
    NameColumn,
    BuyDateColumn,
    SellDateColumn,
    HoldingDaysColumn,
    SharesColumn,
    BuyAmountColumn,
    SellAmountColumn,
    CommissionColumn,
    GrossColumn,
    NetColumn,
    RateColumn,
};

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A trade's amount or profit as the list shows and sums it: rounded as the trade log rounds it.
double rounded(double amount)
{
    static_assert(tradeAmountDecimals == 0);
    return std::round(amount);
}

CellTone toneOf(double value)
{
    return value > 0 ? CellTone::Gain : value < 0 ? CellTone::Loss : CellTone::Plain;
}

// The value a column sorts by; none for a trade without holding days.
std::optional<double> sortValue(const Trade& t, int column)
{
    switch (column) {
    case CodeColumn:
        return t.code;
    case BuyDateColumn:
        return t.buyDate;
    case SellDateColumn:
        return t.sellDate;
    case HoldingDaysColumn:
        if (std::optional<int64_t> days = t.holdingDays())
            return static_cast<double>(*days);
        return std::nullopt;
    case SharesColumn:
        return t.shares;
    case BuyAmountColumn:
        return t.buyAmount;
    case SellAmountColumn:
        return t.sellAmount;
    case CommissionColumn:
        return t.commission;
    case GrossColumn:
        return t.grossProfit;
    case NetColumn:
        return t.netProfit;
    default:
        return t.profitRatePercent;
    }
}

}  // namespace

bool containsText(std::string_view text, std::string_view part)
{
    if (part.empty())
        return true;
    size_t i = 0;
    while (i + part.size() <= text.size()) {
        if (text.compare(i, part.size(), part) == 0)
            return true;
        i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return false;
}

void TradeListRows::take(std::string_view filter)
{
    filter = trimmed(filter);
    const std::vector<Trade>& trades = results.tradeList();
    shown.clear();
    shown.reserve(trades.size());
    for (size_t i = 0; i < trades.size(); ++i) {
        const Trade& t = trades[i];
        if (filter.empty() || containsText(std::to_string(t.code), filter) || containsText(name(t), filter))
            shown.push_back(static_cast<int32_t>(i));
    }
}

TradeSums TradeListRows::sums() const
{
    TradeSums s;
    for (int row = 0; row < count(); ++row) {
        const Trade* t = trade(row);
        if (!t)
            continue;
        s.shares += rounded(t->shares);
        s.buyAmount += rounded(t->buyAmount);
        s.sellAmount += rounded(t->sellAmount);
        s.commission += t->commission;
        s.grossProfit += rounded(t->grossProfit);
        s.netProfit += rounded(t->netProfit);
    }
    return s;
}

std::vector<TableColumn> TradeListRows::columns()
{
    static const int widths[] = {22, 56, 45, 45, 30, 38, 50, 50, 30, 46, 46, 32};
    const auto& headings = tradeListHeadings();
    std::vector<TableColumn> cols;
    for (size_t c = 0; c < headings.size(); ++c)
        cols.push_back(
            {toCp932(headings[c]), widths[c], c != NameColumn && c != BuyDateColumn && c != SellDateColumn});
    return cols;
}

const Trade* TradeListRows::trade(int row) const
{
    // The run may go on behind the window (AUTO); a row refers to a trade by its index.
    const std::vector<Trade>& trades = results.tradeList();
    if (row < 0 || row >= count() || static_cast<size_t>(shown[static_cast<size_t>(row)]) >= trades.size())
        return nullptr;
    return &trades[static_cast<size_t>(shown[static_cast<size_t>(row)])];
}

std::string_view TradeListRows::name(const Trade& t) const
{
    return names ? tradeName(t, *names) : std::string_view();
}

TableCell TradeListRows::cell(int row, int column) const
{
    const Trade* found = trade(row);
    if (!found)
        return {};
    const Trade& t = *found;
    switch (column) {
    case CodeColumn:
        return {std::to_string(t.code)};
    case NameColumn:
        return {std::string(name(t))};
    case BuyDateColumn:
        return {paddedDateText(t.buyDate)};
    case SellDateColumn:
        return {paddedDateText(t.sellDate)};
    case HoldingDaysColumn: {
        std::optional<int64_t> days = t.holdingDays();
        return {days ? groupedText(static_cast<double>(*days), 0) : std::string()};
    }
    case SharesColumn:
        return {groupedText(t.shares, tradeAmountDecimals)};
    case BuyAmountColumn:
        return {yenText(t.buyAmount)};
    case SellAmountColumn:
        return {yenText(t.sellAmount)};
    case CommissionColumn:
        return {yenText(t.commission)};
    case GrossColumn:
        return {yenText(t.grossProfit), toneOf(rounded(t.grossProfit))};
    case NetColumn:
        return {yenText(t.netProfit), toneOf(rounded(t.netProfit))};
    case RateColumn:
        static_assert(tradeRateDecimals == 2);  // as signedPercentText shows a rate
        return {signedPercentText(t.profitRatePercent), toneOf(t.profitRatePercent)};
    default:
        return {};
    }
}

bool TradeListRows::lessThan(int a, int b, int column) const
{
    const Trade* first = trade(a);
    const Trade* second = trade(b);
    if (!first || !second)
        return !first && second;
    if (column == NameColumn)
        return name(*first) < name(*second);
    const std::optional<double> x = sortValue(*first, column);
    const std::optional<double> y = sortValue(*second, column);
    if (!x || !y)
        return !x && y;
    return *x < *y;
}

// Each row's value is looked up once, not at every comparison: a long run's list sorts in a
// fraction of the time.
void TradeListRows::sortRows(std::vector<int32_t>& order, int column, bool ascending) const
{
    auto sortBy = [&](const auto& keys, auto less) {
        if (ascending)
            std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
                return less(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
            });
        else
            std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
                return less(keys[static_cast<size_t>(b)], keys[static_cast<size_t>(a)]);
            });
    };
    if (column == NameColumn) {
        // Names repeat (one per stock): each distinct name is ranked once, rows sort by rank.
        std::unordered_map<std::string_view, int32_t> rankOf;
        std::vector<std::string_view> distinct;
        std::vector<int32_t> keys(static_cast<size_t>(count()));
        for (int row = 0; row < count(); ++row) {
            const Trade* t = trade(row);
            const std::string_view text = t ? name(*t) : std::string_view();
            auto [it, added] = rankOf.try_emplace(text, static_cast<int32_t>(distinct.size()));
            if (added)
                distinct.push_back(text);
            keys[static_cast<size_t>(row)] = it->second;
        }
        std::vector<int32_t> byName(distinct.size());
        std::iota(byName.begin(), byName.end(), 0);
        std::sort(byName.begin(), byName.end(), [&](int32_t a, int32_t b) {
            return distinct[static_cast<size_t>(a)] < distinct[static_cast<size_t>(b)];
        });
        std::vector<int32_t> rank(distinct.size());
        for (size_t i = 0; i < byName.size(); ++i)
            rank[static_cast<size_t>(byName[i])] = static_cast<int32_t>(i);
        for (int32_t& key : keys)
            key = rank[static_cast<size_t>(key)];
        sortBy(keys, std::less<int32_t>());
        return;
    }
    // A row without a value (no holding days, a trade no longer there) sorts first.
    std::vector<std::optional<double>> keys(static_cast<size_t>(count()));
    for (int row = 0; row < count(); ++row)
        if (const Trade* t = trade(row))
            keys[static_cast<size_t>(row)] = sortValue(*t, column);
    sortBy(keys, [](const std::optional<double>& x, const std::optional<double>& y) {
        return y && (!x || *x < *y);
    });
}

}  // namespace kv
