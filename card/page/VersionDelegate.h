#pragma once

#include "RowToggleDelegate.h"

// Draws the installed version of a row in grey; a press ticks the row.
class VersionDelegate : public RowToggleDelegate
{
    Q_OBJECT
public:
    explicit VersionDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
