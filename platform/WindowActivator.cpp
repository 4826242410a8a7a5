#include "WindowActivator.h"

#include <QApplication>
#include <QWidget>

void WindowActivator::bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->showNormal();
    window->raise();
    window->activateWindow();
    // A question open over the window stays over it and keeps the keyboard:
    // without a window manager nothing else restacks it, and the window it
    // blocks would lie on top, taking clicks it cannot act on.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != window && modal->isVisible()) {
        modal->raise();
        modal->activateWindow();
    }
}
