// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Table.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace kv {

bool TableRows::lessThan(int a, int b, int column) const
{
    const TableCell first = cell(a, column);
    const TableCell second = cell(b, column);
    if (first.key || second.key) {
        if (!first.key || !second.key)
            return !first.key;
        return *first.key < *second.key;
    }
    return first.text < second.text;
}

void TableRows::sortRows(std::vector<int32_t>& order, int column, bool ascending) const
{
    if (ascending)
        std::stable_sort(order.begin(), order.end(),
                         [&](int32_t a, int32_t b) { return lessThan(a, b, column); });
    else
        std::stable_sort(order.begin(), order.end(),
                         [&](int32_t a, int32_t b) { return lessThan(b, a, column); });
}

TableCell Table::HeldRows::cell(int row, int column) const
{
    const std::vector<TableCell>& cellsOfRow = table.cells[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cellsOfRow.size())
        return {};
    return cellsOfRow[static_cast<size_t>(column)];
}

void Table::set(std::vector<TableColumn> columns, std::vector<std::vector<TableCell>> rows)
{
    cols = std::move(columns);
    cells = std::move(rows);
    source = nullptr;
    activeRow = -1;
    applySort();
    changed();
}

void Table::set(std::vector<TableColumn> columns, const TableRows& rowSource)
{
    cols = std::move(columns);
    cells.clear();
    source = &rowSource;
    activeRow = -1;
    applySort();
    changed();
}

int Table::rowCount() const
{
    return rows().count();
}

int Table::rowAsSet(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return order.empty() ? row : order[static_cast<size_t>(row)];
}

TableCell Table::cell(int row, int column) const
{
    const int index = rowAsSet(row);
    if (index < 0 || column < 0 || column >= columnCount())
        return {};
    return rows().cell(index, column);
}

void Table::sort(int column, bool up)
{
    if (!canSort || column < 0 || column >= columnCount())
        return;
    sortedBy = column;
    ascending = up;
    activeRow = -1;
    applySort();
    changed();
}

void Table::headingClicked(int column)
{
    sort(column, !(sortedBy == column && ascending));
}

void Table::applySort()
{
    order.clear();
    if (sortedBy < 0 || sortedBy >= columnCount())
        return;
    order.resize(static_cast<size_t>(rows().count()));
    std::iota(order.begin(), order.end(), 0);
    rows().sortRows(order, sortedBy, ascending);
}

void Table::changed()
{
    if (observer)
        observer->tableChanged();
}

}  // namespace kv
