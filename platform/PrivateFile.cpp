#include "PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int openRetrying(const QByteArray &path, int flags, mode_t mode)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags | O_CLOEXEC | O_NOFOLLOW, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}
} // namespace

bool PrivateFile::create(const QString &path)
{
    const int fd = openRetrying(QFile::encodeName(path), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool PrivateFile::prepare(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (create(path))
        return true;
    const QByteArray native = QFile::encodeName(path);
    const int fd = openRetrying(native, O_RDONLY, 0);
    if (fd < 0)
        return false;
    struct stat st;
    const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid();
    const bool ok = ours && ((st.st_mode & 07777) == 0600 || ::fchmod(fd, 0600) == 0);
    ::close(fd);
    return ok;
}

bool PrivateFile::write(const QString &path, const QByteArray &bytes)
{
    // A name of its own beside the target, so that the rename stays on one
    // file system; O_EXCL refuses anything already there.
    const QFileInfo info(path);
    QString temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".new")
                    + QString::number(::getpid()) + QLatin1Char('-') + QString::number(attempt);
        fd = openRetrying(QFile::encodeName(temporary), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    const QByteArray native = QFile::encodeName(temporary);
    if (!written || !closed || ::rename(native.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(native.constData());
        return false;
    }
    return true;
}

bool PrivateFile::makePrivateFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    if (QFileInfo(clean).isDir())
        return true;
    const QString parent = QFileInfo(clean).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    return ::mkdir(QFile::encodeName(clean).constData(), 0700) == 0 || errno == EEXIST;
}
