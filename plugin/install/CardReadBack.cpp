#include "CardReadBack.h"

#include "CardFs.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

CardReadBack::CardReadBack(const std::atomic<bool> *cancel)
    : mCancel(cancel)
{
}

CardReadBack::Outcome CardReadBack::read(int dirFd, const QByteArray &relative, Sum *sum,
                                         const std::function<void(quint64)> &onBytes)
{
    mError.clear();
    *sum = Sum();
    const int fd = CardFs::openAt(dirFd, relative, O_RDONLY);
    if (fd < 0) {
        mError = errnoText();
        return errno == ENOENT || errno == ENOTDIR ? Outcome::Missing : Outcome::Failed;
    }
    struct stat st;
    const bool stated = ::fstat(fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        mError = stated ? QStringLiteral("not a file") : errnoText();
        ::close(fd);
        return Outcome::Failed;
    }
    sum->mtime = qint64(st.st_mtim.tv_sec);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (mBuffer.empty())
        mBuffer.resize(kChunk);
    quint32 crc = 0;
    Outcome outcome = Outcome::Read;
    while (true) {
        if (mCancel && mCancel->load(std::memory_order_relaxed)) {
            outcome = Outcome::Cancelled;
            mError = QStringLiteral("cancelled");
            break;
        }
        const ssize_t n = ::read(fd, mBuffer.data(), mBuffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            outcome = Outcome::Failed;
            mError = errnoText();
            break;
        }
        if (n == 0)
            break;
        crc = libdeflate_crc32(crc, mBuffer.data(), size_t(n));
        sum->size += quint64(n);
        if (onBytes)
            onBytes(quint64(n));
    }
    sum->crc = crc;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return outcome;
}

bool CardReadBack::sameTime(qint64 recorded, qint64 now)
{
    const qint64 apart = recorded > now ? recorded - now : now - recorded;
    if (apart <= 2)
        return true;
    const qint64 offHours = apart % 3600;
    return apart <= 15 * 3600 && (offHours <= 2 || offHours >= 3600 - 2);
}
