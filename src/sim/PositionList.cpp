#include "sim/PositionList.h"

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
    std::vector<int> doomed;
    doomed.reserve(ascending.size());
    for (int index : ascending)
        if (contains(index) && (doomed.empty() || index > doomed.back()))
            doomed.push_back(index);
    if (doomed.empty())
        return;
    size_t next = 0;
    size_t kept = static_cast<size_t>(doomed.front());
    for (size_t i = kept; i < rows.size(); ++i) {
        if (next < doomed.size() && static_cast<size_t>(doomed[next]) == i) {
            ++next;
            continue;
        }
        rows[kept++] = rows[i];
    }
    rows.resize(kept);
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
