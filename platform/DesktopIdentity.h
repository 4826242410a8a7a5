#pragma once

#include <QString>

// How the program presents itself to the desktop.
class DesktopIdentity
{
public:
    // Names the installed launcher (<id>.desktop), the themed icon and the
    // metadata; the windows carry it so the desktop can match them up.
    static QString applicationId();

    // What the autostart entry and the desktop shortcut start: an installed
    // copy's program link (bin/ostrel, which its deployment.ini names
    // relative to the install folder) when that link leads to this very
    // program; otherwise the program itself (a build tree, a portable copy,
    // a link that went away or leads elsewhere).
    static QString launcherExecutable();

    // The application icon beside the program; empty when there is none.
    static QString iconFile();
};
