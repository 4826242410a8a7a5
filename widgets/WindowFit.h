#pragma once

#include <QRect>
#include <QSize>

class QScreen;

// Where a window of a designed size goes on a screen: whole when the
// screen's available area holds it, else shrunk to that area (its content
// then scrolls); centred, and never with its top above the area's, so a
// title bar stays on screen.
class WindowFit
{
public:
    static QRect place(const QSize &designed, const QRect &available);
    // On the primary screen; the designed size where there is none.
    static QRect place(const QSize &designed);
};
