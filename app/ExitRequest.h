#pragma once

class QWidget;
class UninstallView;

// The guarded exit behind the title bar's close button.
class ExitRequest
{
public:
    // True when the event loop may end with 0: no other holder of the global
    // mutex, the user accepted closing during a download, and a running
    // uninstall agreed to wind down.
    static bool mayExit(QWidget *window, UninstallView *uninstallPage);
};
