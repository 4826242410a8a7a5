#pragma once

#include <QString>

// Whether a file is a whole zip archive: its end record is there and the
// central directory agrees with the entries it lists. Only the directory
// is read, not the compressed data, so the probe is cheap even for a large
// archive; a body cut short anywhere loses the end record and fails it.
class ZipProbe
{
public:
    static bool isComplete(const QString &path);
};
