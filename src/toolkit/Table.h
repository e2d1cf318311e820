// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only table as data: column headings and rows of cells, each cell a code page 932 text
// with a tone (a gain or a loss shows in its colour). A view observes the table and shows it
// again when it is replaced.

#include <string>
#include <vector>

namespace kv {

enum class CellTone {
    Plain,
    Gain,  // shown green
    Loss,  // shown red
};

struct TableCell {
    std::string text;
    CellTone tone = CellTone::Plain;
};

struct TableColumn {
    std::string heading;        // code page 932
    int width = 40;             // dialog units
    bool rightAligned = false;  // numbers
};

class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void tableChanged() = 0;
};

class Table {
public:
    Table() = default;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Replaces columns and rows; the observer hears of it once. A row with fewer cells than
    // there are columns leaves the rest empty; cells beyond the columns are not shown.
    void set(std::vector<TableColumn> columns, std::vector<std::vector<TableCell>> rows);

    const std::vector<TableColumn>& columns() const { return cols; }
    int rowCount() const { return static_cast<int>(cells.size()); }
    int columnCount() const { return static_cast<int>(cols.size()); }
    // The cell at (row, column); an empty plain cell outside the table.
    const TableCell& cell(int row, int column) const;

    // The row the user double-clicked last, as an index into the rows as set; the view sets it
    // before it tells the dialog with DoubleClicked. -1 before any, and after set().
    void activate(int row) { activeRow = row >= 0 && row < rowCount() ? row : -1; }
    int activatedRow() const { return activeRow; }

    // One observer at a time (the view showing the table); nullptr detaches.
    void setObserver(TableObserver* o) { observer = o; }
    TableObserver* currentObserver() const { return observer; }

private:
    std::vector<TableColumn> cols;
    std::vector<std::vector<TableCell>> cells;
    int activeRow = -1;
    TableObserver* observer = nullptr;
};

}  // namespace kv
