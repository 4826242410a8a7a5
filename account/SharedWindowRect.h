#pragma once

#include <QRect>

// Where the application's top-level window currently stands on screen. The
// login dialog and the main window each keep it current while they move,
// so whichever comes next can open in the same place.
class SharedWindowRect
{
public:
    static QRect get();
    static void set(const QRect &rect);
};
