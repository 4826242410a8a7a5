#pragma once

#include "Autostart.h"

// An XDG autostart entry, <folder>/Ostrel.desktop.
class XdgAutostart : public Autostart
{
public:
    static QString entryName() { return QStringLiteral("Ostrel.desktop"); }

    bool setEnabled(bool enabled, const QString &executable, const QString &folder) override;
    // The entry exists and is not switched off by Hidden=true or
    // X-GNOME-Autostart-enabled=false.
    bool isEnabled(const QString &folder) const override;
};
