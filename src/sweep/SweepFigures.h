// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures a sweep reports for each combination, taken from the finished run, and their
// order of merit for --sort.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Backtest;

struct SweepFigures {
    std::optional<double> finalAssets;
    std::optional<double> totalReturnPercent;
    std::optional<double> cagrPercent;
    std::optional<double> maxDrawdownPercent;
    std::optional<double> profitFactor;
    std::optional<double> winRatePercent;
    int64_t trades = 0;
    int64_t purchases = 0;
    int64_t sales = 0;

    bool operator==(const SweepFigures&) const = default;
};

// The figures of the run the engine has just finished.
SweepFigures sweepFiguresOf(const Backtest& engine);

// One figure by name, as a number (nothing: the figure has no value).
struct SweepFigureField {
    const char* name;
    std::optional<double> (*value)(const SweepFigures&);
    bool smallerIsBetter;
};

// The figures in their column order.
const std::vector<SweepFigureField>& sweepFigureFields();
std::vector<std::string> sweepFigureNames();
const SweepFigureField* sweepFigureByName(const std::string& name);

// True when `a` comes before `b` by `field`, best first and figures without a value last; equal
// figures keep their order (use with a stable sort).
bool betterBy(const SweepFigureField& field, const SweepFigures& a, const SweepFigures& b);

// The combinations of `figures` (`parts` entries each) best first by `field` in their first part,
// ties in the order given: the indices of their first entries divided by `parts`.
std::vector<size_t> rankedOrder(const SweepFigureField& field, const std::vector<SweepFigures>& figures,
                                size_t parts);

}  // namespace kv
