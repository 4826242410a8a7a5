#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QVector>

class QIODevice;

// Writes zip archives entry by entry to a device, for sample packages and
// for tests that need archives no ordinary tool would make: raw name bytes,
// lying sizes, wrong checksums, links, encrypted flags, entries that share
// their data, more than 65 535 entries. Only the central directory is kept
// in memory, so packages of any size can be written.
class ZipWriter
{
public:
    struct Entry
    {
        QByteArray name;    // stored as given
        QByteArray data;    // the entry's bytes (empty for a folder)
        bool deflate = true;
        QDateTime modified = QDateTime(QDate(2024, 5, 17), QTime(10, 20, 30));
        // Name flag: -1 sets the UTF-8 flag for names that are not ASCII.
        int utf8 = -1;
        quint16 extraFlags = 0; // e.g. 1: "encrypted"
        // Unix mode in the external attributes (0: made on DOS, attributes
        // 0x10 for folders).
        quint32 unixMode = 0;
        // Written in place of the true values when not negative.
        qint64 declaredSize = -1;
        qint64 declaredCrc = -1;
        int method = -1;    // stored method number, e.g. 14 for LZMA
        // Sizes in a zip64 extra field, as a writer does for large entries.
        bool zip64 = false;
        // Sizes and checksum after the data (general-purpose bit 3).
        bool dataDescriptor = false;
        // Gives this entry no data of its own: its central record (under
        // this entry's name, when given) points at the local header of that
        // earlier entry, so the two overlap.
        int aliasOf = -1;
    };

    explicit ZipWriter(QIODevice *out);

    bool add(const Entry &entry);
    bool addFile(const QByteArray &name, const QByteArray &data, bool deflate = true);
    bool addDirectory(const QByteArray &name);
    // The central directory; zip64 end records when they are needed.
    bool finish();

    qint64 count() const { return mCentral.size(); }

private:
    struct Central
    {
        QByteArray header; // central record without the offset filled in
        quint64 offset = 0;
        bool zip64 = false;
    };

    bool write(const QByteArray &bytes);

    QIODevice *mOut;
    quint64 mOffset = 0;
    QVector<Central> mCentral;
    bool mFailed = false;
};
