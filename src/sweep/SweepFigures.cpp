// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/SweepFigures.h"

#include "sim/Backtest.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kv {

namespace {

template <std::optional<double> SweepFigures::*field>
std::optional<double> optionalFigure(const SweepFigures& f)
{
    return f.*field;
}

template <int64_t SweepFigures::*field>
std::optional<double> countFigure(const SweepFigures& f)
{
    return static_cast<double>(f.*field);
}

}  // namespace

const std::vector<SweepFigureField>& sweepFigureFields()
{
    static const std::vector<SweepFigureField> fields = {
        {"finalAssets", optionalFigure<&SweepFigures::finalAssets>, false},
        {"totalReturnPercent", optionalFigure<&SweepFigures::totalReturnPercent>, false},
        {"cagrPercent", optionalFigure<&SweepFigures::cagrPercent>, false},
        {"maxDrawdownPercent", optionalFigure<&SweepFigures::maxDrawdownPercent>, true},
        {"profitFactor", optionalFigure<&SweepFigures::profitFactor>, false},
        {"winRatePercent", optionalFigure<&SweepFigures::winRatePercent>, false},
        {"trades", countFigure<&SweepFigures::trades>, false},
        {"purchases", countFigure<&SweepFigures::purchases>, false},
        {"sales", countFigure<&SweepFigures::sales>, false},
    };
    return fields;
}

std::vector<std::string> sweepFigureNames()
{
    std::vector<std::string> names;
    for (const SweepFigureField& field : sweepFigureFields())
        names.emplace_back(field.name);
    return names;
}

const SweepFigureField* sweepFigureByName(const std::string& name)
{
    for (const SweepFigureField& field : sweepFigureFields()) {
        if (name == field.name)
            return &field;
    }
    return nullptr;
}

bool betterBy(const SweepFigureField& field, const SweepFigures& a, const SweepFigures& b)
{
    // A NaN has no place in an order: it sorts with the figures that have no value.
    auto orderable = [&](const SweepFigures& f) {
        std::optional<double> v = field.value(f);
        return v && std::isnan(*v) ? std::nullopt : v;
    };
    const std::optional<double> x = orderable(a);
    const std::optional<double> y = orderable(b);
    if (!x || !y)
        return x && !y;
    return field.smallerIsBetter ? *x < *y : *x > *y;
}

std::vector<size_t> rankedOrder(const SweepFigureField& field, const std::vector<SweepFigures>& figures,
                                size_t parts)
{
    std::vector<size_t> order(parts == 0 ? 0 : figures.size() / parts);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return betterBy(field, figures[a * parts], figures[b * parts]);
    });
    return order;
}

SweepFigures sweepFiguresOf(const Backtest& engine)
{
    const RunFigures& run = engine.figures();
    const ResultFigures results = engine.results().figures();
    SweepFigures f;
    f.finalAssets = results.finalAssets;
    f.totalReturnPercent = results.totalReturnPercent;
    f.cagrPercent = results.cagrPercent;
    f.maxDrawdownPercent = results.maxDrawdownPercent;
    f.profitFactor = results.profitFactor;
    f.winRatePercent = results.winRatePercent;
    f.trades = results.trades;
    f.purchases = run.purchases;
    f.sales = run.sales;
    return f;
}

}  // namespace kv
