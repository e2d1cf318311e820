// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt list model over a kv::ListBox: it shows the rows where they are and follows the box's
// appends, removals and clears, so a list of a quarter of a million rows costs no widget items.

#include "toolkit/ListBox.h"

#include <QAbstractListModel>

#include <functional>

namespace kv {

class ListBoxModel : public QAbstractListModel, public ListObserver {
public:
    ListBoxModel(ListBox& rows, QObject* parent);
    ~ListBoxModel() override;

    ListBox& rows() const { return *box; }
    // Shows other rows from now on; the old box is no longer observed.
    void setRows(ListBox& rows);

    // Called after every change of rows or selection; true when the program chose a selection
    // that should be scrolled into view.
    void setAfterChange(std::function<void(bool scroll)> hook) { afterChange = std::move(hook); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void rowsInserted(int first, int count) override;
    void rowRemoved(int index) override;
    void rowsCleared() override;
    void selectionSet(int index) override;

private:
    void changed(bool scroll);

    ListBox* box;
    // Rows announced to Qt. Rows appended inside an open append batch exist in the box before
    // they are announced, and Qt must not see them until then.
    int shown = 0;
    std::function<void(bool)> afterChange;
};

}  // namespace kv
