#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures, sharp on a scaled screen: where the screen's scale
// is above 1 and the picture has an @2x variant beside it (name@2x.png),
// that one is loaded, at a device pixel ratio of 2. Style sheets and icons
// find the variants by themselves; this is for pictures code loads.
class Pictures
{
public:
    static QPixmap load(const QString &path);
    // The picture's size on screen, in the widgets' pixels.
    static QSize logicalSize(const QPixmap &picture);
};
