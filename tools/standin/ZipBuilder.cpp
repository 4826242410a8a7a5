#include "ZipBuilder.h"

#include <QtEndian>

#include <zlib.h>

namespace {

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// MS-DOS time and date fields; they cannot hold years before 1980.
quint16 dosTime(const QDateTime &t)
{
    const QTime time = t.time();
    return quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
}

quint16 dosDate(const QDateTime &t)
{
    const QDate date = t.date();
    const int year = qBound(1980, date.year(), 2107);
    return quint16(((year - 1980) << 9) | (date.month() << 5) | date.day());
}

QByteArray rawDeflate(const QByteArray &data)
{
    z_stream zs = {};
    if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(int(deflateBound(&zs, uLong(data.size()))), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    out.truncate(int(zs.total_out));
    deflateEnd(&zs);
    return rc == Z_STREAM_END ? out : QByteArray();
}

bool isAscii(const QByteArray &name)
{
    for (char c : name) {
        if (static_cast<unsigned char>(c) > 0x7f)
            return false;
    }
    return true;
}

} // namespace

ZipBuilder::ZipBuilder(Method method)
    : mMethod(method)
{
}

void ZipBuilder::addFile(const QString &path, const QByteArray &data, const QDateTime &modified)
{
    mEntries.append({path.toUtf8(), data, modified, false});
}

void ZipBuilder::addDirectory(const QString &path, const QDateTime &modified)
{
    QByteArray name = path.toUtf8();
    if (!name.endsWith('/'))
        name.append('/');
    mEntries.append({name, QByteArray(), modified, true});
}

QByteArray ZipBuilder::build() const
{
    QByteArray out;
    QByteArray central;
    for (const Entry &e : mEntries) {
        const quint32 offset = quint32(out.size());
        const quint32 crc = quint32(crc32(crc32(0, nullptr, 0),
                                          reinterpret_cast<const Bytef *>(e.data.constData()),
                                          uInt(e.data.size())));
        QByteArray stored = e.data;
        quint16 method = 0;
        if (mMethod == Method::Deflate && !e.directory && !e.data.isEmpty()) {
            const QByteArray packed = rawDeflate(e.data);
            if (!packed.isEmpty()) {
                stored = packed;
                method = 8;
            }
        }
        const quint16 flags = isAscii(e.name) ? 0 : 0x0800; // bit 11: names are UTF-8
        const quint16 time = dosTime(e.modified);
        const quint16 date = dosDate(e.modified);

        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, flags);
        put16(out, method);
        put16(out, time);
        put16(out, date);
        put32(out, crc);
        put32(out, quint32(stored.size()));
        put32(out, quint32(e.data.size()));
        put16(out, quint16(e.name.size()));
        put16(out, 0);
        out.append(e.name);
        out.append(stored);

        put32(central, 0x02014b50);
        put16(central, 0x031e); // made by: Unix, zip 3.0
        put16(central, 20);
        put16(central, flags);
        put16(central, method);
        put16(central, time);
        put16(central, date);
        put32(central, crc);
        put32(central, quint32(stored.size()));
        put32(central, quint32(e.data.size()));
        put16(central, quint16(e.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, e.directory ? ((040755u << 16) | 0x10u) : (0100644u << 16));
        put32(central, offset);
        central.append(e.name);
    }
    const quint32 centralOffset = quint32(out.size());
    out.append(central);
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(mEntries.size()));
    put16(out, quint16(mEntries.size()));
    put32(out, quint32(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}
