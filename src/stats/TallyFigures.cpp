// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/TallyFigures.h"

#include <cmath>

#include "text/Cp932.h"
#include "text/Format.h"

namespace kv {

namespace {

std::optional<double> percentOf(double numerator, int32_t divisor)
{
    if (divisor == 0)
        return std::nullopt;
    return numerator / divisor * 100;
}

double returnSumWithUnknowns(const SignalTally& t, double unknownProfitRate)
{
    return t.successReturnSum + t.successLossReturnSum + t.failureReturnSum + t.failureProfitReturnSum +
        t.unknownCount * unknownProfitRate;
}

}  // namespace

int32_t successes(const SignalTally& t)
{
    return t.successCount + t.successLossCount;
}

int32_t failures(const SignalTally& t)
{
    return t.failureCount + t.failureProfitCount;
}

std::optional<double> successShare(const SignalTally& t)
{
    return percentOf(successes(t), t.signalCount);
}

std::optional<double> failureShare(const SignalTally& t)
{
    return percentOf(failures(t), t.signalCount);
}

std::optional<double> unknownShare(const SignalTally& t)
{
    return percentOf(t.unknownCount, t.signalCount);
}

std::optional<double> averageProfitOnSuccess(const SignalTally& t)
{
    return percentOf(t.successReturnSum + t.successLossReturnSum, successes(t));
}

std::optional<double> averageProfitOnFailure(const SignalTally& t)
{
    return percentOf(t.failureReturnSum + t.failureProfitReturnSum, failures(t));
}

std::optional<double> simpleAverageReturn(const SignalTally& t, double unknownProfitRate)
{
    if (t.signalCount == 0)
        return std::nullopt;
    return returnSumWithUnknowns(t, unknownProfitRate) / t.signalCount;
}

// The fraction times 100: the same operations, in the same order, as every other percentage.
std::optional<double> simpleAverageProfit(const SignalTally& t, double unknownProfitRate)
{
    std::optional<double> fraction = simpleAverageReturn(t, unknownProfitRate);
    if (!fraction)
        return std::nullopt;
    return *fraction * 100;
}

std::optional<double> perDayAverageProfit(std::span<const SignalTally> byDate, double unknownProfitRate)
{
    double sum = 0;
    int32_t days = 0;
    for (const SignalTally& day : byDate) {
        if (day.signalCount == 0)
            continue;
        sum += returnSumWithUnknowns(day, unknownProfitRate) / day.signalCount;
        ++days;
    }
    return percentOf(sum, days);
}

std::string percentText(std::optional<double> percent)
{
    static const std::string percentFormat = toCp932("%.2f％");
    static const std::string noValue = "----";
    if (!percent || !std::isfinite(*percent))
        return noValue;
    return format(percentFormat, {*percent});
}

}  // namespace kv
