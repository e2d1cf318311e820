// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Table.h"

#include <cstddef>

namespace kv {

void Table::set(std::vector<TableColumn> columns, std::vector<std::vector<TableCell>> rows)
{
    cols = std::move(columns);
    cells = std::move(rows);
    activeRow = -1;
    if (observer)
        observer->tableChanged();
}

const TableCell& Table::cell(int row, int column) const
{
    static const TableCell empty;
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return empty;
    const std::vector<TableCell>& cellsOfRow = cells[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cellsOfRow.size())
        return empty;
    return cellsOfRow[static_cast<size_t>(column)];
}

}  // namespace kv
