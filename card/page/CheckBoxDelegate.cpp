#include "CheckBoxDelegate.h"

#include "FXHeader.h"
#include "Pictures.h"

#include <QPainter>

CheckBoxDelegate::CheckBoxDelegate(QObject *parent)
    : RowToggleDelegate(true, parent)
    , mChecked(Pictures::load(picturePath(QStringLiteral("selected.png"))))
    , mUnchecked(Pictures::load(picturePath(QStringLiteral("unselected.png"))))
{
}

void CheckBoxDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    paintBackground(painter, option);
    const QRect cell = option.rect;
    // Lined up under the header's select-all box.
    const QRect box(cell.left() + FXHeader::BoxLeft, cell.top() + (cell.height() - FXHeader::BoxSize) / 2,
                    FXHeader::BoxSize, FXHeader::BoxSize);
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(box, checked ? mChecked : mUnchecked);
    painter->setFont(option.font);
    paintText(painter, QRect(box.right() + 12, cell.top(), cell.right() - box.right() - 12, cell.height()),
              index.data(Qt::DisplayRole).toString(), index.data(Qt::ForegroundRole).value<QColor>());
    painter->restore();
}
