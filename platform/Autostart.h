#pragma once

#include <QString>

// Per-user start at log-in. The folder is the caller's choice so that tests
// can point it elsewhere (normally ~/.config/autostart).
class Autostart
{
public:
    virtual ~Autostart();
    static QString defaultFolder();
    // true writes the entry for `executable`, false removes it.
    virtual bool setEnabled(bool enabled, const QString &executable, const QString &folder) = 0;
    virtual bool isEnabled(const QString &folder) const = 0;
};
