#pragma once

#include "DesktopShortcut.h"

// A launcher <folder>/Ostrel.desktop; one the user already has is kept as it is.
class XdgDesktopShortcut : public DesktopShortcut
{
public:
    static QString entryName() { return QStringLiteral("Ostrel.desktop"); }

    bool ensure(const QString &executable, const QString &folder) override;
};
