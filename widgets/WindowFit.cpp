#include "WindowFit.h"

#include <QGuiApplication>
#include <QScreen>

QRect WindowFit::place(const QSize &designed, const QRect &available, int scrollBar)
{
    if (available.isEmpty())
        return QRect(QPoint(0, 0), designed);
    // Shrunk to fit, the window lies inside the area: its top is on screen.
    QSize size = designed.boundedTo(available.size());
    if (size.height() < designed.height())
        size.setWidth(qMin(designed.width() + scrollBar, available.width()));
    if (size.width() < designed.width())
        size.setHeight(qMin(designed.height() + scrollBar, available.height()));
    return QRect(available.x() + (available.width() - size.width()) / 2,
                 available.y() + (available.height() - size.height()) / 2, size.width(), size.height());
}

QRect WindowFit::place(const QSize &designed, int scrollBar)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return place(designed, screen ? screen->availableGeometry() : QRect(), scrollBar);
}
