#pragma once

#include <QColor>
#include <QString>

// The colours of status texts in tables and on pages, each dark enough to
// read on white and on the light greys of the panels (at least 4.5:1).
class StatusColours
{
public:
    static QColor done() { return QColor(0x14, 0x87, 0x14); }    // green, 4.7:1
    static QColor failed() { return QColor(0xE0, 0x20, 0x20); }  // red, 4.8:1
    static QColor working() { return QColor(0xD6, 0x3C, 0x13); } // orange, 4.7:1
    static QColor caution() { return QColor(0xAA, 0x64, 0x00); } // amber, 4.6:1
    static QColor muted() { return QColor(0x66, 0x66, 0x66); }   // grey, 5.7:1

    // For style sheets and rich text.
    static QString css(const QColor &colour) { return colour.name(); }
};
