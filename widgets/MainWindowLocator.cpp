#include "MainWindowLocator.h"

#include <QApplication>
#include <QMainWindow>

QMainWindow *MainWindowLocator::find()
{
    QMainWindow *found = nullptr;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *widget : tops) {
        if (auto *main = qobject_cast<QMainWindow *>(widget))
            found = main;
    }
    return found;
}
