// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A portfolio list of a run — the candidates of a day, the holdings or the sell list — as typed
// positions: the signal row each came from, the lots bought, and its numbers, read once when the
// position entered the list. A position's numbers depend only on its signal row, the lots and
// the run's unknown profit rate, none of which change while it is listed; moving a position to
// another list moves its numbers.
//
// A window that shows the list follows its changes through an observer: rows appended at the
// end (announced together when appended in a batch), rows removed, the list cleared.

#include "data/ListRow.h"

#include <span>
#include <vector>

namespace kv {

struct Position {
    int signal = 0;         // index of its signal row
    double lotsBought = 0;  // lots as bought, as the list row shows them; 0 for a candidate
    RowFigures figures;     // what the run computes with
    // The purchase as the trade log's line gave it, for the trade list; 0 for a candidate.
    int32_t purchaseDate = 0;
    int32_t purchaseCommission = 0;
    double purchaseAmount = 0;
    // A 判定不可 position sold after the settings' business days: its end date is the day sold.
    bool soldAtHoldLimit = false;
};

class PositionListObserver {
public:
    virtual ~PositionListObserver() = default;
    virtual void positionsAppended(int first, int count) = 0;
    // Ascending indices, each in the list before the removal.
    virtual void positionsRemoved(std::span<const int> ascending) = 0;
    virtual void positionsCleared() = 0;
};

class PositionList {
public:
    PositionList() = default;
    PositionList(const PositionList&) = delete;
    PositionList& operator=(const PositionList&) = delete;

    int count() const { return static_cast<int>(rows.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    const Position& at(int index) const { return rows[static_cast<size_t>(index)]; }
    const RowFigures& parsed(int index) const { return at(index).figures; }

    void append(const Position& position);
    // Removes the rows at the ascending indices in one pass; indices that do not exist or break
    // the order are passed over.
    void removeRows(std::span<const int> ascending);
    void clear();
    // Appends every row to `to`, in order, and empties this list.
    void moveAllTo(PositionList& to);

    // While a batch is open, appended rows are announced once, together, when it closes.
    class AppendBatch {
    public:
        explicit AppendBatch(PositionList& list) : list(list), first(list.count()) { ++list.batchDepth; }
        ~AppendBatch();
        AppendBatch(const AppendBatch&) = delete;
        AppendBatch& operator=(const AppendBatch&) = delete;

    private:
        PositionList& list;
        int first;
    };

    // One observer at a time; nullptr detaches.
    void setObserver(PositionListObserver* o) { observer = o; }

private:
    std::vector<Position> rows;
    PositionListObserver* observer = nullptr;
    int batchDepth = 0;
};

}  // namespace kv
