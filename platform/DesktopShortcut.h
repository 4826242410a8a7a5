#pragma once

#include <QString>

// "Ostrel.desktop" on the user's desktop, created only when absent.
class DesktopShortcut
{
public:
    virtual ~DesktopShortcut();
    static QString defaultFolder();
    // Returns true when the shortcut exists afterwards (created or already there).
    virtual bool ensure(const QString &executable, const QString &folder) = 0;
};
