#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVariant>

// The vehicles of a single-vehicle product: one row per vehicle under the
// labels "Name" and "Operation" (whose cell a check box covers).
class SelectVehicleTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SelectVehicleTableModel(QObject *parent = nullptr);

    void setHeaders(const QStringList &headers);
    void AddRow(const QVariant &first, const QVariant &second);
    void clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList mHeaders;
    QList<QMap<int, QVariant>> mRows;
};
