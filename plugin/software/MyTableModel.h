#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVariant>

// Rows of texts under a row of labels, for the plug-in's tables. Column 0
// keeps its value for the page but shows none: a check box covers it.
class MyTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit MyTableModel(QObject *parent = nullptr);

    void setHeaders(const QStringList &headers);
    QStringList headers() const { return mHeaders; }

    void clear();
    // All rows at once (one reset, not one insertion each).
    void setRows(const QList<QMap<int, QVariant>> &rows);
    // Appends a row; returns its number.
    int appendRow(const QMap<int, QVariant> &values);
    // The stored value, whatever the column shows.
    QVariant value(int row, int column) const;
    void setValue(int row, int column, const QVariant &value);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList mHeaders;
    QList<QMap<int, QVariant>> mRows;
};
