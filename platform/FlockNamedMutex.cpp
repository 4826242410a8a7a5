#include "FlockNamedMutex.h"

#include "PlatformLog.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int flockRetrying(int fd, int operation)
{
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// A folder only this user can write to; refuses one that another user made
// (it could hold links planted to redirect the lock files).
bool ensurePrivateFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    if (::lstat(native.constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0077) == 0;
}

int openLockFile(const QString &path)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        qCDebug(lcPlatform) << "cannot open lock file" << path << errno;
    return fd;
}

QString lockFileIn(const QString &dir, const QString &name)
{
    if (dir.isEmpty())
        return QString();
    // Percent-encoding keeps distinct names distinct and '/' out of the file name.
    const QByteArray encoded = QUrl::toPercentEncoding(name, QByteArray(), QByteArray("."));
    return dir + QLatin1Char('/') + QString::fromLatin1(encoded) + QStringLiteral(".lock");
}
} // namespace

QString FlockNamedMutex::runtimeDir()
{
    // Read directly: QStandardPaths warns about a missing or loose runtime
    // folder, and the warning would end up in the user's log.
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        struct stat st;
        if (::stat(QFile::encodeName(xdg).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
            && (st.st_mode & 0077) == 0)
            return QDir::cleanPath(xdg);
    }
    return privateFallbackDir();
}

QString FlockNamedMutex::privateFallbackDir()
{
    // Below the user's home, never in the shared temporary folder: there
    // another user could make the folder first, and every copy of the
    // program would then run without its lock.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return QString();
    const QString fallback = cache + QStringLiteral("/ostrel-runtime");
    return ensurePrivateFolder(fallback) ? fallback : QString();
}

QString FlockNamedMutex::lockFilePath(const QString &name)
{
    return lockFileIn(runtimeDir(), name);
}

FlockNamedMutex::FlockNamedMutex(const QString &name)
    : mPath(lockFilePath(name))
{
    // Copies started from another session (ssh, sudo, a launcher) may see
    // another runtime folder or none; the lock file below the home is the
    // one they all share. The lock is held only with both files.
    const QString homePath = lockFileIn(privateFallbackDir(), name);
    // A lock that cannot be had counts as held by someone else: the caller
    // then says so instead of going on unguarded.
    if (mPath.isEmpty() || homePath.isEmpty()) {
        qCDebug(lcPlatform) << "no private folder for lock" << name;
        mExisted = mBroken = true;
        return;
    }
    mHomeFd = openLockFile(homePath);
    if (mHomeFd >= 0 && homePath != mPath)
        mFd = openLockFile(mPath);
    if (mHomeFd < 0 || (homePath != mPath && mFd < 0)) {
        mExisted = mBroken = true;
        return;
    }
    // The same file under two names would be locked against itself.
    struct stat home, runtime;
    if (mFd >= 0 && ::fstat(mHomeFd, &home) == 0 && ::fstat(mFd, &runtime) == 0 && home.st_dev == runtime.st_dev
        && home.st_ino == runtime.st_ino) {
        ::close(mFd);
        mFd = -1;
    }
    if (take(LOCK_NB)) {
        mOwned = true;
    } else {
        mExisted = true;
        mBroken = errno != EWOULDBLOCK;
        if (mBroken)
            qCDebug(lcPlatform) << "flock failed on" << mPath << errno;
    }
}

FlockNamedMutex::~FlockNamedMutex()
{
    if (mFd >= 0)
        ::close(mFd);
    if (mHomeFd >= 0)
        ::close(mHomeFd);
}

// Always the home file first: two takers that wait never hold one file each.
bool FlockNamedMutex::take(int flags)
{
    if (flockRetrying(mHomeFd, LOCK_EX | flags) != 0)
        return false;
    if (mFd < 0 || flockRetrying(mFd, LOCK_EX | flags) == 0)
        return true;
    const int error = errno;
    flockRetrying(mHomeFd, LOCK_UN);
    errno = error;
    return false;
}

bool FlockNamedMutex::wait()
{
    if (mOwned)
        return true;
    if (mHomeFd < 0 || mBroken)
        return false;
    if (!take(0))
        return false;
    mOwned = true;
    return true;
}

void FlockNamedMutex::release()
{
    if (!mOwned)
        return;
    if (mFd >= 0)
        flockRetrying(mFd, LOCK_UN);
    flockRetrying(mHomeFd, LOCK_UN);
    mOwned = false;
}
