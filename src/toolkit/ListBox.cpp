// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/ListBox.h"

#include "text/AscendingRemoval.h"

#include <algorithm>

namespace kv {

bool ListBox::copyRow(int index, std::string& out) const
{
    if (!contains(index))
        return false;
    out.assign(row(index));
    return true;
}

void ListBox::showRows(const ListRows& rowSource)
{
    clear();
    source = &rowSource;
    if (observer && count() > 0)
        observer->rowsInserted(0, count());
}

void ListBox::append(std::string text)
{
    if (source)
        return;
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
    if (source || !contains(index))
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
    if (source)
        return;
    const std::vector<int> doomed = removeAscending(rows, ascending);
    if (doomed.empty())
        return;
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
    source = nullptr;
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
