#include "WindowFit.h"

#include <QGuiApplication>
#include <QScreen>

QRect WindowFit::place(const QSize &designed, const QRect &available)
{
    if (available.isEmpty())
        return QRect(QPoint(0, 0), designed);
    // Shrunk to fit, the window lies inside the area: its top is on screen.
    const QSize size = designed.boundedTo(available.size());
    return QRect(available.x() + (available.width() - size.width()) / 2,
                 available.y() + (available.height() - size.height()) / 2, size.width(), size.height());
}

QRect WindowFit::place(const QSize &designed)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return place(designed, screen ? screen->availableGeometry() : QRect());
}
