// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PositionList.h"

#include "text/AscendingRemoval.h"

namespace kv {

void PositionList::append(const Position& position)
{
    rows.push_back(position);
    if (observer && batchDepth == 0)
        observer->positionsAppended(count() - 1, 1);
}

PositionList::AppendBatch::~AppendBatch()
{
    if (--list.batchDepth == 0 && list.observer && list.count() > first)
        list.observer->positionsAppended(first, list.count() - first);
}

void PositionList::removeRows(std::span<const int> ascending)
{
    const std::vector<int> doomed = removeAscending(rows, ascending);
    if (doomed.empty())
        return;
    if (observer)
        observer->positionsRemoved(doomed);
}

void PositionList::clear()
{
    rows.clear();
    if (observer)
        observer->positionsCleared();
}

void PositionList::moveAllTo(PositionList& to)
{
    {
        AppendBatch batch(to);
        to.rows.reserve(to.rows.size() + rows.size());
        for (const Position& position : rows)
            to.append(position);
    }
    clear();
}

}  // namespace kv
