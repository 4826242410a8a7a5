#pragma once

#include <QRect>
#include <QSize>

class QScreen;

// Where a window of a designed size goes on a screen: whole when the
// screen's available area holds it, else shrunk to that area (its content
// then scrolls); centred, and never with its top above the area's, so a
// title bar stays on screen. A window cut short in one direction is given
// `scrollBar` more in the other where the area allows, so the scroll bar
// does not hide a strip of the content and bring a second bar with it.
class WindowFit
{
public:
    static QRect place(const QSize &designed, const QRect &available, int scrollBar = 0);
    // On the primary screen; the designed size where there is none.
    static QRect place(const QSize &designed, int scrollBar = 0);
};
