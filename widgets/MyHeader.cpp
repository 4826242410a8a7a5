#include "MyHeader.h"

#include <QMouseEvent>

MyHeader::MyHeader(QWidget *parent)
    : FXHeader(Qt::Horizontal, parent)
{
    setIndicatorPictures(QStringLiteral(":/Dravik/Resources/unselected.png"),
                         QStringLiteral(":/Dravik/Resources/selected.png"),
                         QStringLiteral(":/Dravik/Resources/partly_selected.png"));
    connect(this, &FXHeader::SignalCheckChange, this, &MyHeader::toggled);
}

void MyHeader::mouseReleaseEvent(QMouseEvent *event)
{
    const int section = logicalIndexAt(event->pos());
    FXHeader::mouseReleaseEvent(event);
    emit released(section);
}
