#pragma once

class QWidget;

// Brings a top-level window to the user: un-minimised, on top, focused;
// a modal box open over it comes along and stays on top.
class WindowActivator
{
public:
    static void bringToFront(QWidget *window);
};
