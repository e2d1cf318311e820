// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures a sweep reports for each combination, taken from the finished run, and their
// order of merit for --sort. Which figures they are, and in which column order, is the sweep's
// choice; their labels, kinds and which way is better come from the results' figure table.

#include "sim/ResultFigureTable.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Backtest;

// The number of figures a sweep reports for a run.
inline constexpr size_t kSweepFigureCount = 9;

// The figures of one run, in the sweep's column order.
struct SweepFigures {
    std::array<std::optional<double>, kSweepFigureCount> values;

    bool operator==(const SweepFigures&) const = default;
};

// The figures of the run the engine has just finished.
SweepFigures sweepFiguresOf(const Backtest& engine);

// One of the sweep's figures: its key (the column's name), its description and its column.
struct SweepFigureField {
    const char* name;
    const FigureDescription* figure;
    size_t column;
    bool smallerIsBetter;

    std::optional<double> value(const SweepFigures& f) const { return f.values[column]; }
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
