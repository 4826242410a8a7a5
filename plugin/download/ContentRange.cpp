#include "ContentRange.h"

#include <limits>

namespace {

// 1*DIGIT, no sign, no blanks, no overflow.
bool parseNumber(const QByteArray &text, qint64 *out)
{
    if (text.isEmpty())
        return false;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    *out = value;
    return true;
}

} // namespace

bool ContentRange::parse(const QByteArray &value, ContentRange *out)
{
    const QByteArray text = value.trimmed();
    // The unit is case-insensitive; one space separates it from the range.
    if (text.size() < 6 || text.left(6).toLower() != "bytes ")
        return false;
    const QByteArray rest = text.mid(6);
    const int slash = rest.indexOf('/');
    if (slash < 0 || rest.indexOf('/', slash + 1) >= 0)
        return false;
    const QByteArray range = rest.left(slash);
    const QByteArray length = rest.mid(slash + 1);

    ContentRange result;
    if (length != "*" && !parseNumber(length, &result.complete))
        return false;
    if (range == "*") {
        // Only a known length makes sense in the unsatisfied form.
        if (result.complete < 0)
            return false;
        *out = result;
        return true;
    }
    const int dash = range.indexOf('-');
    if (dash < 0 || !parseNumber(range.left(dash), &result.first)
        || !parseNumber(range.mid(dash + 1), &result.last))
        return false;
    if (result.last < result.first || (result.complete >= 0 && result.last >= result.complete))
        return false;
    *out = result;
    return true;
}
