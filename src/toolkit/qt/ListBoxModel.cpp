// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/ListBoxModel.h"

#include "text/Cp932.h"

namespace kv {

namespace {

QString oneLine(std::string_view cp932)
{
    QString text = QString::fromStdString(toDisplayUtf8(cp932));
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

}  // namespace

ListBoxModel::ListBoxModel(ListBox& rows, QObject* parent)
    : QAbstractListModel(parent), box(&rows), shown(rows.count())
{
    box->setObserver(this);
}

ListBoxModel::~ListBoxModel()
{
    if (box->currentObserver() == this)
        box->setObserver(nullptr);
}

void ListBoxModel::setRows(ListBox& rows)
{
    if (&rows == box)
        return;
    beginResetModel();
    if (box->currentObserver() == this)
        box->setObserver(nullptr);
    box = &rows;
    box->setObserver(this);
    shown = box->count();
    endResetModel();
    changed(true);
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown || !box->contains(index.row()))
        return {};
    return oneLine(box->row(index.row()));
}

void ListBoxModel::rowsInserted(int, int)
{
    // Announce whatever the box holds beyond what Qt knows, which stays right even when a row
    // was removed while an append batch was open.
    int total = box->count();
    if (total > shown) {
        beginInsertRows(QModelIndex(), shown, total - 1);
        shown = total;
        endInsertRows();
    }
    changed(false);
}

void ListBoxModel::rowRemoved(int index)
{
    if (index >= 0 && index < shown) {
        beginRemoveRows(QModelIndex(), index, index);
        --shown;
        endRemoveRows();
    }
    changed(false);
}

void ListBoxModel::rowsCleared()
{
    beginResetModel();
    shown = 0;
    endResetModel();
    changed(false);
}

void ListBoxModel::selectionSet(int)
{
    changed(true);
}

void ListBoxModel::changed(bool scroll)
{
    if (afterChange)
        afterChange(scroll);
}

}  // namespace kv
