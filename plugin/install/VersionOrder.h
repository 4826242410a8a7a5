#pragma once

#include <QString>

// Orders version texts such as "V9.50" and "V10.20": runs of digits compare
// as numbers, everything else as text. Versions whose digit runs have equal
// widths order exactly as plain text does; an empty text is less than any
// other.
class VersionOrder
{
public:
    // <0, 0 or >0; 0 only for identical texts.
    static int compare(const QString &a, const QString &b);
    static bool less(const QString &a, const QString &b) { return compare(a, b) < 0; }
    // The same version, however written: runs of digits by value ("V1.01"
    // and "V1.1"), blanks around either text ignored.
    static bool same(const QString &a, const QString &b);
};
