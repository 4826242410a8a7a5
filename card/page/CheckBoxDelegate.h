#pragma once

#include "RowToggleDelegate.h"

#include <QPixmap>

// Column 0: the row's check box picture and the vehicle's display name.
class CheckBoxDelegate : public RowToggleDelegate
{
    Q_OBJECT
public:
    explicit CheckBoxDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPixmap mChecked;
    QPixmap mUnchecked;
};
