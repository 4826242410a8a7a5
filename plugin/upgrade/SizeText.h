#pragma once

#include <QString>

// Sizes as the plug-in shows them: three significant digits, B to TB, no
// separator before the unit ("1.5MB"); empty for 0.
class SizeText
{
public:
    static QString of(qint64 bytes);
};
