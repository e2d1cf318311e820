#include "sim/RowList.h"

namespace kv {

void RowList::append(std::string text, const RowFigures& parsed)
{
    rows.push_back(parsed);
    box.append(std::move(text));
}

void RowList::removeRows(std::span<const int> ascending)
{
    if (ascending.empty())
        return;
    std::vector<int> doomed;
    doomed.reserve(ascending.size());
    for (int index : ascending)
        if (box.contains(index) && (doomed.empty() || index > doomed.back()))
            doomed.push_back(index);
    size_t next = 0;
    size_t kept = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (next < doomed.size() && static_cast<size_t>(doomed[next]) == i) {
            ++next;
            continue;
        }
        if (kept != i)
            rows[kept] = rows[i];
        ++kept;
    }
    rows.resize(kept);
    box.removeRows(doomed);
}

void RowList::clear()
{
    rows.clear();
    box.clear();
}

void RowList::moveAllTo(RowList& to)
{
    {
        ListBox::AppendBatch batch(to.box);
        to.rows.reserve(to.rows.size() + rows.size());
        for (int i = 0; i < count(); ++i)
            to.append(box.row(i), rows[static_cast<size_t>(i)]);
    }
    clear();
}

}  // namespace kv
