// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a block of totals: the simple totals over all signals, the totals of a chosen
// period and the figures of one stock all show the same thirteen fields (the stock block leaves
// out the per-day average). Counts show as plain integers, the rest as "%.2f％".

#include "stats/FigureSet.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace kv {

// The fields of a block in the order the block lists them.
enum class TotalsField {
    SuccessShare,
    Successes,
    SuccessAverage,
    SuccessLosses,
    FailureShare,
    Failures,
    FailureAverage,
    FailureProfits,
    UnknownShare,
    Unknowns,
    Signals,
    SimpleAverage,
    PerDayAverage,
};
inline constexpr size_t kTotalsFieldCount = 13;

struct TotalsText {
    std::array<std::string, kTotalsFieldCount> fields;

    std::string& operator[](TotalsField f) { return fields[static_cast<size_t>(f)]; }
    const std::string& operator[](TotalsField f) const { return fields[static_cast<size_t>(f)]; }
};

// A block of totals: every percentage without a value (and the per-day average when no day
// has a signal) shows "----".
TotalsText totalsText(const FigureSet& figures, std::optional<double> perDayAverage);

// The figures of one stock: as a block of totals without the per-day average, except that a
// stock with signals but no success (or no failure) shows its average profit on success (on
// failure) as 0.00％; a stock without signals shows "----" for every percentage.
TotalsText stockFiguresText(const FigureSet& figures);

}  // namespace kv
