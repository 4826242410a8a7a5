#include "DirWalker.h"

#include <QFile>

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

QByteArray withoutTrailingSlashes(QByteArray p)
{
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    return p;
}
} // namespace

QByteArray DirWalker::encode(const QString &path)
{
    return QFile::encodeName(path);
}

int DirWalker::openDir(const QString &path, bool followLink)
{
    const QByteArray p = withoutTrailingSlashes(encode(path));
    if (p.isEmpty())
        return -1;
    return ::open(p.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
}

bool DirWalker::isFileAt(int dirFd, const char *relative)
{
    struct stat st;
    return ::fstatat(dirFd, relative, &st, 0) == 0 && S_ISREG(st.st_mode);
}

bool DirWalker::readFileAt(int dirFd, const char *relative, QByteArray &content, qint64 limit)
{
    // Non-blocking, so a pipe by that name cannot hang the caller in open().
    const int fd = ::openat(dirFd, relative, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
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

bool DirWalker::readFile(const QString &path, QByteArray &content, qint64 limit)
{
    const QByteArray p = encode(path);
    return !p.isEmpty() && readFileAt(AT_FDCWD, p.constData(), content, limit);
}

bool DirWalker::readTree(int fd, std::vector<Entry> &out, quint64 &bytes, qint64 &count,
                         const std::atomic<bool> *stop)
{
    if (!list(fd, out, true))
        return true; // unreadable: nothing to count
    for (Entry &e : out) {
        if (e.kind == Kind::Dir) {
            const int sub = openDirAt(fd, e.name.constData());
            if (sub < 0)
                continue;
            const bool ok = readTree(sub, e.children, bytes, count, stop);
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

int DirWalker::openDirAt(int parentFd, const char *name)
{
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
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

void DirWalker::sortFilesFirst(std::vector<Entry> &entries)
{
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        const bool ad = a.kind == Kind::Dir;
        const bool bd = b.kind == Kind::Dir;
        if (ad != bd)
            return bd;
        return std::strcmp(a.name.constData(), b.name.constData()) < 0;
    });
}

bool DirWalker::sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop)
{
    return sumTree(fd, bytes, count, stop, nullptr, nullptr);
}

bool DirWalker::sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop,
                        const char *suffix, bool *hasSuffix)
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
        if (suffix && hasSuffix && !*hasSuffix && (kind == Kind::File || kind == Kind::Link)) {
            const size_t length = std::strlen(d->d_name);
            struct stat target;
            *hasSuffix = length > suffixLength && ::strcasecmp(d->d_name + length - suffixLength, suffix) == 0
                && (kind == Kind::File
                    || (::fstatat(fd, d->d_name, &target, 0) == 0 && S_ISREG(target.st_mode)));
        }
        if (kind == Kind::Dir) {
            const int sub = openDirAt(fd, d->d_name);
            if (sub >= 0 && !sumTree(sub, bytes, count, stop)) {
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

quint64 DirWalker::measure(const QString &path, qint64 &count, const std::atomic<bool> *stop, bool *missing,
                           bool *stopped)
{
    *missing = false;
    *stopped = false;
    count = 0;
    bool exists = false;
    quint64 size = 0;
    const Kind kind = kindOf(path, &exists, &size);
    if (exists && kind == Kind::File) {
        count = 1;
        return size;
    }
    const int fd = kind == Kind::Dir ? openDir(path) : -1;
    if (fd < 0) {
        *missing = true;
        return 0;
    }
    quint64 bytes = 0;
    *stopped = !sumTree(fd, bytes, count, stop);
    return bytes;
}

QStringList DirWalker::subdirectories(const QString &path)
{
    QStringList result;
    const int fd = openDir(path);
    if (fd < 0)
        return result;
    std::vector<Entry> entries;
    list(fd, entries, false);
    ::close(fd);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return std::strcmp(a.name.constData(), b.name.constData()) < 0;
    });
    for (const Entry &e : entries) {
        if (e.kind == Kind::Dir)
            result.append(QFile::decodeName(e.name));
    }
    return result;
}

bool DirWalker::hasFileWithSuffix(const QString &path, const QByteArray &suffix)
{
    const int fd = openDir(path, true);
    if (fd < 0)
        return false;
    const bool found = hasFileWithSuffix(fd, suffix);
    ::close(fd);
    return found;
}

bool DirWalker::hasFileWithSuffix(int fd, const QByteArray &suffix)
{
    std::vector<Entry> entries;
    list(fd, entries, false);
    bool found = false;
    for (const Entry &e : entries) {
        if (e.name.size() <= suffix.size()
            || ::strcasecmp(e.name.constData() + e.name.size() - suffix.size(), suffix.constData()) != 0)
            continue;
        if (e.kind == Kind::File) {
            found = true;
            break;
        }
        struct stat st;
        if (e.kind == Kind::Link && ::fstatat(fd, e.name.constData(), &st, 0) == 0 && S_ISREG(st.st_mode)) {
            found = true;
            break;
        }
    }
    return found;
}

DirWalker::Kind DirWalker::kindOf(const QString &path, bool *exists, quint64 *size)
{
    const QByteArray p = withoutTrailingSlashes(encode(path));
    struct stat st;
    if (p.isEmpty() || ::lstat(p.constData(), &st) != 0) {
        *exists = false;
        return Kind::Other;
    }
    *exists = true;
    if (size)
        *size = S_ISREG(st.st_mode) ? quint64(st.st_size) : 0;
    return kindOfMode(st.st_mode);
}
