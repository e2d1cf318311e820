// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/FigureSet.h"

#include "stats/TallyFigures.h"

namespace kv {

FigureSet figureSetOf(const SignalTally& t, double unknownProfitRate)
{
    FigureSet f;
    f.signalCount = t.signalCount;
    f.successes = successes(t);
    f.successLosses = t.successLossCount;
    f.failures = failures(t);
    f.failureProfits = t.failureProfitCount;
    f.unknowns = t.unknownCount;
    f.successShare = successShare(t);
    f.failureShare = failureShare(t);
    f.unknownShare = unknownShare(t);
    f.successAverage = averageProfitOnSuccess(t);
    f.failureAverage = averageProfitOnFailure(t);
    f.simpleAverage = simpleAverageProfit(t, unknownProfitRate);
    return f;
}

void addTally(SignalTally& into, const SignalTally& from)
{
    into.signalCount += from.signalCount;
    into.successCount += from.successCount;
    into.successReturnSum += from.successReturnSum;
    into.failureCount += from.failureCount;
    into.failureReturnSum += from.failureReturnSum;
    into.unknownCount += from.unknownCount;
    into.successLossCount += from.successLossCount;
    into.successLossReturnSum += from.successLossReturnSum;
    into.failureProfitCount += from.failureProfitCount;
    into.failureProfitReturnSum += from.failureProfitReturnSum;
}

}  // namespace kv
