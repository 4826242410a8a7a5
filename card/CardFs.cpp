#include "CardFs.h"

#include <QList>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<bool> gKernelResolve{true};

QByteArray withoutTrailingSlash(const QByteArray &path)
{
    QByteArray p = path;
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    return p;
}

int closeKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

// openat2 resolving in the kernel: -1 with errno ENOSYS when it cannot be
// used here at all (an old kernel, or a sandbox that filters the call).
int kernelOpen(int dirFd, const char *relative, int flags, mode_t mode)
{
#ifdef SYS_openat2
    if (!gKernelResolve.load(std::memory_order_relaxed)) {
        errno = ENOSYS;
        return -1;
    }
    struct open_how how = {};
    how.flags = quint64(unsigned(flags));
    how.mode = (flags & O_CREAT) ? mode : 0;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_BENEATH;
    const long fd = ::syscall(SYS_openat2, dirFd, relative, &how, sizeof how);
    if (fd >= 0)
        return int(fd);
    if (errno == ENOSYS || errno == EPERM || errno == E2BIG) {
        // Not available to this process: the component walk does the same.
        if (errno != EPERM)
            gKernelResolve = false;
        errno = ENOSYS;
    }
    return -1;
#else
    Q_UNUSED(dirFd) Q_UNUSED(relative) Q_UNUSED(flags) Q_UNUSED(mode)
    errno = ENOSYS;
    return -1;
#endif
}

// Splits a plain relative path into its components.
QList<QByteArray> components(const QByteArray &relative)
{
    return withoutTrailingSlash(relative).split('/');
}
} // namespace

QByteArray CardFs::encodeName(const QString &name)
{
    const int n = name.size();
    const QChar *s = name.constData();
    bool ascii = true;
    for (int i = 0; i < n && ascii; ++i)
        ascii = s[i].unicode() < 0x80;
    if (ascii)
        return name.toLatin1();

    QByteArray out;
    out.reserve(n * 3);
    for (int i = 0; i < n; ++i) {
        const ushort u = s[i].unicode();
        uint cp = u;
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < n && s[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(u, s[i + 1].unicode());
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out += char(u - 0xDC00); // a byte that was not UTF-8, as it was
            continue;
        } else if (QChar::isSurrogate(u)) {
            cp = 0xFFFD; // cannot come from a name on disk
        }
        if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
        }
        out += char(0x80 | (cp & 0x3F));
    }
    return out;
}

QString CardFs::decodeName(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const auto *end = p + bytes.size();
    bool ascii = true;
    for (const uchar *q = p; q < end && ascii; ++q)
        ascii = *q < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes);

    QString out;
    out.reserve(bytes.size());
    while (p < end) {
        const uchar c = *p;
        if (c < 0x80) {
            out += QLatin1Char(char(c));
            ++p;
            continue;
        }
        int length = 0;
        uint cp = 0;
        uint minimum = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, cp = c & 0x1F, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, cp = c & 0x0F, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, cp = c & 0x07, minimum = 0x10000;
        }
        bool ok = length > 0 && end - p >= length;
        for (int i = 1; ok && i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, encoded surrogates and values past Unicode are not
        // UTF-8 either; taking them as such would make two names one.
        if (ok && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += QChar(ushort(0xDC00 + c));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(ushort(cp));
        }
        p += length;
    }
    return out;
}

bool CardFs::isPlainRelative(const QByteArray &relative)
{
    if (relative.isEmpty() || relative.startsWith('/') || relative.contains('\0'))
        return false;
    const QList<QByteArray> parts = components(relative);
    for (const QByteArray &part : parts) {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    return true;
}

int CardFs::openRoot(const QString &root)
{
    const QByteArray p = withoutTrailingSlash(encodeName(root));
    if (p.isEmpty() || !p.startsWith('/')) {
        errno = EINVAL;
        return -1;
    }
    return ::open(p.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int CardFs::openAt(int dirFd, const QByteArray &relative, int flags, mode_t mode)
{
    flags |= O_CLOEXEC | O_NOFOLLOW;
    if (relative.isEmpty())
        return ::openat(dirFd, ".", flags | O_DIRECTORY, mode);
    if (!isPlainRelative(relative)) {
        errno = EINVAL;
        return -1;
    }
    const QByteArray clean = withoutTrailingSlash(relative);
    int fd = kernelOpen(dirFd, clean.constData(), flags, mode);
    if (fd >= 0 || errno != ENOSYS)
        return fd;

    const QList<QByteArray> parts = components(clean);
    int current = dirFd;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(current, parts.at(i).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (current != dirFd)
            closeKeepingErrno(current);
        if (next < 0)
            return -1;
        current = next;
    }
    fd = ::openat(current, parts.last().constData(), flags, mode);
    if (current != dirFd)
        closeKeepingErrno(current);
    return fd;
}

int CardFs::openDirAt(int dirFd, const QByteArray &relative)
{
    return openAt(dirFd, relative, O_RDONLY | O_DIRECTORY);
}

int CardFs::makeDirsAt(int dirFd, const QByteArray &relative, mode_t mode)
{
    if (relative.isEmpty())
        return openDirAt(dirFd, relative);
    if (!isPlainRelative(relative)) {
        errno = EINVAL;
        return -1;
    }
    // Most of the time the folders are there already.
    const int existing = openDirAt(dirFd, relative);
    if (existing >= 0 || errno != ENOENT)
        return existing;

    const QList<QByteArray> parts = components(relative);
    int current = dirFd;
    for (const QByteArray &part : parts) {
        if (::mkdirat(current, part.constData(), mode) != 0 && errno != EEXIST) {
            if (current != dirFd)
                closeKeepingErrno(current);
            return -1;
        }
        // Whatever is there now, a link is never entered.
        const int next = ::openat(current, part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (current != dirFd)
            closeKeepingErrno(current);
        if (next < 0)
            return -1;
        current = next;
    }
    return current == dirFd ? ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0) : current;
}

bool CardFs::statAt(int dirFd, const QByteArray &relative, struct stat *st)
{
    if (relative.isEmpty())
        return ::fstat(dirFd, st) == 0;
    if (!isPlainRelative(relative)) {
        errno = EINVAL;
        return false;
    }
    const QByteArray clean = withoutTrailingSlash(relative);
    const int slash = clean.lastIndexOf('/');
    if (slash < 0)
        return ::fstatat(dirFd, clean.constData(), st, AT_SYMLINK_NOFOLLOW) == 0;
    const int parent = openDirAt(dirFd, clean.left(slash));
    if (parent < 0)
        return false;
    const bool ok = ::fstatat(parent, clean.constData() + slash + 1, st, AT_SYMLINK_NOFOLLOW) == 0;
    closeKeepingErrno(parent);
    return ok;
}

bool CardFs::relativePath(const QString &root, const QString &path, QByteArray *relative)
{
    if (root.isEmpty() || !root.endsWith(QLatin1Char('/')))
        return false;
    QString rest;
    if (path.startsWith(root))
        rest = path.mid(root.size());
    else if (path == root.left(root.size() - 1))
        rest.clear();
    else
        return false;
    *relative = withoutTrailingSlash(encodeName(rest));
    if (*relative == "/")
        relative->clear();
    return true;
}

int CardFs::openDir(const QString &root, const QString &path)
{
    QByteArray name;
    const int parent = openParent(root, path, &name);
    if (parent < 0)
        return -1;
    const int fd = name.isEmpty() ? ::fcntl(parent, F_DUPFD_CLOEXEC, 0) : openDirAt(parent, name);
    if (fd < 0)
        return closeKeepingErrno(parent);
    ::close(parent);
    return fd;
}

int CardFs::openParent(const QString &root, const QString &path, QByteArray *name)
{
    name->clear();
    if (!root.isEmpty()) {
        QByteArray relative;
        if (!relativePath(root, path, &relative)) {
            errno = EXDEV;
            return -1;
        }
        const int rootFd = openRoot(root);
        if (rootFd < 0 || relative.isEmpty())
            return rootFd;
        const int slash = relative.lastIndexOf('/');
        *name = relative.mid(slash + 1);
        if (slash < 0)
            return rootFd;
        const int parent = openDirAt(rootFd, relative.left(slash));
        if (parent < 0)
            return closeKeepingErrno(rootFd);
        ::close(rootFd);
        return parent;
    }
    const QByteArray p = withoutTrailingSlash(encodeName(path));
    const int slash = p.lastIndexOf('/');
    if (p.isEmpty() || slash < 0 || p == "/") {
        errno = EINVAL;
        return -1;
    }
    *name = p.mid(slash + 1);
    if (*name == "." || *name == "..") {
        errno = EINVAL;
        return -1;
    }
    const QByteArray parent = slash == 0 ? QByteArray("/") : p.left(slash);
    return ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool CardFs::moveNoReplace(int fromFd, const char *from, int toFd, const char *to)
{
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: check, then rename.
    struct stat st;
    if (::fstatat(toFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && ::renameat(fromFd, from, toFd, to) == 0;
}

void CardFs::setKernelResolve(bool enabled)
{
    gKernelResolve = enabled;
}

bool CardFs::writeAll(int fd, const char *data, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        data += w;
        n -= size_t(w);
    }
    return true;
}
