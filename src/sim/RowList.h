#pragma once
// A portfolio list as the simulation keeps it: the list box that a window shows, and beside each
// row its numbers (RowFigures), parsed once when the row entered the list. A parse depends only
// on the row's text, the stock master and the unknown profit rate, none of which change while a
// run is in progress, so it stays true for as long as the row is listed; moving a row to another
// list moves its parse.

#include "sim/ListRow.h"
#include "toolkit/ListBox.h"

#include <span>
#include <string>
#include <vector>

namespace kv {

class RowList {
public:
    int count() const { return box.count(); }
    const std::string& text(int index) const { return box.row(index); }
    const RowFigures& parsed(int index) const { return rows[static_cast<size_t>(index)]; }

    void append(std::string text, const RowFigures& parsed);
    // Removes the rows at the ascending indices in one pass.
    void removeRows(std::span<const int> ascending);
    void clear();
    // Appends every row to `to`, in order, and empties this list.
    void moveAllTo(RowList& to);

    // The rows for a view to show and to select in; the rows themselves change only through
    // this list.
    ListBox& listBox() { return box; }
    const ListBox& listBox() const { return box; }

private:
    ListBox box;
    std::vector<RowFigures> rows;
};

}  // namespace kv
