#include "ArchiveExtractor.h"

#include "CardFs.h"
#include "InstallLog.h"

#include <QFile>
#include <QHash>
#include <QTextCodec>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kEnd64Signature = 0x06064b50;
constexpr quint32 kLocator64Signature = 0x07064b50;
constexpr quint16 kFlagEncrypted = 0x0001;
constexpr quint16 kFlagStrongEncryption = 0x0040;
constexpr quint16 kFlagUtf8 = 0x0800;
constexpr quint16 kFlagMaskedDirectory = 0x2000;
// DEFLATE yields at most about 1032 bytes per input byte.
constexpr quint64 kMaxRatio = 1100;

quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }
quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint64 le64(const char *p) { return qFromLittleEndian<quint64>(p); }

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool readAt(int fd, quint64 offset, char *out, size_t n)
{
    while (n > 0) {
        const ssize_t r = ::pread(fd, out, n, off_t(offset));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        out += r;
        offset += quint64(r);
        n -= size_t(r);
    }
    return true;
}

// Reads a stretch of the file front to back through a small buffer.
class SequentialReader
{
public:
    SequentialReader(int fd, quint64 begin, quint64 end)
        : mFd(fd), mPos(begin), mEnd(end) {}

    bool read(char *out, size_t n)
    {
        while (n > 0) {
            if (mHead == mTail) {
                const quint64 left = mEnd - mPos;
                if (left == 0)
                    return false;
                const size_t want = size_t(std::min<quint64>(left, sizeof mBuffer));
                if (!readAt(mFd, mPos, mBuffer, want))
                    return false;
                mPos += want;
                mHead = 0;
                mTail = want;
            }
            const size_t take = std::min(n, mTail - mHead);
            std::memcpy(out, mBuffer + mHead, take);
            mHead += take;
            out += take;
            n -= take;
        }
        return true;
    }

private:
    int mFd;
    quint64 mPos;
    quint64 mEnd;
    char mBuffer[64 * 1024];
    size_t mHead = 0;
    size_t mTail = 0;
};

bool isReservedCharacter(ushort c)
{
    return c < 0x20 || c == 0x7f || c == '"' || c == '*' || c == ':' || c == '<' || c == '>' || c == '?'
        || c == '|' || c == '\\';
}
// Why closing an entry's stream failed (its checksum, read at the end).
QString closeProblem(zip_file_t *in)
{
    const int closed = zip_fclose(in);
    if (closed == 0)
        return QString();
    zip_error_t ze;
    zip_error_init_with_code(&ze, closed);
    const QString text = QString::fromUtf8(zip_error_strerror(&ze));
    zip_error_fini(&ze);
    return text;
}

// Reads an opened entry to its end into `into`, which has room for one
// byte more than `declared` (that byte tells an entry that lies), and
// closes it; why it failed, empty when it gave exactly `declared` bytes.
QString readEntry(zip_file_t *in, char *into, quint64 declared)
{
    quint64 got = 0;
    QString problem;
    while (problem.isEmpty()) {
        const zip_int64_t r = zip_fread(in, into + got, zip_uint64_t(declared + 1 - got));
        if (r < 0)
            problem = QString::fromUtf8(zip_file_strerror(in));
        else if (r == 0)
            break;
        else if ((got += quint64(r)) > declared)
            problem = QStringLiteral("more data than it declares");
    }
    const QString closing = closeProblem(in);
    if (problem.isEmpty())
        problem = closing;
    if (problem.isEmpty() && got != declared)
        problem = QStringLiteral("less data than it declares");
    return problem;
}

} // namespace

struct ArchiveExtractor::Record
{
    QByteArray name;
    quint64 size = 0;
    quint64 compressedSize = 0;
    quint64 localOffset = 0;
    quint64 dataEnd = 0;
    quint32 crc = 0;
    quint32 externalAttributes = 0;
    quint16 flags = 0;
    quint16 method = 0;
    quint8 madeBy = 0; // the host system
};

ArchiveExtractor::ArchiveExtractor() = default;

ArchiveExtractor::~ArchiveExtractor()
{
    close();
    if (mInflater)
        libdeflate_free_decompressor(mInflater);
}

void ArchiveExtractor::close()
{
    forgetFolder();
    if (mZip) {
        zip_discard(mZip);
        mZip = nullptr;
    }
    if (mFd >= 0) {
        ::close(mFd);
        mFd = -1;
    }
    mEntries.clear();
    std::vector<char>().swap(mBuffer);
    std::vector<char>().swap(mPacked);
    std::vector<char>().swap(mUnpacked);
}

bool ArchiveExtractor::fail(const QString &message)
{
    mError = message;
    return false;
}

bool ArchiveExtractor::broken(const QString &message)
{
    mBroken = true;
    return fail(message);
}

bool ArchiveExtractor::open(const QString &path, quint64 budget, quint64 blockSize)
{
    close();
    mError.clear();
    mBroken = false;
    mCancelled = false;
    mOutOfSpace = false;
    mRequired = 0;
    mFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (mFd < 0 || ::fstat(mFd, &st) != 0)
        return fail(QStringLiteral("cannot open the archive: ") + errnoText());
    if (!S_ISREG(st.st_mode))
        return fail(QStringLiteral("the archive is not a file"));
    mFileSize = quint64(st.st_size);

    std::vector<Record> records;
    if (!readCentralDirectory(records))
        return false;

    // libzip reads through its own descriptor (and closes it).
    const int own = ::fcntl(mFd, F_DUPFD_CLOEXEC, 0);
    int error = 0;
    mZip = own >= 0 ? zip_fdopen(own, ZIP_CHECKCONS | ZIP_RDONLY, &error) : nullptr;
    if (!mZip) {
        if (own >= 0)
            ::close(own);
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const QString text = QString::fromUtf8(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return broken(QStringLiteral("not a readable zip archive: ") + text);
    }
    if (!checkEntries(records, budget, std::max<quint64>(blockSize, 1))) {
        mEntries.clear();
        return false;
    }
    mBuffer.resize(size_t(kChunk));
    return true;
}

// The central directory as written, for what libzip does not tell: where
// each entry's bytes lie (so that entries sharing bytes are refused) and the
// flags and attributes as stored.
bool ArchiveExtractor::readCentralDirectory(std::vector<Record> &records)
{
    const quint64 tailSize = std::min<quint64>(mFileSize, 22 + 0xFFFF);
    if (tailSize < 22)
        return broken(QStringLiteral("not a zip archive (too short)"));
    const quint64 tailStart = mFileSize - tailSize;
    std::vector<char> tail(tailSize);
    if (!readAt(mFd, tailStart, tail.data(), tailSize))
        return broken(QStringLiteral("cannot read the archive"));
    qint64 at = -1;
    for (qint64 p = qint64(tailSize) - 22; p >= 0 && at < 0; --p) {
        if (le32(&tail[size_t(p)]) == kEndSignature && quint64(p) + 22 + le16(&tail[size_t(p) + 20]) <= tailSize)
            at = p;
    }
    if (at < 0)
        return broken(QStringLiteral("not a zip archive (no end record)"));
    const char *end = &tail[size_t(at)];
    const quint64 endOffset = tailStart + quint64(at);
    if (le16(end + 4) != 0 || le16(end + 6) != 0)
        return broken(QStringLiteral("split archives are not supported"));
    quint64 entries = le16(end + 10);
    quint64 cdSize = le32(end + 12);
    quint64 cdOffset = le32(end + 16);
    quint64 cdLimit = endOffset;

    if (endOffset >= 20) {
        char locator[20];
        if (readAt(mFd, endOffset - 20, locator, 20) && le32(locator) == kLocator64Signature) {
            const quint64 recordOffset = le64(locator + 8);
            char record[56];
            if (recordOffset > endOffset - 20 || endOffset - 20 - recordOffset < 56
                || !readAt(mFd, recordOffset, record, 56) || le32(record) != kEnd64Signature)
                return broken(QStringLiteral("broken zip64 end record"));
            entries = le64(record + 32);
            cdSize = le64(record + 40);
            cdOffset = le64(record + 48);
            cdLimit = recordOffset;
        }
    }
    if (entries > quint64(kMaxEntries))
        return broken(QStringLiteral("too many entries (%1)").arg(entries));
    if (cdOffset > cdLimit || cdSize > cdLimit - cdOffset || cdSize < entries * 46)
        return broken(QStringLiteral("the central directory does not fit the archive"));

    records.reserve(size_t(entries));
    SequentialReader reader(mFd, cdOffset, cdOffset + cdSize);
    std::vector<std::pair<quint64, quint64>> spans;
    spans.reserve(size_t(entries));
    for (quint64 i = 0; i < entries; ++i) {
        char h[46];
        if (!reader.read(h, 46) || le32(h) != kCentralSignature)
            return broken(QStringLiteral("broken central directory at entry %1").arg(i));
        Record r;
        r.madeBy = quint8(h[5]);
        r.flags = le16(h + 8);
        r.method = le16(h + 10);
        r.crc = le32(h + 16);
        r.compressedSize = le32(h + 20);
        r.size = le32(h + 24);
        const quint16 nameLength = le16(h + 28);
        const quint16 extraLength = le16(h + 30);
        const quint16 commentLength = le16(h + 32);
        r.externalAttributes = le32(h + 38);
        r.localOffset = le32(h + 42);
        r.name.resize(nameLength);
        QByteArray extra(extraLength, Qt::Uninitialized);
        QByteArray comment(commentLength, Qt::Uninitialized);
        if (!reader.read(r.name.data(), nameLength) || !reader.read(extra.data(), extraLength)
            || !reader.read(comment.data(), commentLength))
            return broken(QStringLiteral("broken central directory at entry %1").arg(i));

        // Values too large for their field are in the zip64 extra field, in
        // this order.
        quint64 *wide[] = {r.size == 0xFFFFFFFFu ? &r.size : nullptr,
                           r.compressedSize == 0xFFFFFFFFu ? &r.compressedSize : nullptr,
                           r.localOffset == 0xFFFFFFFFu ? &r.localOffset : nullptr};
        bool missing = wide[0] || wide[1] || wide[2];
        for (int p = 0; missing && p + 4 <= extra.size();) {
            const quint16 id = le16(extra.constData() + p);
            const quint16 length = le16(extra.constData() + p + 2);
            if (p + 4 + length > extra.size())
                break;
            if (id == 0x0001) {
                int q = p + 4;
                missing = false;
                for (quint64 *field : wide) {
                    if (!field)
                        continue;
                    if (q + 8 > p + 4 + length) {
                        missing = true;
                        break;
                    }
                    *field = le64(extra.constData() + q);
                    q += 8;
                }
                break;
            }
            p += 4 + length;
        }
        if (missing)
            return broken(QStringLiteral("entry %1: zip64 sizes missing").arg(i));

        char local[30];
        if (r.localOffset > cdOffset || cdOffset - r.localOffset < 30 || !readAt(mFd, r.localOffset, local, 30)
            || le32(local) != kLocalSignature)
            return broken(QStringLiteral("entry %1: no local header where the directory says").arg(i));
        const quint64 dataStart = r.localOffset + 30 + le16(local + 26) + le16(local + 28);
        if (dataStart > cdOffset || r.compressedSize > cdOffset - dataStart)
            return broken(QStringLiteral("entry %1: its data does not fit the archive").arg(i));
        r.dataEnd = dataStart + r.compressedSize;
        spans.emplace_back(r.localOffset, r.dataEnd);
        records.push_back(std::move(r));
    }

    // Entries sharing bytes are how small archives unpack into huge ones.
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second)
            return broken(QStringLiteral("entries overlap in the archive"));
    }
    return true;
}

bool ArchiveExtractor::checkEntries(const std::vector<Record> &records, quint64 budget, quint64 blockSize)
{
    const zip_int64_t n = zip_get_num_entries(mZip, 0);
    if (n < 0 || quint64(n) != records.size())
        return broken(QStringLiteral("the archive's directory is inconsistent"));
    mEntries.reserve(records.size());
    // Folded names (a FAT card ignores letter case) and whether each is a folder.
    QHash<QString, bool> seen;
    seen.reserve(int(records.size()));
    quint64 total = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record &r = records[i];
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(mZip, i, ZIP_FL_ENC_RAW, &st) != 0 || !st.name || QByteArray(st.name) != r.name
            || st.size != r.size || st.comp_size != r.compressedSize || st.crc != r.crc
            || st.comp_method != r.method)
            return broken(QStringLiteral("entry %1: the archive's directory is inconsistent").arg(i));

        bool ok = false;
        QString name = decodeName(r.name, r.flags & kFlagUtf8, &ok);
        if (!ok && !(r.flags & kFlagUtf8)) {
            // Neither UTF-8 nor GB18030: the zip format's own code page.
            const char *cp437 = zip_get_name(mZip, i, ZIP_FL_ENC_STRICT);
            ok = cp437 != nullptr;
            name = QString::fromUtf8(cp437);
        }
        if (!ok)
            return broken(QStringLiteral("entry %1: its name is not valid UTF-8").arg(i));
        const QString label = QStringLiteral("entry \"%1\": ").arg(name);
        const QString problem = nameProblem(name);
        if (!problem.isEmpty())
            return broken(label + problem);
        if ((r.flags & (kFlagEncrypted | kFlagStrongEncryption | kFlagMaskedDirectory))
            || st.encryption_method != ZIP_EM_NONE)
            return broken(label + QStringLiteral("encrypted"));
        if (r.method != ZIP_CM_STORE && r.method != ZIP_CM_DEFLATE)
            return broken(label + QStringLiteral("unsupported compression method %1").arg(r.method));

        Entry e;
        e.isDir = name.endsWith(QLatin1Char('/'));
        if (e.isDir)
            name.chop(1);
        if (r.madeBy == ZIP_OPSYS_UNIX) {
            const quint32 type = (r.externalAttributes >> 16) & S_IFMT;
            if (type != 0 && type != (e.isDir ? S_IFDIR : S_IFREG))
                return broken(label + (type == S_IFLNK ? QStringLiteral("symbolic link")
                                                     : QStringLiteral("neither a file nor a folder")));
        }
        if (e.isDir && r.size != 0)
            return broken(label + QStringLiteral("a folder with data"));
        if (r.method == ZIP_CM_STORE ? r.size != r.compressedSize
                                     : r.size / kMaxRatio > r.compressedSize + 1)
            return broken(label + QStringLiteral("declares a size its data cannot have"));

        const QString folded = name.toCaseFolded();
        for (int slash = folded.indexOf(QLatin1Char('/')); slash > 0; slash = folded.indexOf(QLatin1Char('/'), slash + 1)) {
            const QString parent = folded.left(slash);
            const auto p = seen.constFind(parent);
            if (p == seen.constEnd())
                seen.insert(parent, true);
            else if (!p.value())
                return broken(label + QStringLiteral("a file of that name is in its path"));
        }
        const auto it = seen.constFind(folded);
        if (it != seen.constEnd() && !(it.value() && e.isDir))
            return broken(label + QStringLiteral("another entry has the same name"));
        seen.insert(folded, e.isDir);

        if (!e.isDir) {
            const quint64 blocks = r.size / blockSize + (r.size % blockSize ? 1 : 0);
            if (blocks > (budget - total) / blockSize) {
                mOutOfSpace = true;
                return fail(label + QStringLiteral("the archive needs more space than there is"));
            }
            total += blocks * blockSize;
            mRequired = total;
        }
        e.path = name;
        e.diskPath = CardFs::encodeName(name);
        e.size = r.size;
        e.crc = r.crc;
        e.packedSize = r.compressedSize;
        e.deflated = r.method == ZIP_CM_DEFLATE;
        e.mtime = (st.valid & ZIP_STAT_MTIME) ? qint64(st.mtime) : 0;
        mEntries.push_back(std::move(e));
    }
    return true;
}

QString ArchiveExtractor::decodeName(const QByteArray &raw, bool utf8Flag, bool *ok)
{
    const QString utf8 = CardFs::decodeName(raw);
    // CardFs maps each byte that is not UTF-8 to U+DC80..U+DCFF.
    const bool valid = std::none_of(utf8.cbegin(), utf8.cend(), [](QChar c) {
        return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
    });
    *ok = valid;
    if (valid || utf8Flag)
        return utf8;
    static QTextCodec *const gb = QTextCodec::codecForName("GB18030");
    if (gb) {
        QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
        const QString text = gb->toUnicode(raw.constData(), raw.size(), &state);
        if (state.invalidChars == 0 && state.remainingChars == 0 && !text.contains(QChar(0))
            && !text.contains(QChar::ReplacementCharacter)) {
            *ok = true;
            return text;
        }
    }
    *ok = false;
    return QString();
}

QString ArchiveExtractor::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("empty name");
    if (name.contains(QLatin1Char('\\')))
        return QStringLiteral("backslash in the name");
    if (name.startsWith(QLatin1Char('/')))
        return QStringLiteral("absolute name");
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).unicode() < 0x80 && name.at(0).isLetter())
        return QStringLiteral("drive letter");
    QString path = name;
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    int depth = 0;
    for (const QStringRef &part : path.splitRef(QLatin1Char('/'))) {
        if (++depth > kMaxDepth)
            return QStringLiteral("nested too deep");
        if (part.isEmpty())
            return QStringLiteral("empty path component");
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return QStringLiteral("\".\" or \"..\" component");
        if (part.size() > 255)
            return QStringLiteral("component longer than 255 characters");
        if (part.endsWith(QLatin1Char('.')) || part.endsWith(QLatin1Char(' ')))
            return QStringLiteral("component ending in a dot or space");
        for (int i = 0; i < part.size(); ++i) {
            const QChar c = part.at(i);
            if (isReservedCharacter(c.unicode()))
                return QStringLiteral("character not allowed on the card");
            if (c.isHighSurrogate() && i + 1 < part.size() && part.at(i + 1).isLowSurrogate()) {
                ++i;
                continue;
            }
            if (c.isSurrogate())
                return QStringLiteral("not a valid character");
        }
    }
    return QString();
}

int ArchiveExtractor::indexOf(const QString &path) const
{
    for (size_t i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].path.compare(path, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool ArchiveExtractor::read(int i, QByteArray *out, qint64 limit)
{
    mBroken = false;
    if (!mZip || i < 0 || i >= count() || mEntries[size_t(i)].isDir)
        return fail(QStringLiteral("no such file entry"));
    const Entry &e = mEntries[size_t(i)];
    const QString label = QStringLiteral("entry \"%1\": ").arg(e.path);
    if (e.size > quint64(limit))
        return fail(label + QStringLiteral("larger than %1 bytes").arg(limit));
    zip_file_t *in = zip_fopen_index(mZip, zip_uint64_t(i), 0);
    if (!in)
        return broken(label + QString::fromUtf8(zip_strerror(mZip)));
    QByteArray data(int(e.size) + 1, Qt::Uninitialized);
    const QString problem = readEntry(in, data.data(), e.size);
    if (!problem.isEmpty())
        return broken(label + problem);
    data.resize(int(e.size));
    *out = data;
    return true;
}

bool ArchiveExtractor::extract(int i, int dirFd, const std::atomic<bool> *cancel)
{
    mBroken = false;
    mOutOfSpace = false;
    if (!mZip || i < 0 || i >= count())
        return fail(QStringLiteral("no such entry"));
    const Entry &e = mEntries[size_t(i)];
    const QString label = QStringLiteral("entry \"%1\": ").arg(e.path);
    qCDebug(lcInstall).noquote() << "FileInfo filePath: " << e.path;
    if (e.isDir) {
        const int fd = CardFs::makeDirsAt(dirFd, e.diskPath);
        if (fd < 0)
            return fail(label + QStringLiteral("cannot make the folder: ") + errnoText());
        ::close(fd);
        return true;
    }

    const int slash = e.diskPath.lastIndexOf('/');
    int parent = dirFd;
    if (slash > 0) {
        qCDebug(lcInstall) << "mkpath...";
        parent = folderOf(dirFd, e.diskPath.left(slash));
        if (parent < 0)
            return fail(label + QStringLiteral("cannot make its folder: ") + errnoText());
    }
    const QByteArray leaf = e.diskPath.mid(slash + 1);
    qCDebug(lcInstall) << "file.open...";
    const int out = ::openat(parent, leaf.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    qCDebug(lcInstall) << "file.open: " << (out >= 0);
    QString problem;
    if (out < 0) {
        mOutOfSpace = errno == ENOSPC || errno == EDQUOT;
        problem = QStringLiteral("cannot create the file: ") + errnoText();
    } else if (cancel && cancel->load(std::memory_order_relaxed)) {
        mCancelled = true;
        problem = QStringLiteral("cancelled");
    } else if (e.deflated && e.size > 0 && e.size <= kWhole && e.packedSize <= kWhole && inflateWhole(i, e)) {
        if (!CardFs::writeAll(out, mUnpacked.data(), size_t(e.size))) {
            mOutOfSpace = errno == ENOSPC || errno == EDQUOT;
            problem = QStringLiteral("cannot write: ") + errnoText();
        }
    } else {
        problem = writeStream(i, e, out, cancel);
    }
    if (problem.isEmpty()) {
        qCDebug(lcInstall) << "setFileTime";
        const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(e.mtime), 0}};
        if (::futimens(out, times) == 0)
            qCDebug(lcInstall) << "setFileTime OK";
    }
    if (out >= 0 && ::close(out) != 0 && problem.isEmpty())
        problem = QStringLiteral("cannot write: ") + errnoText();
    qCDebug(lcInstall) << "Close";
    if (!problem.isEmpty() && out >= 0)
        ::unlinkat(parent, leaf.constData(), 0);
    if (!problem.isEmpty())
        return fail(label + problem);
    return true;
}

int ArchiveExtractor::folderOf(int dirFd, const QByteArray &relative)
{
    if (mFolderFd >= 0 && mFolderBase == dirFd && mFolderPath == relative)
        return mFolderFd;
    forgetFolder();
    const int fd = CardFs::makeDirsAt(dirFd, relative);
    if (fd >= 0) {
        mFolderFd = fd;
        mFolderBase = dirFd;
        mFolderPath = relative;
    }
    return fd;
}

void ArchiveExtractor::forgetFolder()
{
    if (mFolderFd >= 0)
        ::close(mFolderFd);
    mFolderFd = -1;
    mFolderBase = -1;
    mFolderPath.clear();
}

bool ArchiveExtractor::inflateWhole(int i, const Entry &e)
{
    zip_file_t *in = zip_fopen_index(mZip, zip_uint64_t(i), ZIP_FL_COMPRESSED);
    if (!in)
        return false;
    // The buffers only grow: shrinking and growing again would zero the
    // regrown part for every entry.
    if (mPacked.size() < size_t(e.packedSize) + 1)
        mPacked.resize(size_t(e.packedSize) + 1);
    if (!readEntry(in, mPacked.data(), e.packedSize).isEmpty())
        return false;
    if (!mInflater && !(mInflater = libdeflate_alloc_decompressor()))
        return false;
    if (mUnpacked.size() < size_t(e.size))
        mUnpacked.resize(size_t(e.size));
    return libdeflate_deflate_decompress(mInflater, mPacked.data(), size_t(e.packedSize), mUnpacked.data(),
                                         size_t(e.size), nullptr)
               == LIBDEFLATE_SUCCESS
           && libdeflate_crc32(0, mUnpacked.data(), size_t(e.size)) == e.crc;
}

QString ArchiveExtractor::writeStream(int i, const Entry &e, int out, const std::atomic<bool> *cancel)
{
    zip_file_t *in = zip_fopen_index(mZip, zip_uint64_t(i), 0);
    if (!in) {
        mBroken = true;
        return QString::fromUtf8(zip_strerror(mZip));
    }
    QString problem;
    quint64 got = 0;
    while (true) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            mCancelled = true;
            problem = QStringLiteral("cancelled");
            break;
        }
        const zip_int64_t r = zip_fread(in, mBuffer.data(), zip_uint64_t(mBuffer.size()));
        if (r < 0) {
            problem = QString::fromUtf8(zip_file_strerror(in));
            mBroken = true;
            break;
        }
        if (r == 0)
            break;
        got += quint64(r);
        if (got > e.size) {
            problem = QStringLiteral("more data than it declares");
            mBroken = true;
            break;
        }
        if (!CardFs::writeAll(out, mBuffer.data(), size_t(r))) {
            mOutOfSpace = errno == ENOSPC || errno == EDQUOT;
            problem = QStringLiteral("cannot write: ") + errnoText();
            break;
        }
    }
    // The checksum is known once the data has been read to its end.
    const QString closing = closeProblem(in);
    if (problem.isEmpty() && !closing.isEmpty()) {
        problem = closing;
        mBroken = true;
    }
    if (problem.isEmpty() && got != e.size) {
        problem = QStringLiteral("less data than it declares");
        mBroken = true;
    }
    return problem;
}
