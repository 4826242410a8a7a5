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
    const bool key = column == CheckedKey || column == DescriptionKey;
    if (row < 0 || row >= mRows.size() || (!key && (column < 0 || column >= mHeaders.size())))
        return;
    mRows[row].insert(column, value);
    if (column == DescriptionKey) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::AccessibleDescriptionRole});
        return;
    }
    const QModelIndex cell = index(row, column == CheckedKey ? mCheckColumn : column);
    emit dataChanged(cell, cell);
    // The named column repeats the name.
    if (column == 0 && mNamedColumn > 0 && mNamedColumn < columnCount()) {
        const QModelIndex named = index(row, mNamedColumn);
        emit dataChanged(named, named, {Qt::AccessibleTextRole});
    }
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
    if (!index.isValid())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return spokenData(index, role);
    if (index.column() == 0)
        return QVariant();
    return value(index.row(), index.column());
}

QVariant MyTableModel::spokenData(const QModelIndex &index, int role) const
{
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::AccessibleTextRole: {
        const QString shown = value(row, column).toString();
        if (column == mNamedColumn && column != 0) {
            const QString name = value(row, 0).toString();
            return shown.isEmpty() ? name : name + QStringLiteral(", ") + shown;
        }
        return shown.isEmpty() ? tr("None") : shown;
    }
    case Qt::AccessibleDescriptionRole: return value(row, DescriptionKey);
    case Qt::CheckStateRole: {
        const QVariant checked = column == mCheckColumn ? value(row, CheckedKey) : QVariant();
        return checked.isValid() ? QVariant(checked.toBool() ? Qt::Checked : Qt::Unchecked) : QVariant();
    }
    default: return QVariant();
    }
}

Qt::ItemFlags MyTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == mCheckColumn && value(index.row(), CheckedKey).isValid())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant MyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The first heading is painted beside the select-all box; a screen
    // reader still hears it.
    if (role == Qt::AccessibleTextRole && orientation == Qt::Horizontal && section >= 0 && section < mHeaders.size())
        return mHeaders.at(section);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    // Section 0 carries the header's select-all box instead of a label.
    if (section <= 0 || section >= mHeaders.size())
        return QVariant();
    return mHeaders.at(section);
}
