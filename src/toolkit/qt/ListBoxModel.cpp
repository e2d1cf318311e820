// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/ListBoxModel.h"

#include "text/Cp932.h"

#include <algorithm>
#include <string_view>

namespace kv {

namespace {

QString oneLine(std::string_view cp932)
{
    QString text = QString::fromStdString(toDisplayUtf8(cp932));
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

// Field `column` of a row: its words between single ASCII blanks, the last column taking the
// rest of the row so that no word goes missing. A second byte of a code page 932 character is
// never a blank, so the row is split on its bytes.
std::string_view field(std::string_view row, int column, int columnCount)
{
    size_t begin = 0;
    for (int c = 0; c < column; ++c) {
        size_t blank = row.find(' ', begin);
        if (blank == std::string_view::npos)
            return {};
        begin = blank + 1;
    }
    if (column == columnCount - 1)
        return row.substr(begin);
    size_t end = row.find(' ', begin);
    return row.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

}  // namespace

ListBoxModel::ListBoxModel(ListBox& rows, QObject* parent)
    : QAbstractTableModel(parent), box(&rows), shown(rows.count())
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

void ListBoxModel::setColumns(std::vector<ListColumn> headings)
{
    beginResetModel();
    columns = std::move(headings);
    endResetModel();
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown;
}

int ListBoxModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(1, static_cast<int>(columns.size()));
}

QString ListBoxModel::cellText(int row, int column) const
{
    std::string_view text = box->row(row);
    if (columns.empty())
        return oneLine(text);
    return oneLine(field(text, column, static_cast<int>(columns.size())));
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shown || !box->contains(index.row()))
        return {};
    const size_t column = static_cast<size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::ToolTipRole:  // the view shows it only for a cell too narrow for its text
        return columns.empty() ? QVariant() : QVariant(cellText(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        if (column < columns.size() && columns[column].number)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    default:
        return {};
    }
}

QVariant ListBoxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return oneLine(columns[static_cast<size_t>(section)].caption);
    if (role == Qt::TextAlignmentRole && columns[static_cast<size_t>(section)].number)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
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
