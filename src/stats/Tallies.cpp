// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/Tallies.h"

#include "text/Cp932.h"
#include "text/Numbers.h"

#include <algorithm>
#include <string>

namespace kv {

namespace {

const std::string& successLossMark()
{
    static const std::string mark = toCp932("○(結果は損失)");
    return mark;
}

const std::string& failureProfitMark()
{
    static const std::string mark = toCp932("×(結果は利益)");
    return mark;
}

// Which count and which sum a result mark feeds; both null for an unknown mark, the sum alone
// null for "？".
struct Bucket {
    int32_t SignalTally::*count = nullptr;
    double SignalTally::*sum = nullptr;
};

Bucket bucketOf(std::string_view mark)
{
    if (mark == kMarkSuccess)
        return {&SignalTally::successCount, &SignalTally::successReturnSum};
    if (mark == kMarkFailure)
        return {&SignalTally::failureCount, &SignalTally::failureReturnSum};
    if (mark == kMarkUnknown)
        return {&SignalTally::unknownCount, nullptr};
    if (mark == successLossMark())
        return {&SignalTally::successLossCount, &SignalTally::successLossReturnSum};
    if (mark == failureProfitMark())
        return {&SignalTally::failureProfitCount, &SignalTally::failureProfitReturnSum};
    return {};
}

void add(SignalTally& tally, const Bucket& bucket, double r)
{
    ++tally.signalCount;
    if (bucket.count)
        ++(tally.*bucket.count);
    if (bucket.sum)
        tally.*bucket.sum += r;
}

}  // namespace

void resetTallies(const TallyTables& tables)
{
    tables.overall = SignalTally{};
    std::fill(tables.byStock.begin(), tables.byStock.end(), SignalTally{});
    std::fill(tables.byDate.begin(), tables.byDate.end(), SignalTally{});
}

void tallyRow(const TallyTables& tables, int32_t code, int32_t slot, std::string_view resultMark,
              std::string_view buyPrice, std::string_view sellPrice)
{
    Bucket bucket = bucketOf(resultMark);
    double r = 0;
    if (bucket.sum) {
        int32_t buy = leadingInt(buyPrice);
        if (buy != 0)
            r = static_cast<double>(leadingInt(sellPrice)) / buy - 1;
    }
    add(tables.overall, bucket, r);
    add(tables.byStock[static_cast<size_t>(code)], bucket, r);
    add(tables.byDate[static_cast<size_t>(slot)], bucket, r);
}

}  // namespace kv
