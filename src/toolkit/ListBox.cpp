#include "toolkit/ListBox.h"

#include <algorithm>

namespace kv {

bool ListBox::copyRow(int index, std::string& out) const
{
    if (!contains(index))
        return false;
    out = rows[static_cast<size_t>(index)];
    return true;
}

void ListBox::append(std::string text)
{
    rows.push_back(std::move(text));
    if (observer && batchDepth == 0)
        observer->rowsInserted(count() - 1, 1);
}

ListBox::AppendBatch::~AppendBatch()
{
    if (--box.batchDepth == 0 && box.observer && box.count() > first)
        box.observer->rowsInserted(first, box.count() - first);
}

void ListBox::remove(int index)
{
    if (!contains(index))
        return;
    rows.erase(rows.begin() + index);
    if (selected == index)
        selected = -1;
    else if (selected > index)
        --selected;
    if (observer)
        observer->rowRemoved(index);
}

void ListBox::removeRows(std::span<const int> ascending)
{
    // Indices that do not exist or break the order are passed over, as remove() passes over a
    // row that does not exist.
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
        rows[kept++] = std::move(rows[i]);
    }
    rows.resize(kept);

    if (selected >= 0) {
        auto below = std::lower_bound(doomed.begin(), doomed.end(), selected);
        if (below != doomed.end() && *below == selected)
            selected = -1;
        else
            selected -= static_cast<int>(below - doomed.begin());
    }
    if (observer)
        for (auto index = doomed.rbegin(); index != doomed.rend(); ++index)
            observer->rowRemoved(*index);
}

void ListBox::clear()
{
    rows.clear();
    selected = -1;
    if (observer)
        observer->rowsCleared();
}

void ListBox::setSelection(int index)
{
    selected = contains(index) ? index : -1;
    if (observer)
        observer->selectionSet(selected);
}

}  // namespace kv
