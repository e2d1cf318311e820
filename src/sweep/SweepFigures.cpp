// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweep/SweepFigures.h"

#include "sim/Backtest.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kv {

namespace {

// The figures of a sweep's row, in their column order.
constexpr std::array<const char*, kSweepFigureCount> kSweepFigureKeys = {
    "finalAssets",  "totalReturnPercent", "cagrPercent", "maxDrawdownPercent",
    "profitFactor", "winRatePercent",     "trades",      "purchases",
    "sales",
};

}  // namespace

const std::vector<SweepFigureField>& sweepFigureFields()
{
    static const std::vector<SweepFigureField> fields = [] {
        std::vector<SweepFigureField> list;
        for (size_t column = 0; column < kSweepFigureKeys.size(); ++column) {
            const FigureDescription* figure = figureByKey(kSweepFigureKeys[column]);
            list.push_back({figure->key, figure, column, figure->better == FigureBetter::Smaller});
        }
        return list;
    }();
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
    const FigureInputs inputs{results, engine.results().capital(), run.purchases, run.sales};
    SweepFigures f;
    for (const SweepFigureField& field : sweepFigureFields())
        f.values[field.column] = field.figure->value(inputs);
    return f;
}

}  // namespace kv
