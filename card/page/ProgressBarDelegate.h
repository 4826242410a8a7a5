#pragma once

#include "RowToggleDelegate.h"

#include <QPixmap>

// Column 3: "Ready", "Uninstalling..." over a thin progress bar, or the
// done and failed pictures with their captions. Does not tick the row.
class ProgressBarDelegate : public RowToggleDelegate
{
    Q_OBJECT
public:
    static constexpr int BarWidth = 100;
    static constexpr int BarHeight = 4;

    explicit ProgressBarDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPixmap mDone;
    QPixmap mFailed;
};
