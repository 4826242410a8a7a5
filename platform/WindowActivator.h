#pragma once

class QWidget;

// Brings a top-level window to the user: un-minimised, on top, focused.
class WindowActivator
{
public:
    static void bringToFront(QWidget *window);
};
