#include "VersionOrder.h"

namespace {
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// End of the run (all digits or all non-digits) that starts at `from`.
int runEnd(const QString &s, int from)
{
    const bool digits = isDigit(s.at(from));
    int end = from + 1;
    while (end < s.size() && isDigit(s.at(end)) == digits)
        ++end;
    return end;
}

// Two digit runs by value, without overflow: drop leading zeros, then the
// longer run is larger, else the first differing digit decides.
int compareNumbers(const QStringRef &a, const QStringRef &b)
{
    int i = 0;
    while (i < a.size() - 1 && a.at(i) == QLatin1Char('0'))
        ++i;
    int j = 0;
    while (j < b.size() - 1 && b.at(j) == QLatin1Char('0'))
        ++j;
    const int lengthA = a.size() - i;
    const int lengthB = b.size() - j;
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    return a.mid(i).compare(b.mid(j));
}

// The order by value alone: 0 for "V1.01" and "V1.1".
int compareValues(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        const int endA = runEnd(a, i);
        const int endB = runEnd(b, j);
        const QStringRef pieceA = a.midRef(i, endA - i);
        const QStringRef pieceB = b.midRef(j, endB - j);
        int result;
        if (isDigit(a.at(i)) && isDigit(b.at(j)))
            result = compareNumbers(pieceA, pieceB);
        else
            result = pieceA.compare(pieceB);
        if (result != 0)
            return result;
        i = endA;
        j = endB;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}
} // namespace

int VersionOrder::compare(const QString &a, const QString &b)
{
    const int byValue = compareValues(a, b);
    if (byValue != 0)
        return byValue;
    // Same value written differently ("V1.01" and "V1.1"): plain text
    // decides, so that the order stays total.
    return a.compare(b);
}

bool VersionOrder::same(const QString &a, const QString &b)
{
    return compareValues(a.trimmed(), b.trimmed()) == 0;
}
