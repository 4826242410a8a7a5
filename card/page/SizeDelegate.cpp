#include "SizeDelegate.h"

SizeDelegate::SizeDelegate(QObject *parent)
    : RowToggleDelegate(true, parent)
{
}

void SizeDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    paintPlainCell(painter, option, index);
}
