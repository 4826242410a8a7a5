#include "MyTableModel.h"

MyTableModel::MyTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void MyTableModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    mHeaders = headers;
    endResetModel();
}

void MyTableModel::clear()
{
    if (mRows.isEmpty())
        return;
    beginResetModel();
    mRows.clear();
    endResetModel();
}

void MyTableModel::setRows(const QList<QMap<int, QVariant>> &rows)
{
    beginResetModel();
    mRows = rows;
    endResetModel();
}

int MyTableModel::appendRow(const QMap<int, QVariant> &values)
{
    const int row = mRows.size();
    beginInsertRows(QModelIndex(), row, row);
    mRows.append(values);
    endInsertRows();
    return row;
}

QVariant MyTableModel::value(int row, int column) const
{
    if (row < 0 || row >= mRows.size())
        return QVariant();
    return mRows.at(row).value(column);
}

void MyTableModel::setValue(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= mRows.size() || column < 0 || column >= mHeaders.size())
        return;
    mRows[row].insert(column, value);
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
}

int MyTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows.size();
}

int MyTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mHeaders.size();
}

QVariant MyTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.column() == 0)
        return QVariant();
    return value(index.row(), index.column());
}

QVariant MyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    // Section 0 carries the header's select-all box instead of a label.
    if (section <= 0 || section >= mHeaders.size())
        return QVariant();
    return mHeaders.at(section);
}
