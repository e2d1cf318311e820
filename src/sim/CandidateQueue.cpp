// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/CandidateQueue.h"

#include <algorithm>
#include <functional>

namespace kv {

namespace {

// The running minimum of lot costs starts here; a lot cost at or above it never becomes the
// minimum, so all such rows rank alike and the earliest of them wins.
constexpr int64_t kNoLotCostBelow = 999999999;

}  // namespace

CandidateQueue::CandidateQueue(std::span<const int64_t> lotCosts, BuyPriority priority)
{
    heap.reserve(lotCosts.size());
    for (size_t i = 0; i < lotCosts.size(); ++i) {
        const int64_t lotCost = lotCosts[i];
        if (lotCost <= 0)
            continue;
        const int64_t rank = priority == BuyPriority::ListOrder ? 0 : std::min(lotCost, kNoLotCostBelow);
        heap.emplace_back(rank, static_cast<int>(i));
    }
    std::make_heap(heap.begin(), heap.end(), std::greater<>());
}

void CandidateQueue::pop()
{
    if (heap.empty())
        return;
    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
    heap.pop_back();
}

}  // namespace kv
