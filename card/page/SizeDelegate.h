#pragma once

#include "RowToggleDelegate.h"

// Draws the size text of a row in grey; a press ticks the row.
class SizeDelegate : public RowToggleDelegate
{
    Q_OBJECT
public:
    explicit SizeDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
