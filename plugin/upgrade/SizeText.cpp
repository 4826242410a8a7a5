#include "SizeText.h"

QString SizeText::of(qint64 bytes)
{
    if (bytes <= 0)
        return QString();
    constexpr qint64 KiB = 1024;
    constexpr qint64 MiB = KiB * 1024;
    constexpr qint64 GiB = MiB * 1024;
    constexpr qint64 TiB = GiB * 1024;
    double value;
    const char *unit;
    if (bytes <= KiB) {
        value = double(bytes);
        unit = "B";
    } else if (bytes <= MiB) {
        value = double(bytes) / KiB;
        unit = "KB";
    } else if (bytes <= GiB) {
        value = double(bytes) / MiB;
        unit = "MB";
    } else if (bytes < TiB) {
        value = double(bytes) / GiB;
        unit = "GB";
    } else {
        value = double(bytes) / TiB;
        unit = "TB";
    }
    // Enough digits that a value that rounds to 1000 or more is never
    // written as 1e+03.
    int digits = 3;
    if (value >= 999.5)
        digits = qstrcmp(unit, "TB") == 0 ? 6 : 4;
    return QString::number(value, 'g', digits) + QLatin1String(unit);
}
