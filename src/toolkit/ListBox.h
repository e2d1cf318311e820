// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list box as data: its rows (code page 932 texts, unsorted, in insertion order) and its
// selection live here, whether or not a window shows them. A view observes the changes. A long
// read-only list kept elsewhere (the loaded signals) is shown without a copy: the list box then
// reads its rows from that source.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class ListObserver {
public:
    virtual ~ListObserver() = default;
    virtual void rowsInserted(int first, int count) = 0;  // appended at the end
    virtual void rowRemoved(int index) = 0;
    virtual void rowsCleared() = 0;
    virtual void selectionSet(int index) = 0;  // set by the program, not the user
};

// Rows a list box shows without holding them.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual int count() const = 0;
    virtual std::string_view row(int index) const = 0;
};

class ListBox {
public:
    ListBox() = default;
    ListBox(const ListBox&) = delete;
    ListBox& operator=(const ListBox&) = delete;

    int count() const { return source ? source->count() : static_cast<int>(rows.size()); }
    std::string_view row(int index) const
    {
        return source ? source->row(index) : std::string_view(rows[static_cast<size_t>(index)]);
    }
    bool contains(int index) const { return index >= 0 && index < count(); }

    // Copies row `index` into out; an index that does not exist leaves out unchanged.
    bool copyRow(int index, std::string& out) const;

    // Shows the rows of `rowSource` (which must outlive the showing) in place of rows of its own,
    // until clear(); meanwhile the list takes no rows of its own (append and removals do nothing).
    // The selection is cleared and a view is told of the new rows.
    void showRows(const ListRows& rowSource);

    void append(std::string text);
    void remove(int index);  // an index that does not exist changes nothing
    // Removes the rows at the `ascending` indices in one pass over the list; the selection and
    // the observer's notices are as if they were removed one by one from the highest down.
    void removeRows(std::span<const int> ascending);
    void clear();
    void reserve(size_t rowCount) { rows.reserve(rowCount); }

    int selection() const { return selected; }                                 // -1: none
    void setSelection(int index);                                              // program's choice; -1 clears
    void userSelected(int index) { selected = contains(index) ? index : -1; }  // from a view

    // While a batch is open, appended rows are announced once, together, when it closes.
    class AppendBatch {
    public:
        explicit AppendBatch(ListBox& box) : box(box), first(box.count()) { ++box.batchDepth; }
        ~AppendBatch();
        AppendBatch(const AppendBatch&) = delete;
        AppendBatch& operator=(const AppendBatch&) = delete;

    private:
        ListBox& box;
        int first;
    };

    // One observer at a time (the view showing the list); nullptr detaches.
    void setObserver(ListObserver* o) { observer = o; }
    ListObserver* currentObserver() const { return observer; }

private:
    std::vector<std::string> rows;
    const ListRows* source = nullptr;
    int selected = -1;
    ListObserver* observer = nullptr;
    int batchDepth = 0;
};

// A drop-down list: rows and a selection, like a list box.
class ComboBox : public ListBox {};

}  // namespace kv
