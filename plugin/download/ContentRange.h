#pragma once

#include <QByteArray>
#include <QtGlobal>

// The Content-Range header of a single-part answer, read strictly:
// "bytes first-last/complete" or "bytes first-last/*" on a 206, and
// "bytes */complete" on a 416. Anything else is refused, so that a
// resumed download never appends bytes whose place in the file is unsure.
struct ContentRange
{
    qint64 first = -1; // -1 in the unsatisfied form "*/complete"
    qint64 last = -1;
    qint64 complete = -1; // -1 when the server wrote "*"

    bool isUnsatisfied() const { return first < 0; }

    // false, leaving out alone, when value is not one of the forms above or
    // its numbers contradict each other (last before first, last at or
    // past the complete length, a number that does not fit).
    static bool parse(const QByteArray &value, ContentRange *out);
};
