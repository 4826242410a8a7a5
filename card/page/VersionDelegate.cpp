#include "VersionDelegate.h"

VersionDelegate::VersionDelegate(QObject *parent)
    : RowToggleDelegate(true, parent)
{
}

void VersionDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    paintPlainCell(painter, option, index);
}
