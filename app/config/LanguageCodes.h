#pragma once

#include <QString>

// The interface's language index (setup.ini "language") and the two-letter
// code the card uses for it.
class LanguageCodes
{
public:
    static constexpr int Count = 16;
    static constexpr int English = 4;
    // Any index outside 0..15 reads as "en".
    static QString codeOf(int index);
    // -1 for an unknown code.
    static int indexOf(const QString &code);
    // The code of the language stored in setup.ini.
    static QString current();
};
