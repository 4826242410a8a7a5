#include "ZipWriter.h"

#include <QIODevice>
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

void put64(QByteArray &out, quint64 v)
{
    char b[8];
    qToLittleEndian(v, b);
    out.append(b, 8);
}

// Overwrites a little-endian field already in `out`.
void patch(QByteArray &out, int at, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xff);
}

quint16 dosTime(const QDateTime &t)
{
    const QTime time = t.time();
    return quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
}

quint16 dosDate(const QDateTime &t)
{
    const QDate date = t.date();
    return quint16(((qBound(1980, date.year(), 2107) - 1980) << 9) | (date.month() << 5) | date.day());
}

QByteArray rawDeflate(const QByteArray &data)
{
    z_stream zs = {};
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
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
        if (uchar(c) > 0x7f)
            return false;
    }
    return true;
}
} // namespace

ZipWriter::ZipWriter(QIODevice *out)
    : mOut(out)
{
}

bool ZipWriter::write(const QByteArray &bytes)
{
    if (mFailed || mOut->write(bytes) != bytes.size()) {
        mFailed = true;
        return false;
    }
    mOffset += quint64(bytes.size());
    return true;
}

bool ZipWriter::addFile(const QByteArray &name, const QByteArray &data, bool deflate)
{
    Entry e;
    e.name = name;
    e.data = data;
    e.deflate = deflate;
    return add(e);
}

bool ZipWriter::addDirectory(const QByteArray &name)
{
    Entry e;
    e.name = name.endsWith('/') ? name : name + '/';
    e.deflate = false;
    return add(e);
}

bool ZipWriter::add(const Entry &e)
{
    if (e.aliasOf >= 0) {
        if (e.aliasOf >= mCentral.size())
            return false;
        Central c = mCentral.at(e.aliasOf);
        if (!e.name.isEmpty()) {
            const int old = qFromLittleEndian<quint16>(c.header.constData() + 28);
            c.header = c.header.left(46) + e.name + c.header.mid(46 + old);
            patch(c.header, 28, quint32(e.name.size()), 2);
        }
        mCentral.append(c);
        return true;
    }
    const bool directory = e.name.endsWith('/');
    quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(e.data.constData()), uInt(e.data.size())));
    QByteArray stored = e.data;
    quint16 method = 0;
    if (e.deflate && !directory) {
        stored = rawDeflate(e.data);
        method = 8;
    }
    if (e.method >= 0)
        method = quint16(e.method);
    if (e.declaredCrc >= 0)
        crc = quint32(e.declaredCrc);
    const quint64 size = e.declaredSize >= 0 ? quint64(e.declaredSize) : quint64(e.data.size());
    const quint64 packed = quint64(stored.size());
    const bool utf8 = e.utf8 < 0 ? !isAscii(e.name) : e.utf8 > 0;
    const quint16 flags = quint16((utf8 ? 0x0800 : 0) | (e.dataDescriptor ? 0x0008 : 0) | e.extraFlags);
    const bool zip64 = e.zip64 || size >= 0xFFFFFFFFu || packed >= 0xFFFFFFFFu;

    QByteArray extra;
    if (zip64) {
        put16(extra, 0x0001);
        put16(extra, 16);
        put64(extra, size);
        put64(extra, packed);
    }
    const bool blank = e.dataDescriptor; // sizes follow the data
    QByteArray local;
    put32(local, 0x04034b50);
    put16(local, zip64 ? 45 : 20);
    put16(local, flags);
    put16(local, method);
    put16(local, dosTime(e.modified));
    put16(local, dosDate(e.modified));
    put32(local, blank ? 0 : crc);
    put32(local, blank ? 0 : zip64 ? 0xFFFFFFFFu : quint32(packed));
    put32(local, blank ? 0 : zip64 ? 0xFFFFFFFFu : quint32(size));
    put16(local, quint16(e.name.size()));
    put16(local, quint16(extra.size()));
    local += e.name;
    local += extra;

    Central c;
    c.offset = mOffset;
    c.zip64 = zip64 || mOffset >= 0xFFFFFFFFu;
    if (!write(local) || !write(stored))
        return false;
    if (e.dataDescriptor) {
        QByteArray d;
        put32(d, 0x08074b50);
        put32(d, crc);
        put32(d, quint32(packed));
        put32(d, quint32(size));
        if (!write(d))
            return false;
    }

    QByteArray &h = c.header;
    put32(h, 0x02014b50);
    put16(h, 0x0300 | 45); // made by: Unix
    put16(h, c.zip64 ? 45 : 20);
    put16(h, flags);
    put16(h, method);
    put16(h, dosTime(e.modified));
    put16(h, dosDate(e.modified));
    put32(h, crc);
    put32(h, zip64 ? 0xFFFFFFFFu : quint32(packed));
    put32(h, zip64 ? 0xFFFFFFFFu : quint32(size));
    put16(h, quint16(e.name.size()));
    // The extra field's length and content follow in finish(), when the
    // offset is known to fit or not.
    quint32 external = e.unixMode << 16;
    if (e.unixMode == 0) {
        h[4] = char(45); // made by: DOS
        h[5] = 0;
        external = directory ? 0x10 : 0x20;
    }
    put16(h, 0); // extra length, patched in finish()
    put16(h, 0); // comment
    put16(h, 0); // disk
    put16(h, 0); // internal attributes
    put32(h, external);
    put32(h, 0); // offset, patched in finish()
    h += e.name;
    if (zip64) {
        put64(h, size);
        put64(h, packed);
    }
    mCentral.append(c);
    return true;
}

bool ZipWriter::finish()
{
    const quint64 start = mOffset;
    for (const Central &c : qAsConst(mCentral)) {
        QByteArray h = c.header;
        const int nameLength = qFromLittleEndian<quint16>(h.constData() + 28);
        QByteArray sizes = h.mid(46 + nameLength); // the zip64 sizes, if any
        h.truncate(46 + nameLength);
        const bool bigOffset = c.offset >= 0xFFFFFFFFu;
        QByteArray extra;
        if (!sizes.isEmpty() || bigOffset) {
            put16(extra, 0x0001);
            put16(extra, quint16(sizes.size() + (bigOffset ? 8 : 0)));
            extra += sizes;
            if (bigOffset)
                put64(extra, c.offset);
        }
        patch(h, 30, quint32(extra.size()), 2);
        patch(h, 42, bigOffset ? 0xFFFFFFFFu : quint32(c.offset), 4);
        if (!write(h + extra))
            return false;
    }
    const quint64 size = mOffset - start;
    const quint64 n = quint64(mCentral.size());
    const bool zip64 = n >= 0xFFFF || start >= 0xFFFFFFFFu || size >= 0xFFFFFFFFu;
    QByteArray tail;
    if (zip64) {
        const quint64 record = mOffset;
        put32(tail, 0x06064b50);
        put64(tail, 44);
        put16(tail, 45);
        put16(tail, 45);
        put32(tail, 0);
        put32(tail, 0);
        put64(tail, n);
        put64(tail, n);
        put64(tail, size);
        put64(tail, start);
        put32(tail, 0x07064b50);
        put32(tail, 0);
        put64(tail, record);
        put32(tail, 1);
    }
    put32(tail, 0x06054b50);
    put16(tail, 0);
    put16(tail, 0);
    put16(tail, zip64 ? 0xFFFF : quint16(n));
    put16(tail, zip64 ? 0xFFFF : quint16(n));
    put32(tail, zip64 ? 0xFFFFFFFFu : quint32(size));
    put32(tail, zip64 ? 0xFFFFFFFFu : quint32(start));
    put16(tail, 0);
    return write(tail) && !mFailed;
}
