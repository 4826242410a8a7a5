#include "UserInfoModel.h"

#include "UserProfileFields.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {
QStandardItem *makeItem(const QString &text, Qt::Alignment alignment, const QColor &colour)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(alignment);
    item->setFont(QFont(QStringLiteral("Helvetica"), 14, QFont::Normal));
    item->setForeground(QBrush(colour));
    return item;
}
} // namespace

UserInfoModel::UserInfoModel(QObject *parent)
    : QStandardItemModel(0, ColumnCount, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("NAME"), QString(), QStringLiteral("EDIT")});
}

int UserInfoModel::rowOf(int rowId) const
{
    for (int i = 0; i < mRecords.size(); ++i) {
        if (mRecords.at(i).rowId == rowId)
            return i;
    }
    return -1;
}

int UserInfoModel::setRecord(const Record &record)
{
    int row = rowOf(record.rowId);
    if (row >= 0) {
        mRecords[row] = record;
    } else {
        row = mRecords.size();
        mRecords.append(record);
        insertRow(row);
    }
    // setItem() reports the cells as changed.
    fillRow(row, record);
    return row;
}

void UserInfoModel::fillRow(int row, const Record &record)
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    setItem(row, LabelColumn,
            makeItem(record.label, Qt::AlignRight | Qt::AlignVCenter, QColor(QStringLiteral("#666666"))));
    setItem(row, GapColumn, makeItem(QString(), left, QColor(QStringLiteral("#000000"))));
    QStandardItem *value = makeItem(record.value, left, QColor(QStringLiteral("#000000")));
    // A screen reader reads the field's name with its value, and says when
    // there is none.
    const QString said =
        record.value.isEmpty() ? UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Not given")) : record.value;
    value->setData(QString(record.label + QStringLiteral(": ") + said), Qt::AccessibleTextRole);
    setItem(row, ValueColumn, value);
}
