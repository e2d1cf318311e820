// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures of one tally together: the six counts and the six percentages that a block of the
// statistics shows, each percentage without a value where its divisor is zero.

#include "stats/SignalTally.h"

#include <cstdint>
#include <optional>

namespace kv {

struct FigureSet {
    int32_t signalCount = 0;
    int32_t successes = 0;               // ○ and ○(結果は損失)
    int32_t successLosses = 0;           // ○(結果は損失)
    int32_t failures = 0;                // × and ×(結果は利益)
    int32_t failureProfits = 0;          // ×(結果は利益)
    int32_t unknowns = 0;                // ？
    std::optional<double> successShare;  // per cent of the signals
    std::optional<double> failureShare;
    std::optional<double> unknownShare;
    std::optional<double> successAverage;  // mean return of the successes, per cent
    std::optional<double> failureAverage;  // mean return of the failures, per cent
    std::optional<double> simpleAverage;   // mean return, every ？ earning the unknown rate
};

// The figures of t, the unknown outcomes earning unknownProfitRate.
FigureSet figureSetOf(const SignalTally& t, double unknownProfitRate);

// Adds every count and sum of `from` to `into`.
void addTally(SignalTally& into, const SignalTally& from);

}  // namespace kv
