#pragma once

#include "MyTableModel.h"

// The vehicles of a single-vehicle product: one row per vehicle under the
// labels "Name" and "Operation" (whose cell a check box covers). Unlike the
// software table, the name column shows its text and has a caption.
class SelectVehicleTableModel : public MyTableModel
{
    Q_OBJECT
public:
    using MyTableModel::MyTableModel;

    void AddRow(const QVariant &first, const QVariant &second);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
};
