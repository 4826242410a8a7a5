#include "WindowActivator.h"

#include <QWidget>

void WindowActivator::bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->showNormal();
    window->raise();
    window->activateWindow();
}
