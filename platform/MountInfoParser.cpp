#include "MountInfoParser.h"

namespace {
bool toInt(const QByteArray &text, int *out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0)
        return false;
    *out = value;
    return true;
}

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}
} // namespace

QList<MountInfoParser::Entry> MountInfoParser::parse(const QByteArray &text)
{
    QList<Entry> entries;
    for (const QByteArray &line : text.split('\n')) {
        Entry entry;
        if (parseLine(line, &entry))
            entries.append(entry);
    }
    return entries;
}

bool MountInfoParser::parseLine(const QByteArray &rawLine, Entry *entry)
{
    QByteArray line = rawLine;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return false;
    // The kernel separates fields by single blanks and escapes blanks inside
    // them, so a plain split is exact.
    const QList<QByteArray> fields = line.split(' ');
    const int separator = fields.indexOf(QByteArray("-"), 6);
    // Six fixed fields before the optional ones, fs type and source after.
    if (separator < 6 || fields.size() < separator + 3)
        return false;

    Entry e;
    const QList<QByteArray> device = fields.at(2).split(':');
    if (!toInt(fields.at(0), &e.mountId) || !toInt(fields.at(1), &e.parentId)
        || device.size() != 2 || !toInt(device.at(0), &e.major) || !toInt(device.at(1), &e.minor))
        return false;
    e.root = unescape(fields.at(3));
    e.mountPoint = unescape(fields.at(4));
    if (e.root.isEmpty() || e.mountPoint.isEmpty())
        return false;
    e.mountOptions = unescape(fields.at(5));
    for (int i = 6; i < separator; ++i) {
        if (!fields.at(i).isEmpty())
            e.optionalFields.append(unescape(fields.at(i)));
    }
    e.fsType = unescape(fields.at(separator + 1));
    e.source = unescape(fields.at(separator + 2));
    if (e.fsType.isEmpty())
        return false;
    // Anything after the super options would be a newer kernel's addition.
    if (fields.size() > separator + 3)
        e.superOptions = unescape(fields.at(separator + 3));
    *entry = e;
    return true;
}

QString MountInfoParser::unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size() && isOctal(field.at(i + 1))
            && isOctal(field.at(i + 2)) && isOctal(field.at(i + 3))) {
            const int value = (field.at(i + 1) - '0') * 64 + (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0');
            if (value <= 0xff) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}
