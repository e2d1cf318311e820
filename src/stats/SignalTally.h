// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts and return sums of a group of signals by result mark. A return is
// sell price ÷ buy price − 1, held as a fraction.

#include <cstdint>

namespace kv {

struct SignalTally {
    int32_t signalCount = 0;   // every evaluated row, whatever its mark
    int32_t successCount = 0;  // ○
    double successReturnSum = 0;
    int32_t failureCount = 0;  // ×
    double failureReturnSum = 0;
    int32_t unknownCount = 0;      // ？ (no return is summed)
    int32_t successLossCount = 0;  // ○(結果は損失)
    double successLossReturnSum = 0;
    int32_t failureProfitCount = 0;  // ×(結果は利益)
    double failureProfitReturnSum = 0;
};

}  // namespace kv
