// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Removing rows at ascending indices from a vector in one pass over it, for the lists that are
// long (a day's candidates, a run's holdings, a window's list box): indices that do not exist or
// break the order are passed over, as removing a row that does not exist changes nothing.

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace kv {

// Removes rows[i] for the indices of `ascending`; returns the indices that were removed.
template <class T>
std::vector<int> removeAscending(std::vector<T>& rows, std::span<const int> ascending)
{
    std::vector<int> doomed;
    doomed.reserve(ascending.size());
    for (int index : ascending)
        if (index >= 0 && static_cast<size_t>(index) < rows.size() &&
            (doomed.empty() || index > doomed.back()))
            doomed.push_back(index);
    if (doomed.empty())
        return doomed;
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
    return doomed;
}

}  // namespace kv
