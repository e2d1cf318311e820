// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only table as data: column headings and rows of cells, each cell a code page 932 text
// with a tone (a gain or a loss shows in its colour). The rows are held by the table, or read
// on demand from a source that keeps them elsewhere (a long list is then shown without a copy
// of its texts). A sortable table shows its rows in the order of one column, which the user
// chooses by clicking its heading. A view observes the table and shows it again when it is
// replaced or sorted.

#include <cstdint>
#include <optional>
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
    // What the cell sorts by: this number when it has one (an amount, a date as yyyymmdd),
    // otherwise its text byte by byte. A cell without a number sorts before every number.
    std::optional<double> key = std::nullopt;
};

struct TableColumn {
    std::string heading;        // code page 932
    int width = 40;             // dialog units
    bool rightAligned = false;  // numbers
};

// Rows a table shows without holding them.
class TableRows {
public:
    virtual ~TableRows() = default;
    virtual int count() const = 0;
    // The cell at (row, column) of a row that exists; its key need only be set where lessThan
    // is not overridden.
    virtual TableCell cell(int row, int column) const = 0;
    // Whether row a sorts before row b in `column`, ascending. The default compares the cells
    // as TableCell::key describes.
    virtual bool lessThan(int a, int b, int column) const;
    // Puts the row indices of `order` in the order of `column`, stably (equal rows keep their
    // order). The default sorts with lessThan; a source of many rows sorts by its values.
    virtual void sortRows(std::vector<int32_t>& order, int column, bool ascending) const;
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
    // there are columns leaves the rest empty; cells beyond the columns are not shown. A sorted
    // table keeps its sort column and direction and sorts the new rows.
    void set(std::vector<TableColumn> columns, std::vector<std::vector<TableCell>> rows);
    // The same with the rows of `source`, which must outlive their showing (until the next set).
    void set(std::vector<TableColumn> columns, const TableRows& source);

    const std::vector<TableColumn>& columns() const { return cols; }
    int rowCount() const;
    int columnCount() const { return static_cast<int>(cols.size()); }
    // The cell at (row, column), rows counted as shown (sorted); an empty plain cell outside
    // the table.
    TableCell cell(int row, int column) const;
    // The index, in the rows as set, of the row shown at `row`; -1 outside the table.
    int rowAsSet(int row) const;

    // Whether a click on a heading sorts the rows (off unless the dialog turns it on).
    void setSortable(bool on) { canSort = on; }
    bool sortable() const { return canSort; }
    // Shows the rows sorted by `column` (stable: equal cells keep their order as set); the
    // observer hears of it once. Nothing happens for a table that is not sortable or a column
    // that does not exist.
    void sort(int column, bool ascending);
    // A click on the heading of `column`: ascending, or the other way round when the rows are
    // already sorted by that column.
    void headingClicked(int column);
    int sortColumn() const { return sortedBy; }  // -1: the rows as set
    bool sortAscending() const { return ascending; }

    // The row the user double-clicked last, as an index into the rows as set; the view passes
    // the row as shown and sets it before it tells the dialog with DoubleClicked. -1 before
    // any, and after set().
    void activate(int row) { activeRow = rowAsSet(row); }
    int activatedRow() const { return activeRow; }

    // One observer at a time (the view showing the table); nullptr detaches.
    void setObserver(TableObserver* o) { observer = o; }
    TableObserver* currentObserver() const { return observer; }

private:
    // The rows held by the table, seen as a source.
    class HeldRows : public TableRows {
    public:
        explicit HeldRows(const Table& table) : table(table) {}
        int count() const override { return static_cast<int>(table.cells.size()); }
        TableCell cell(int row, int column) const override;

    private:
        const Table& table;
    };

    const TableRows& rows() const { return source ? *source : held; }
    void applySort();
    void changed();

    std::vector<TableColumn> cols;
    std::vector<std::vector<TableCell>> cells;
    HeldRows held{*this};
    const TableRows* source = nullptr;
    std::vector<int32_t> order;  // rows as shown → rows as set; empty when unsorted
    bool canSort = false;
    int sortedBy = -1;
    bool ascending = true;
    int activeRow = -1;
    TableObserver* observer = nullptr;
};

}  // namespace kv
