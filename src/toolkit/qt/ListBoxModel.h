// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt item model over a kv::ListBox: it shows the rows where they are and follows the box's
// appends, removals and clears, so a list of a quarter of a million rows costs no widget items.
// A row is one cell, or, for a list given columns, one cell per field: the row's words between
// ASCII blanks (a name or a performance text holds full-width blanks only). The rows stay the
// box's whole texts; only the view splits them.

#include "toolkit/DialogTemplate.h"
#include "toolkit/ListBox.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace kv {

class ListBoxModel : public QAbstractTableModel, public ListObserver {
public:
    ListBoxModel(ListBox& rows, QObject* parent);
    ~ListBoxModel() override;

    ListBox& rows() const { return *box; }
    // Shows other rows from now on; the old box is no longer observed.
    void setRows(ListBox& rows);
    // Shows every row as the fields under these headings; set before a view shows the model.
    void setColumns(std::vector<ListColumn> columns);

    // Called after every change of rows or selection; true when the program chose a selection
    // that should be scrolled into view.
    void setAfterChange(std::function<void(bool scroll)> hook) { afterChange = std::move(hook); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void rowsInserted(int first, int count) override;
    void rowRemoved(int index) override;
    void rowsCleared() override;
    void selectionSet(int index) override;

private:
    void changed(bool scroll);
    QString cellText(int row, int column) const;

    ListBox* box;
    // Rows announced to Qt. Rows appended inside an open append batch exist in the box before
    // they are announced, and Qt must not see them until then.
    int shown = 0;
    std::vector<ListColumn> columns;  // none: a row is one cell
    std::function<void(bool)> afterChange;
};

}  // namespace kv
