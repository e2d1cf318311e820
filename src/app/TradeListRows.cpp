// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TradeListRows.h"

#include "data/SignalRows.h"
#include "sim/TradeColumns.h"
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

// A trade's value as the table rounds it: amounts and counts as the trade log rounds them, a
// rate exact. The sums add these up, and a cell's tone follows them.
double asShown(TradeColumnKind kind, double value)
{
    static_assert(tradeAmountDecimals == 0);
    return kind == TradeColumnKind::Shares || kind == TradeColumnKind::Yen ? std::round(value) : value;
}

CellTone toneOf(double value)
{
    return value > 0 ? CellTone::Gain : value < 0 ? CellTone::Loss : CellTone::Plain;
}

// A value as the table writes it, in a cell or in the sums line.
std::string cellText(TradeColumnKind kind, double value)
{
    switch (kind) {
    case TradeColumnKind::Code:
        return std::to_string(static_cast<int64_t>(value));
    case TradeColumnKind::Date:
        return paddedDateText(static_cast<int32_t>(value));
    case TradeColumnKind::Days:
        return groupedText(value, 0);
    case TradeColumnKind::Shares:
        return groupedText(value, tradeAmountDecimals);
    case TradeColumnKind::Yen:
        static_assert(tradeAmountDecimals == 0);  // as yenText shows an amount
        return yenText(value);
    case TradeColumnKind::Rate:
        static_assert(tradeRateDecimals == 2);  // as signedPercentText shows a rate
        return signedPercentText(value);
    case TradeColumnKind::Ending:
        return tradeEndingText(value);
    case TradeColumnKind::Name:
        break;
    }
    return {};
}

const TradeColumn* columnAt(int column)
{
    const std::span<const TradeColumn> all = tradeColumns();
    return column >= 0 && static_cast<size_t>(column) < all.size() ? &all[static_cast<size_t>(column)]
                                                                   : nullptr;
}

bool isNameColumn(int column)
{
    const TradeColumn* c = columnAt(column);
    return c && c->kind == TradeColumnKind::Name;
}

// The value a column sorts by; none for a trade without one (no holding days).
std::optional<double> sortValue(const Trade& t, int column)
{
    const TradeColumn* c = columnAt(column);
    return c && c->value ? c->value(t) : std::nullopt;
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

std::vector<double> TradeListRows::sums() const
{
    const std::span<const TradeColumn> all = tradeColumns();
    std::vector<double> s(all.size());
    for (int row = 0; row < count(); ++row) {
        const Trade* t = trade(row);
        if (!t)
            continue;
        for (size_t c = 0; c < all.size(); ++c)
            if (all[c].summed)
                if (std::optional<double> value = all[c].value(*t))
                    s[c] += asShown(all[c].kind, *value);
    }
    return s;
}

std::string TradeListRows::sumsText() const
{
    const std::span<const TradeColumn> all = tradeColumns();
    const std::vector<double> s = sums();
    std::string text = toCp932("合計");
    for (size_t c = 0; c < all.size(); ++c)
        if (all[c].summed)
            text += toCp932("　") + toCp932(all[c].heading) + ' ' + cellText(all[c].kind, s[c]);
    return text;
}

std::vector<TableColumn> TradeListRows::columns()
{
    std::vector<TableColumn> cols;
    for (const TradeColumn& column : tradeColumns())
        cols.push_back({toCp932(column.heading), column.width, !isTextColumn(column.kind)});
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
    const TradeColumn* c = columnAt(column);
    if (!c)
        return {};
    if (c->kind == TradeColumnKind::Name)
        return {std::string(name(*found))};
    const std::optional<double> value = c->value(*found);
    if (!value)
        return {};
    TableCell shown{cellText(c->kind, *value)};
    if (c->toned)
        shown.tone = toneOf(asShown(c->kind, *value));
    return shown;
}

bool TradeListRows::lessThan(int a, int b, int column) const
{
    const Trade* first = trade(a);
    const Trade* second = trade(b);
    if (!first || !second)
        return !first && second;
    if (isNameColumn(column))
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
    if (isNameColumn(column)) {
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
