#pragma once

#include "DesktopNotifier.h"

// org.freedesktop.Notifications on the session bus.
class DBusNotifier : public DesktopNotifier
{
public:
    void notify(const QString &title, const QString &text) override;
};
