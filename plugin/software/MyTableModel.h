#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVariant>

// Rows of texts under a row of labels, for the plug-in's tables. Column 0
// keeps its value for the page but shows none: a check box covers it.
//
// A screen reader reads the table through the model: column 0 by its value
// (the row's name), the named column with the name before it ("Vehicle
// 0003, Downloading, 47 %"), an empty cell as "None", and the tick of the
// check box over the check column as the cell's check state.
class MyTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Keys of a row's values beside its columns: the tick of its check box
    // and a description of the row (why it failed, why it cannot be
    // unticked).
    static constexpr int CheckedKey = -1;
    static constexpr int DescriptionKey = -2;

    explicit MyTableModel(QObject *parent = nullptr);

    void setHeaders(const QStringList &headers);
    QStringList headers() const { return mHeaders; }
    void setCheckColumn(int column) { mCheckColumn = column; }
    void setNamedColumn(int column) { mNamedColumn = column; }

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
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    // The roles a screen reader asks for; the subclasses' data() ends here.
    QVariant spokenData(const QModelIndex &index, int role) const;

private:
    QStringList mHeaders;
    QList<QMap<int, QVariant>> mRows;
    int mCheckColumn = 0;
    int mNamedColumn = -1;
};
