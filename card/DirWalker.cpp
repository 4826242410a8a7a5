#include "DirWalker.h"

#include "CardFs.h"
#include "CardLog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool isDotOrDotDot(const char *n)
{
    return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
}

DirWalker::Kind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return DirWalker::Kind::File;
    if (S_ISDIR(mode))
        return DirWalker::Kind::Dir;
    if (S_ISLNK(mode))
        return DirWalker::Kind::Link;
    return DirWalker::Kind::Other;
}

DirWalker::Kind kindOfDirent(unsigned char type)
{
    switch (type) {
    case DT_REG: return DirWalker::Kind::File;
    case DT_DIR: return DirWalker::Kind::Dir;
    case DT_LNK: return DirWalker::Kind::Link;
    case DT_UNKNOWN: break;
    default: return DirWalker::Kind::Other;
    }
    return DirWalker::Kind::Other;
}

bool removeTreeAt(int dirFd, const char *name, int depth)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(dirFd, name, 0) == 0;
    // Deeper than anything this program makes; refused rather than recursed.
    if (depth >= 256)
        return false;
    const int fd = DirWalker::openDirAt(dirFd, name);
    if (fd < 0)
        return false;
    std::vector<DirWalker::Entry> entries;
    bool ok = DirWalker::list(fd, entries, false);
    for (const DirWalker::Entry &e : entries)
        ok = removeTreeAt(fd, e.name.constData(), depth + 1) && ok;
    ::close(fd);
    return ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0 && ok;
}

} // namespace

QByteArray DirWalker::encode(const QString &path)
{
    return CardFs::encodeName(path);
}

QString DirWalker::decode(const QByteArray &name)
{
    return CardFs::decodeName(name);
}

bool DirWalker::isFileAt(int dirFd, const QByteArray &relative)
{
    struct stat st;
    return CardFs::statAt(dirFd, relative, &st) && S_ISREG(st.st_mode);
}

bool DirWalker::readFileAt(int dirFd, const QByteArray &relative, QByteArray &content, qint64 limit)
{
    // Non-blocking, so a pipe by that name cannot hang the caller in open().
    const int fd = CardFs::openAt(dirFd, relative, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit) {
        ::close(fd);
        return false;
    }
    // One read for the usual file: asking for a byte more than its size
    // tells the end without a second call. A file that grows meanwhile is
    // read on, but never past the limit.
    QByteArray buffer;
    buffer.resize(int(qMin<qint64>(st.st_size, limit) + 1));
    qint64 filled = 0;
    while (true) {
        if (filled == buffer.size()) {
            if (filled > limit) {
                ::close(fd);
                return false;
            }
            buffer.resize(int(qMin<qint64>(qint64(buffer.size()) * 2, limit + 1)));
        }
        const ssize_t n = ::read(fd, buffer.data() + filled, size_t(buffer.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        filled += n;
        if (filled < buffer.size() && filled >= st.st_size)
            break; // a short read at the known size is the end
    }
    ::close(fd);
    if (filled > limit)
        return false;
    buffer.resize(int(filled));
    content = buffer;
    return true;
}

bool DirWalker::readFile(const QString &path, QByteArray &content, qint64 limit, const QString &root)
{
    QByteArray name;
    const int parent = CardFs::openParent(root, path, &name);
    if (parent < 0)
        return false;
    const bool ok = !name.isEmpty() && readFileAt(parent, name, content, limit);
    ::close(parent);
    return ok;
}

bool DirWalker::readTree(int fd, std::vector<Entry> &out, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop,
                         bool *cut, bool withSizes, int depth)
{
    if (!list(fd, out, withSizes))
        return true; // unreadable: nothing to count
    for (Entry &e : out) {
        if (e.kind == Kind::Dir) {
            if (depth + 1 >= kMaxDepth) {
                qCDebug(lcCard) << "folders nested deeper than" << kMaxDepth << "levels are left out";
                if (cut)
                    *cut = true;
                continue;
            }
            const int sub = openDirAt(fd, e.name.constData());
            if (sub < 0)
                continue;
            const bool ok = readTree(sub, e.children, bytes, count, stop, cut, withSizes, depth + 1);
            ::close(sub);
            if (!ok)
                return false;
        } else if (e.kind == Kind::File) {
            if (stop && stop->load(std::memory_order_relaxed))
                return false;
            bytes += e.size;
            ++count;
        }
    }
    return true;
}

bool DirWalker::hasContent(int fd, const std::vector<Entry> &entries)
{
    for (const Entry &e : entries) {
        struct stat st;
        if (e.kind == Kind::File && ::fstatat(fd, e.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode) && st.st_size > 0)
            return true;
    }
    const int walkFd = openDirAt(fd, ".");
    if (walkFd < 0)
        return false;
    quint64 bytes = 0;
    qint64 count = 0;
    sumTree(walkFd, bytes, count, nullptr);
    return bytes > 0;
}

int DirWalker::openDirAt(int parentFd, const char *name)
{
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool DirWalker::removeTree(int dirFd, const char *name)
{
    return removeTreeAt(dirFd, name, 0);
}

bool DirWalker::list(int fd, std::vector<Entry> &out, bool withSizes)
{
    const int own = ::dup(fd);
    if (own < 0)
        return false;
    DIR *dir = ::fdopendir(own);
    if (!dir) {
        ::close(own);
        return false;
    }
    ::rewinddir(dir);
    while (const dirent *d = ::readdir(dir)) {
        if (isDotOrDotDot(d->d_name))
            continue;
        Entry e;
        e.name = QByteArray(d->d_name);
        e.kind = kindOfDirent(d->d_type);
        const bool unknown = d->d_type == DT_UNKNOWN;
        if (unknown || (withSizes && e.kind == Kind::File)) {
            struct stat st;
            if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished meanwhile
            e.kind = kindOfMode(st.st_mode);
            if (e.kind == Kind::File)
                e.size = quint64(st.st_size);
        }
        out.push_back(std::move(e));
    }
    ::closedir(dir);
    return true;
}

std::vector<DirWalker::Entry> DirWalker::subdirectories(int fd)
{
    std::vector<Entry> entries;
    list(fd, entries, false);
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const Entry &e) { return e.kind != Kind::Dir; }),
                  entries.end());
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return std::strcmp(a.name.constData(), b.name.constData()) < 0; });
    return entries;
}

void DirWalker::sortFilesFirst(std::vector<Entry> &entries, const std::function<int(const Entry &)> &rank)
{
    const auto filesFirst = [](const Entry &a, const Entry &b) {
        const bool ad = a.kind == Kind::Dir;
        const bool bd = b.kind == Kind::Dir;
        if (ad != bd)
            return bd;
        return std::strcmp(a.name.constData(), b.name.constData()) < 0;
    };
    if (!rank) {
        std::sort(entries.begin(), entries.end(), filesFirst);
        return;
    }
    std::vector<std::pair<int, Entry>> ranked;
    ranked.reserve(entries.size());
    for (Entry &e : entries) {
        const int r = rank(e);
        ranked.emplace_back(r, std::move(e));
    }
    std::sort(ranked.begin(), ranked.end(), [&filesFirst](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : filesFirst(a.second, b.second);
    });
    for (size_t i = 0; i < ranked.size(); ++i)
        entries[i] = std::move(ranked[i].second);
}

bool DirWalker::sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop, const char *suffix,
                        bool *hasSuffix, int depth)
{
    const size_t suffixLength = suffix ? std::strlen(suffix) : 0;
    if (hasSuffix)
        *hasSuffix = false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return true;
    }
    bool ok = true;
    while (const dirent *d = ::readdir(dir)) {
        if (isDotOrDotDot(d->d_name))
            continue;
        Kind kind = kindOfDirent(d->d_type);
        struct stat st;
        if (d->d_type == DT_UNKNOWN || kind == Kind::File) {
            if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished meanwhile
            kind = kindOfMode(st.st_mode);
        }
        if (suffix && hasSuffix && !*hasSuffix && kind == Kind::File) {
            const size_t length = std::strlen(d->d_name);
            *hasSuffix = length > suffixLength && ::strcasecmp(d->d_name + length - suffixLength, suffix) == 0;
        }
        if (kind == Kind::Dir) {
            if (depth + 1 >= kMaxDepth) {
                qCDebug(lcCard) << "folders nested deeper than" << kMaxDepth << "levels are not counted";
                continue;
            }
            const int sub = openDirAt(fd, d->d_name);
            if (sub >= 0 && !sumTree(sub, bytes, count, stop, nullptr, nullptr, depth + 1)) {
                ok = false;
                break;
            }
            continue;
        }
        if (kind != Kind::File)
            continue; // links and special files count for nothing
        if (stop && stop->load(std::memory_order_relaxed)) {
            ok = false;
            break;
        }
        bytes += quint64(st.st_size);
        ++count;
    }
    ::closedir(dir);
    return ok;
}

quint64 DirWalker::measure(const QString &root, const QString &path, qint64 &count, const std::atomic<bool> *stop,
                           bool *missing, bool *stopped)
{
    *missing = false;
    *stopped = false;
    count = 0;
    QByteArray name;
    const int parent = CardFs::openParent(root, path, &name);
    struct stat st;
    if (parent < 0 || ::fstatat(parent, name.isEmpty() ? "." : name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (parent >= 0)
            ::close(parent);
        *missing = true;
        return 0;
    }
    if (S_ISREG(st.st_mode)) {
        ::close(parent);
        count = 1;
        return quint64(st.st_size);
    }
    const int fd = S_ISDIR(st.st_mode) ? CardFs::openDirAt(parent, name) : -1;
    ::close(parent);
    if (fd < 0) {
        *missing = true;
        return 0;
    }
    quint64 bytes = 0;
    *stopped = !sumTree(fd, bytes, count, stop);
    return bytes;
}

namespace {
void collectDirectories(int fd, const QString &path, int depth, QStringList &out,
                        const std::function<bool(const QString &)> &keep)
{
    for (const DirWalker::Entry &e : DirWalker::subdirectories(fd)) {
        const QString sub = path + DirWalker::decode(e.name) + QLatin1Char('/');
        if (keep && !keep(sub))
            continue;
        if (depth + 1 >= DirWalker::kMaxDepth) {
            qCDebug(lcCard) << "folders nested deeper than" << DirWalker::kMaxDepth << "levels are not watched";
            continue;
        }
        const int subFd = DirWalker::openDirAt(fd, e.name.constData());
        if (subFd < 0)
            continue;
        out.append(sub);
        collectDirectories(subFd, sub, depth + 1, out, keep);
        ::close(subFd);
    }
}
} // namespace

QStringList DirWalker::directories(const QString &root, const QString &start,
                                   const std::function<bool(const QString &)> &keep)
{
    QStringList result;
    QString top = root + start;
    if (!top.endsWith(QLatin1Char('/')))
        top += QLatin1Char('/');
    const int fd = CardFs::openDir(root, top);
    if (fd < 0)
        return result;
    result.append(top);
    collectDirectories(fd, top, 0, result, keep);
    ::close(fd);
    return result;
}

bool DirWalker::hasFileWithSuffix(int fd, const QByteArray &suffix)
{
    std::vector<Entry> entries;
    list(fd, entries, false);
    for (const Entry &e : entries) {
        if (e.kind == Kind::File && e.name.size() > suffix.size()
            && ::strcasecmp(e.name.constData() + e.name.size() - suffix.size(), suffix.constData()) == 0)
            return true;
    }
    return false;
}
