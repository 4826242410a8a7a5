#pragma once

#include "MessageBoxDialog.h"

#include <QApplication>

// The message box currently on screen (the newest when several are), or
// nullptr. Header-only: only tests that link the widget kit include it.
inline MessageBoxDialog *openMessageBox()
{
    MessageBoxDialog *found = nullptr;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *widget : tops) {
        auto *box = qobject_cast<MessageBoxDialog *>(widget);
        if (box && box->isVisible())
            found = box;
    }
    return found;
}
