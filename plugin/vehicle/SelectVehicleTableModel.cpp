#include "SelectVehicleTableModel.h"

void SelectVehicleTableModel::AddRow(const QVariant &first, const QVariant &second)
{
    appendRow({{0, first}, {1, second}});
}

QVariant SelectVehicleTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return spokenData(index, role);
    return value(index.row(), index.column());
}

QVariant SelectVehicleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The second column's caption sits over the centred check boxes.
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section == 1)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return headers().value(section);
    return MyTableModel::headerData(section, orientation, role);
}
