#pragma once

#include <QList>
#include <QStandardItemModel>
#include <QString>

// The rows of the read-only profile table: label, an empty gap column and
// the value, one row per profile field id.
class UserInfoModel : public QStandardItemModel
{
    Q_OBJECT
public:
    enum Column { LabelColumn = 0, GapColumn = 1, ValueColumn = 2, ColumnCount = 3 };

    struct Record {
        int rowId = -1;
        QString label;
        QString value;
    };

    explicit UserInfoModel(QObject *parent = nullptr);

    // Replaces the row of `record.rowId` (reported as changed) or appends a
    // new one; returns the table row it landed in.
    int setRecord(const Record &record);
    // -1 when no row has that id.
    int rowOf(int rowId) const;
    const QList<Record> &records() const { return mRecords; }

private:
    void fillRow(int row, const Record &record);

    QList<Record> mRecords;
};
