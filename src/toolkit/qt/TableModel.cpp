// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/qt/TableModel.h"

#include "text/Cp932.h"

#include <QColor>

#include <cstddef>

namespace kv {

namespace {

QString oneLine(const std::string& cp932)
{
    QString text = QString::fromStdString(toDisplayUtf8(cp932));
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

}  // namespace

TableModel::TableModel(Table& table, QObject* parent) : QAbstractTableModel(parent), data_(&table)
{
    data_->setObserver(this);
}

TableModel::~TableModel()
{
    if (data_->currentObserver() == this)
        data_->setObserver(nullptr);
}

void TableModel::setTable(Table& table)
{
    if (&table == data_)
        return;
    if (data_->currentObserver() == this)
        data_->setObserver(nullptr);
    data_ = &table;
    data_->setObserver(this);
    tableChanged();
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : data_->rowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : data_->columnCount();
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const TableCell& cell = data_->cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return oneLine(cell.text);
    case Qt::ForegroundRole:
        if (cell.tone == CellTone::Gain)
            return QColor(0, 128, 0);
        if (cell.tone == CellTone::Loss)
            return QColor(200, 0, 0);
        return {};
    case Qt::TextAlignmentRole: {
        const bool right = data_->columns()[static_cast<size_t>(index.column())].rightAligned;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= data_->columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return oneLine(data_->columns()[static_cast<size_t>(section)].heading);
    return {};
}

void TableModel::tableChanged()
{
    beginResetModel();
    endResetModel();
    if (afterChange)
        afterChange();
}

}  // namespace kv
