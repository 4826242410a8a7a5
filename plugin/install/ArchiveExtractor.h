#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <limits>
#include <vector>

struct zip;

// Unpacks a zip archive below an open folder, one entry at a time. A small
// deflated entry (up to kWhole bytes, packed and unpacked) is inflated in
// one go, which takes half the time of a stream; a larger one, or one that
// does not inflate cleanly that way, is streamed in bounded chunks. Memory
// stays bounded either way.
//
// open() checks every entry before anything is written, and rejects rather
// than repairs: names must be plain relative paths that a FAT card can hold
// (no "..", no leading slash or drive letter, no backslash, no control or
// reserved characters, no two names that differ only in letter case), only
// files and folders (no links or devices), stored or deflated and not
// encrypted, with sizes that fit the budget and that the compressed data
// can plausibly yield, and no two entries sharing bytes of the archive.
// extract() then fails an entry that yields more or fewer bytes than it
// declares or whose checksum is wrong.
//
// Knows nothing of Qt objects or signals: the install job, the fuzzer and
// the benchmark share it.
class ArchiveExtractor
{
public:
    struct Entry
    {
        QString path;        // as named in the archive, without a trailing slash
        QByteArray diskPath; // the same, as created on disk (UTF-8)
        bool isDir = false;
        quint64 size = 0;
        quint32 crc = 0;     // CRC-32 of the data, as the archive declares it
        qint64 mtime = 0;    // the entry's DOS time taken as local time
        quint64 packedSize = 0;
        bool deflated = false;
    };

    static constexpr qint64 kChunk = 256 * 1024;
    static constexpr quint64 kWhole = 4 * 1024 * 1024;
    static constexpr int kMaxEntries = 1 << 20;
    static constexpr int kMaxDepth = 64;

    ArchiveExtractor();
    ~ArchiveExtractor();
    ArchiveExtractor(const ArchiveExtractor &) = delete;
    ArchiveExtractor &operator=(const ArchiveExtractor &) = delete;

    // Opens and checks the archive. `budget` is the space the unpacked
    // entries may take, each file counted in whole blocks of `blockSize`.
    bool open(const QString &path, quint64 budget = std::numeric_limits<quint64>::max(), quint64 blockSize = 1);
    void close();

    int count() const { return int(mEntries.size()); }
    const Entry &entry(int i) const { return mEntries[size_t(i)]; }

    // Writes entry `i` below the folder `dirFd`: a folder with its missing
    // parents; a file created new (never over anything, never through a
    // link), its modification time set. `cancel` is looked at between
    // chunks. On failure a partly written file is removed.
    bool extract(int i, int dirFd, const std::atomic<bool> *cancel = nullptr);
    // The bytes of file entry `i` in memory, read to their end so that the
    // checksum is checked; false for a folder, an entry larger than `limit`
    // or one whose data is broken.
    bool read(int i, QByteArray *out, qint64 limit);
    // Where entry `path` lies, compared without regard to letter case (as a
    // card does); -1 when there is none.
    int indexOf(const QString &path) const;

    // The space the unpacked entries take, counted as open() was told.
    quint64 requiredSpace() const { return mRequired; }

    QString errorString() const { return mError; }
    bool wasCancelled() const { return mCancelled; }
    // The last failure lies in the archive itself (its structure, names or
    // data), not in the card, the space or a cancel: only another copy of
    // the archive can install.
    bool isBroken() const { return mBroken; }
    // The last failure was for want of space: the budget of open(), or a
    // full card while writing.
    bool isOutOfSpace() const { return mOutOfSpace; }

    // The archive's name bytes as text: UTF-8 when flagged (and then it must
    // be valid), else UTF-8 when valid, else GB18030 (the code page of the
    // PCs that make the packages), else code page 437.
    static QString decodeName(const QByteArray &raw, bool utf8Flag, bool *ok);
    // Why `name` (a decoded entry name, folders ending in '/') cannot be
    // unpacked; empty when it can.
    static QString nameProblem(const QString &name);

private:
    struct Record;
    bool fail(const QString &message);
    bool broken(const QString &message);
    bool readCentralDirectory(std::vector<Record> &records);
    // The open folder `relative` below `dirFd`, made when missing; kept for
    // the next entries, which mostly lie in the same folder.
    int folderOf(int dirFd, const QByteArray &relative);
    void forgetFolder();
    // Inflates a small deflated entry in one go into mUnpacked; true when
    // it gave exactly its size with its checksum. Otherwise the stream has
    // the last word, and says why.
    bool inflateWhole(int i, const Entry &e);
    // Streams an entry to `out` in chunks; the same.
    QString writeStream(int i, const Entry &e, int out, const std::atomic<bool> *cancel);
    bool checkEntries(const std::vector<Record> &records, quint64 budget, quint64 blockSize);

    zip *mZip = nullptr;
    int mFd = -1;
    quint64 mFileSize = 0;
    std::vector<Entry> mEntries;
    std::vector<char> mBuffer;
    std::vector<char> mPacked;   // a small entry's compressed bytes
    std::vector<char> mUnpacked; // and what they inflate to
    struct libdeflate_decompressor *mInflater = nullptr;
    int mFolderFd = -1;
    int mFolderBase = -1;
    QByteArray mFolderPath;
    QString mError;
    quint64 mRequired = 0;
    bool mCancelled = false;
    bool mBroken = false;
    bool mOutOfSpace = false;
};
