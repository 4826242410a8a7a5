#include "ProgressBarDelegate.h"

#include "Pictures.h"
#include "UninstallModel.h"

#include <QPainter>

ProgressBarDelegate::ProgressBarDelegate(QObject *parent)
    : RowToggleDelegate(false, parent)
    , mDone(Pictures::load(picturePath(QStringLiteral("done.png"))))
    , mFailed(Pictures::load(picturePath(QStringLiteral("failed.png"))))
{
}

void ProgressBarDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QStringList state = index.data(Qt::UserRole).toStringList();
    const QString code = state.value(0, QString::fromLatin1(UninstallModel::StateReady));
    const QString text = UninstallModel::StateText(code);
    const QRect cell = option.rect.adjusted(10, 0, -4, 0);
    const QColor colour = index.data(Qt::ForegroundRole).value<QColor>();

    if (code == QLatin1String(UninstallModel::StateReady))
        painter->fillRect(option.rect, QColor(0xFF, 0xFF, 0xFF));
    paintBackground(painter, option);
    painter->save();
    painter->setFont(option.font);
    if (code == QLatin1String(UninstallModel::StateUninstalling)) {
        const int lineHeight = painter->fontMetrics().height();
        const int top = cell.top() + (cell.height() - lineHeight - 4 - BarHeight) / 2;
        paintText(painter, QRect(cell.left(), top, cell.width(), lineHeight), text, colour);
        const QRect bar(cell.left(), top + lineHeight + 4, BarWidth, BarHeight);
        const int percent = qBound(0, int(state.value(1).toFloat()), 100);
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::white);
        painter->drawRect(bar);
        painter->setBrush(colour);
        painter->drawRect(QRect(bar.left(), bar.top(), BarWidth * percent / 100, BarHeight));
        painter->setPen(colour);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
    } else if (code == QLatin1String(UninstallModel::StateDone) || code == QLatin1String(UninstallModel::StateFailed)) {
        const bool done = code == QLatin1String(UninstallModel::StateDone);
        const QPixmap &picture = done ? mDone : mFailed;
        const QRect icon(cell.left(), cell.top() + (cell.height() - 18) / 2, 18, 18);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(icon, picture);
        paintText(painter, cell.adjusted(26, 0, 0, 0), text, colour);
    } else {
        paintText(painter, cell, text, colour);
    }
    painter->restore();
}
