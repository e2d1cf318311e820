// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Heatmap.h"

#include <cstddef>

namespace kv {

void Heatmap::set(std::string title, std::vector<std::string> rowHeadings,
                  std::vector<std::string> columnHeadings, std::vector<HeatmapCell> cells, int outlinedRow,
                  int outlinedColumn, std::vector<HeatmapLegendStep> legend)
{
    heading = std::move(title);
    rows = std::move(rowHeadings);
    columns = std::move(columnHeadings);
    grid = std::move(cells);
    scale = std::move(legend);
    outlineRow = outlinedRow;
    outlineColumn = outlinedColumn;
    activeRow = -1;
    activeColumn = -1;
    if (observer)
        observer->heatmapChanged();
}

const HeatmapCell& Heatmap::cell(int row, int column) const
{
    static const HeatmapCell empty;
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return empty;
    size_t index = static_cast<size_t>(row) * columns.size() + static_cast<size_t>(column);
    return index < grid.size() ? grid[index] : empty;
}

bool Heatmap::outlined(int row, int column) const
{
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount() && row == outlineRow &&
        column == outlineColumn;
}

void Heatmap::activate(int row, int column)
{
    bool inside = row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    activeRow = inside ? row : -1;
    activeColumn = inside ? column : -1;
}

}  // namespace kv
