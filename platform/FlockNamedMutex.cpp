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
    const QString dir = runtimeDir();
    if (dir.isEmpty())
        return QString();
    // Percent-encoding keeps distinct names distinct and '/' out of the file name.
    const QByteArray encoded = QUrl::toPercentEncoding(name, QByteArray(), QByteArray("."));
    return dir + QLatin1Char('/') + QString::fromLatin1(encoded) + QStringLiteral(".lock");
}

FlockNamedMutex::FlockNamedMutex(const QString &name)
    : mPath(lockFilePath(name))
{
    // A lock that cannot be had counts as held by someone else: the caller
    // then says so instead of going on unguarded.
    if (mPath.isEmpty()) {
        qCDebug(lcPlatform) << "no runtime folder for lock" << name;
        mExisted = mBroken = true;
        return;
    }
    do {
        mFd = ::open(QFile::encodeName(mPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (mFd < 0 && errno == EINTR);
    if (mFd < 0) {
        qCDebug(lcPlatform) << "cannot open lock file" << mPath << errno;
        mExisted = mBroken = true;
        return;
    }
    if (flockRetrying(mFd, LOCK_EX | LOCK_NB) == 0) {
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
}

bool FlockNamedMutex::wait()
{
    if (mOwned)
        return true;
    if (mFd < 0 || mBroken)
        return false;
    if (flockRetrying(mFd, LOCK_EX) != 0)
        return false;
    mOwned = true;
    return true;
}

void FlockNamedMutex::release()
{
    if (!mOwned)
        return;
    flockRetrying(mFd, LOCK_UN);
    mOwned = false;
}
