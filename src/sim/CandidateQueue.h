// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order in which the buy phase takes a day's candidates, kept in a heap so that each choice
// costs log n instead of a walk over the whole list.
//
// Lowest lot cost first: a running minimum that starts at 999999999 and moves only to a strictly
// smaller lot cost picks the cheapest row below that start, the earliest among equals; when no
// row is below it, the earliest row is taken. List order: the earliest row. Under both, a row
// whose lot cost is 0 or less can never be bought and is passed over. Taking the chosen row out
// and choosing again gives what a new walk over the remaining rows would give.

#include "settings/SimulationSettings.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace kv {

class CandidateQueue {
public:
    // lotCosts: the lot cost of each candidate, in list order.
    CandidateQueue(std::span<const int64_t> lotCosts, BuyPriority priority);

    // The list index of the candidate to try next; -1 when none is left that can be bought.
    int next() const { return heap.empty() ? -1 : heap.front().second; }
    // Takes the candidate next() named out of the choice.
    void pop();

private:
    std::vector<std::pair<int64_t, int>> heap;  // (rank, list index), smallest first
};

}  // namespace kv
