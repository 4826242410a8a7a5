#include "SelectVehicleTableModel.h"

SelectVehicleTableModel::SelectVehicleTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SelectVehicleTableModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    mHeaders = headers;
    endResetModel();
}

void SelectVehicleTableModel::AddRow(const QVariant &first, const QVariant &second)
{
    const int row = mRows.size();
    beginInsertRows(QModelIndex(), row, row);
    mRows.append({{0, first}, {1, second}});
    endInsertRows();
}

void SelectVehicleTableModel::clear()
{
    if (mRows.isEmpty())
        return;
    beginResetModel();
    mRows.clear();
    endResetModel();
}

int SelectVehicleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows.size();
}

int SelectVehicleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mHeaders.size();
}

QVariant SelectVehicleTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mRows.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return mRows.at(index.row()).value(index.column());
}

QVariant SelectVehicleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The second column's caption sits over the centred check boxes.
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section == 1)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return mHeaders.value(section);
    return section + 1;
}
