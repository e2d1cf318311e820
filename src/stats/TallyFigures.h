// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures derived from the signal tallies, as percentages. A figure whose divisor is zero
// has no value (shown as "----"). The profit rate of unknown outcomes is passed in each time,
// so a changed setting changes the figures without reloading anything.

#include "stats/SignalTally.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kv {

// Rows marked ○ or ○(結果は損失), and rows marked × or ×(結果は利益).
int32_t successes(const SignalTally& t);
int32_t failures(const SignalTally& t);

// Shares of all counted rows, in per cent.
std::optional<double> successShare(const SignalTally& t);
std::optional<double> failureShare(const SignalTally& t);
std::optional<double> unknownShare(const SignalTally& t);

// Mean return of the successes / of the failures, in per cent.
std::optional<double> averageProfitOnSuccess(const SignalTally& t);
std::optional<double> averageProfitOnFailure(const SignalTally& t);

// Mean return of all counted rows, every "？" row counting as unknownProfitRate, as a fraction
// (the value the profit-rate rankings compare) and in per cent.
std::optional<double> simpleAverageReturn(const SignalTally& t, double unknownProfitRate);
std::optional<double> simpleAverageProfit(const SignalTally& t, double unknownProfitRate);

// Mean over the date slots that counted any row of each slot's simple average, in per cent:
// every day weighs the same, whatever its number of signals.
std::optional<double> perDayAverageProfit(std::span<const SignalTally> byDate, double unknownProfitRate);

// "%.2f％" (code page 932, halves away from zero), or "----" without a value.
std::string percentText(std::optional<double> percent);

}  // namespace kv
