// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Qt table model over a kv::Table: headings, cell texts, right-aligned number columns, and the
// colours of gains (green) and losses (red). It follows the table when it is replaced.

#include "toolkit/Table.h"

#include <QAbstractTableModel>

#include <functional>

namespace kv {

class TableModel : public QAbstractTableModel, public TableObserver {
public:
    TableModel(Table& table, QObject* parent);
    ~TableModel() override;

    Table& table() const { return *data_; }
    // Shows another table from now on; the old one is no longer observed.
    void setTable(Table& table);

    // Called after the table has been replaced (the view sets its column widths again).
    void setAfterChange(std::function<void()> hook) { afterChange = std::move(hook); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void tableChanged() override;

private:
    Table* data_;
    std::function<void()> afterChange;
};

}  // namespace kv
