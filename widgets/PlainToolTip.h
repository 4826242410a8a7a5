#pragma once

#include <QString>

// A tool tip that shows `text` as written. The toolkit takes any tool tip
// that looks like markup for markup, so a package or volume named
// "<img src=...>" would otherwise show a picture from the disk.
class PlainToolTip
{
public:
    static QString of(const QString &text);
};
