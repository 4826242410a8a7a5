#include "StagedInstall.h"

#include "CardFs.h"
#include "DirWalker.h"
#include "InstallLog.h"

#include <QMutex>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

const char StagedInstall::kStagingFolder[] = ".dravik-staging";

namespace {
constexpr char kNew[] = "new";           // the unpacked entries
constexpr char kOld[] = "old";           // the old version's folder, moved aside
constexpr char kReplaced[] = "replaced"; // files the new version replaced, moved aside
constexpr char kRestore[] = "restore";   // where "old" came from
constexpr int kMaxDepth = 256;

// Staging folders of installs running in this process, by card and name:
// only the others are leftovers.
QMutex gLiveMutex;
QSet<QString> gLive;
int gSerial = 0;

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray join(const QByteArray &path, const QByteArray &name)
{
    return path.isEmpty() ? name : path + '/' + name;
}

// The folder holding `path` below `baseFd`, and its last component.
int openParentOf(int baseFd, const QByteArray &path, QByteArray *leaf)
{
    const int slash = path.lastIndexOf('/');
    *leaf = path.mid(slash + 1);
    if (slash < 0)
        return ::fcntl(baseFd, F_DUPFD_CLOEXEC, 0);
    return CardFs::openDirAt(baseFd, path.left(slash));
}

bool moveNoReplace(int fromFd, const char *from, int toFd, const char *to)
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

// Removes `name` below `dirFd` with everything in it; a link goes as a link.
bool removeTree(int dirFd, const char *name, int depth = 0)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(dirFd, name, 0) == 0;
    if (depth >= kMaxDepth)
        return false;
    const int fd = DirWalker::openDirAt(dirFd, name);
    if (fd < 0)
        return false;
    std::vector<DirWalker::Entry> entries;
    bool ok = DirWalker::list(fd, entries, false);
    for (const DirWalker::Entry &e : entries)
        ok = removeTree(fd, e.name.constData(), depth + 1) && ok;
    ::close(fd);
    return ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0 && ok;
}

// Moves each file below `fromFd` back into the same place below `toFd`
// where that place is empty.
void restoreFiles(int fromFd, int toFd, int depth)
{
    if (depth >= kMaxDepth)
        return;
    std::vector<DirWalker::Entry> entries;
    DirWalker::list(fromFd, entries, false);
    for (const DirWalker::Entry &e : entries) {
        const char *name = e.name.constData();
        if (e.kind == DirWalker::Kind::Dir) {
            const int from = DirWalker::openDirAt(fromFd, name);
            const int to = DirWalker::openDirAt(toFd, name);
            if (from >= 0 && to >= 0)
                restoreFiles(from, to, depth + 1);
            if (from >= 0)
                ::close(from);
            if (to >= 0)
                ::close(to);
        } else if (e.kind == DirWalker::Kind::File) {
            moveNoReplace(fromFd, name, toFd, name);
        }
    }
}

bool isHomeFileToReplace(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    return lower == "version.txt" || (lower.endsWith(".bin") && lower.size() > 4);
}
} // namespace

StagedInstall::StagedInstall(const Card &card)
    : mCard(card)
{
}

StagedInstall::~StagedInstall()
{
    if (!mCommitted)
        abort();
    if (mRootFd >= 0)
        ::close(mRootFd);
}

bool StagedInstall::fail(const QString &message)
{
    if (mError.isEmpty())
        mError = message;
    return false;
}

bool StagedInstall::begin()
{
    if (mCard.isNull())
        return fail(QStringLiteral("no card (\"/\" is none)"));
    mRootFd = CardFs::openRoot(mCard.root());
    if (mRootFd < 0)
        return fail(QStringLiteral("cannot open the card: ") + errnoText());
    if (!mOldFolder.isEmpty()) {
        if (!CardFs::relativePath(mCard.root(), mOldFolder, &mOldPath) || !CardFs::isPlainRelative(mOldPath)
            || mOldPath.split('/').first() == kStagingFolder)
            return fail(QStringLiteral("the old version's folder is not on the card: ") + mOldFolder);
        while (mOldPath.endsWith('/'))
            mOldPath.chop(1);
    }
    struct statvfs vfs;
    struct stat root;
    if (::fstatvfs(mRootFd, &vfs) != 0 || ::fstat(mRootFd, &root) != 0)
        return fail(QStringLiteral("cannot read the card's free space: ") + errnoText());
    mSpaceLimit = std::min<quint64>(mSpaceLimit, quint64(vfs.f_bavail) * quint64(vfs.f_frsize));

    QMutexLocker lock(&gLiveMutex);
    if (::mkdirat(mRootFd, kStagingFolder, 0777) != 0 && errno != EEXIST)
        return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
    const int stagingFd = CardFs::openDirAt(mRootFd, kStagingFolder);
    if (stagingFd < 0)
        return fail(QStringLiteral("\"%1\" on the card is in the way").arg(QLatin1String(kStagingFolder)));
    cleanLeftovers(stagingFd);
    const QString card = QString::number(quint64(root.st_dev)) + QLatin1Char(':');
    for (int attempt = 0; attempt < 100 && mJobFd < 0; ++attempt) {
        mJobName = QByteArray::number(qint64(::getpid())) + '-' + QByteArray::number(++gSerial);
        if (::mkdirat(stagingFd, mJobName.constData(), 0777) != 0) {
            if (errno == EEXIST)
                continue; // a leftover that could not be removed
            break;
        }
        mJobFd = DirWalker::openDirAt(stagingFd, mJobName.constData());
    }
    ::close(stagingFd);
    if (mJobFd < 0) {
        mJobName.clear();
        return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
    }
    mLiveKey = card + QString::fromLatin1(mJobName);
    gLive.insert(mLiveKey);
    if (::mkdirat(mJobFd, kNew, 0777) != 0 || (mNewFd = DirWalker::openDirAt(mJobFd, kNew)) < 0)
        return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
    return true;
}

void StagedInstall::cleanLeftovers(int stagingFd)
{
    struct stat root;
    if (::fstat(mRootFd, &root) != 0)
        return;
    const QString card = QString::number(quint64(root.st_dev)) + QLatin1Char(':');
    std::vector<DirWalker::Entry> entries;
    DirWalker::list(stagingFd, entries, false);
    for (const DirWalker::Entry &e : entries) {
        if (gLive.contains(card + QString::fromLatin1(e.name)))
            continue;
        qCDebug(lcInstall).noquote() << "removing a staging folder left behind:" << QString::fromLatin1(e.name);
        if (e.kind == DirWalker::Kind::Dir) {
            const int jobFd = DirWalker::openDirAt(stagingFd, e.name.constData());
            if (jobFd >= 0) {
                restoreLeftover(jobFd);
                ::close(jobFd);
            }
        }
        removeTree(stagingFd, e.name.constData());
    }
}

void StagedInstall::restoreLeftover(int jobFd)
{
    // The old version goes back where no new one arrived.
    QByteArray path;
    struct stat st;
    if (DirWalker::readFileAt(jobFd, kRestore, path, 64 * 1024) && CardFs::isPlainRelative(path)
        && ::fstatat(jobFd, kOld, &st, AT_SYMLINK_NOFOLLOW) == 0 && !CardFs::statAt(mRootFd, path, &st)
        && errno == ENOENT) {
        const int slash = path.lastIndexOf('/');
        const int parent =
            slash < 0 ? ::fcntl(mRootFd, F_DUPFD_CLOEXEC, 0) : CardFs::makeDirsAt(mRootFd, path.left(slash));
        if (parent >= 0) {
            if (moveNoReplace(jobFd, kOld, parent, path.mid(slash + 1).constData()))
                qCDebug(lcInstall).noquote() << "old version restored:" << CardFs::decodeName(path);
            ::close(parent);
        }
    }
    const int replaced = DirWalker::openDirAt(jobFd, kReplaced);
    if (replaced >= 0) {
        restoreFiles(replaced, mRootFd, 0);
        ::close(replaced);
    }
}

bool StagedInstall::openArchive(const QString &path)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    struct statvfs vfs;
    const quint64 block = ::fstatvfs(mRootFd, &vfs) == 0 ? quint64(vfs.f_frsize) : 1;
    if (!mExtractor.open(path, mSpaceLimit, block))
        return fail(mExtractor.errorString());
    // The working folder at the card root belongs to the installs: an
    // archive reaching into it would mix with another install's staging.
    for (int i = 0; i < mExtractor.count(); ++i) {
        const QString top = mExtractor.entry(i).path.section(QLatin1Char('/'), 0, 0);
        if (top.compare(QLatin1String(kStagingFolder), Qt::CaseInsensitive) == 0) {
            mArchiveBroken = true;
            return fail(QStringLiteral("entry \"%1\": a name the installs keep for themselves")
                            .arg(mExtractor.entry(i).path));
        }
    }
    return true;
}

bool StagedInstall::unpack(int i, const std::atomic<bool> *cancel)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    if (!mExtractor.extract(i, mNewFd, cancel)) {
        mCancelled = mExtractor.wasCancelled();
        return fail(mExtractor.errorString());
    }
    return true;
}

bool StagedInstall::commit(const std::atomic<bool> *cancel)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    mExtractor.close();
    // The new version is on the card before anything of the old one moves.
    if (::syncfs(mNewFd) != 0)
        return fail(QStringLiteral("cannot flush the card: ") + errnoText());
    if (cancel && cancel->load()) {
        mCancelled = true;
        return fail(QStringLiteral("cancelled"));
    }
    if (!moveOldAside() || !merge(mNewFd, mRootFd, QByteArray(), 0)) {
        rollBack();
        return false;
    }
    mCommitted = true;
    mSteps.clear();
    if (mOldMoved)
        removeEmptyFolders(mOldPath);
    removeStaging();
    if (::syncfs(mRootFd) != 0)
        return fail(QStringLiteral("cannot flush the card: ") + errnoText());
    return true;
}

bool StagedInstall::moveOldAside()
{
    if (mOldPath.isEmpty())
        return true;
    QByteArray leaf;
    const int parent = openParentOf(mRootFd, mOldPath, &leaf);
    struct stat st;
    if (parent < 0 || ::fstatat(parent, leaf.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        const bool absent = errno == ENOENT;
        if (parent >= 0)
            ::close(parent);
        if (absent)
            return true; // nothing to remove
        return fail(QStringLiteral("cannot reach the old version's folder: ") + errnoText());
    }
    bool ok = true;
    if (S_ISDIR(st.st_mode) && mCard.packageOf(mOldFolder) == Card::Package::Home) {
        const int dir = DirWalker::openDirAt(parent, leaf.constData());
        std::vector<DirWalker::Entry> entries;
        ok = dir >= 0 && DirWalker::list(dir, entries, false);
        for (const DirWalker::Entry &e : entries) {
            if (ok && e.kind == DirWalker::Kind::File && isHomeFileToReplace(e.name))
                ok = moveFileAside(join(mOldPath, e.name), dir, e.name);
        }
        if (dir >= 0)
            ::close(dir);
        if (!ok)
            fail(QStringLiteral("cannot move the old version aside: ") + errnoText());
    } else {
        // Where it came from, on the card before it moves, for a cleanup
        // after a crash.
        const int record = ::openat(mJobFd, kRestore, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        ok = record >= 0 && ::write(record, mOldPath.constData(), size_t(mOldPath.size())) == mOldPath.size()
             && ::fsync(record) == 0 && ::fsync(mJobFd) == 0;
        if (record >= 0)
            ::close(record);
        ok = ok && ::renameat(parent, leaf.constData(), mJobFd, kOld) == 0;
        if (ok)
            mSteps.push_back({Step::FolderAside, mOldPath});
        else
            fail(QStringLiteral("cannot move the old version aside: ") + errnoText());
    }
    ::close(parent);
    mOldMoved = ok;
    return ok;
}

bool StagedInstall::moveFileAside(const QByteArray &path, int dirFd, const QByteArray &name)
{
    const int slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(kReplaced) : QByteArray(kReplaced) + '/' + path.left(slash);
    const int aside = CardFs::makeDirsAt(mJobFd, folder);
    const bool ok = aside >= 0 && moveNoReplace(dirFd, name.constData(), aside, name.constData());
    if (aside >= 0)
        ::close(aside);
    if (ok)
        mSteps.push_back({Step::FileAside, path});
    return ok;
}

bool StagedInstall::merge(int sourceFd, int targetFd, const QByteArray &path, int depth)
{
    if (depth >= kMaxDepth)
        return fail(QStringLiteral("folders nested too deep"));
    std::vector<DirWalker::Entry> entries;
    if (!DirWalker::list(sourceFd, entries, false))
        return fail(QStringLiteral("cannot read the staging folder: ") + errnoText());
    for (const DirWalker::Entry &e : entries) {
        const char *name = e.name.constData();
        const QByteArray child = join(path, e.name);
        const QString shown = CardFs::decodeName(child);
        struct stat st;
        bool absent = ::fstatat(targetFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0;
        if (absent) {
            if (errno == ENOENT && moveNoReplace(sourceFd, name, targetFd, name)) {
                mSteps.push_back({Step::Placed, child});
                continue;
            }
            // Another install on the card may have just made the same
            // folder: then merge into it.
            absent = errno != EEXIST || ::fstatat(targetFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0;
            if (absent)
                return fail(QStringLiteral("cannot move \"%1\" into place: ").arg(shown) + errnoText());
        }
        if (e.kind == DirWalker::Kind::Dir && S_ISDIR(st.st_mode)) {
            const int from = DirWalker::openDirAt(sourceFd, name);
            const int to = DirWalker::openDirAt(targetFd, name);
            const bool ok = from >= 0 && to >= 0 && merge(from, to, child, depth + 1);
            if (from >= 0)
                ::close(from);
            if (to >= 0)
                ::close(to);
            if (!ok)
                return fail(QStringLiteral("cannot move \"%1\" into place: ").arg(shown) + errnoText());
            continue;
        }
        // A link, or a file where a folder goes (or the other way round),
        // is left alone: the install fails.
        if (e.kind != DirWalker::Kind::File || !S_ISREG(st.st_mode))
            return fail(QStringLiteral("\"%1\" on the card is in the way").arg(shown));
        if (!moveFileAside(child, targetFd, e.name) || !moveNoReplace(sourceFd, name, targetFd, name))
            return fail(QStringLiteral("cannot replace \"%1\": ").arg(shown) + errnoText());
        mSteps.push_back({Step::Placed, child});
    }
    return true;
}

void StagedInstall::rollBack()
{
    for (auto it = mSteps.rbegin(); it != mSteps.rend(); ++it) {
        QByteArray leaf;
        const int onCard = openParentOf(mRootFd, it->path, &leaf);
        QByteArray stagedLeaf;
        int staged = -1;
        if (it->kind == Step::Placed) {
            staged = openParentOf(mNewFd, it->path, &stagedLeaf);
        } else if (it->kind == Step::FileAside) {
            staged = openParentOf(mJobFd, QByteArray(kReplaced) + '/' + it->path, &stagedLeaf);
        } else {
            staged = ::fcntl(mJobFd, F_DUPFD_CLOEXEC, 0);
            stagedLeaf = kOld;
        }
        bool ok = onCard >= 0 && staged >= 0;
        if (ok && it->kind == Step::Placed)
            ok = moveNoReplace(onCard, leaf.constData(), staged, stagedLeaf.constData());
        else if (ok)
            ok = moveNoReplace(staged, stagedLeaf.constData(), onCard, leaf.constData());
        if (!ok)
            qCDebug(lcInstall).noquote() << "cannot move back:" << CardFs::decodeName(it->path) << errnoText();
        if (onCard >= 0)
            ::close(onCard);
        if (staged >= 0)
            ::close(staged);
    }
    mSteps.clear();
    mOldMoved = false;
}

void StagedInstall::removeEmptyFolders(QByteArray path)
{
    // As an uninstall does: the old folder and the parents it leaves empty
    // go, never the card root.
    while (!path.isEmpty()) {
        QByteArray leaf;
        const int parent = openParentOf(mRootFd, path, &leaf);
        const bool gone = parent >= 0 && (::unlinkat(parent, leaf.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT);
        if (parent >= 0)
            ::close(parent);
        if (!gone)
            return;
        const int slash = path.lastIndexOf('/');
        path = slash < 0 ? QByteArray() : path.left(slash);
    }
}

void StagedInstall::abort()
{
    if (!mSteps.empty())
        rollBack();
    mExtractor.close();
    removeStaging();
}

void StagedInstall::removeStaging()
{
    if (mNewFd >= 0) {
        ::close(mNewFd);
        mNewFd = -1;
    }
    if (mJobFd >= 0) {
        ::close(mJobFd);
        mJobFd = -1;
    }
    if (mRootFd < 0)
        return;
    QMutexLocker lock(&gLiveMutex);
    const int stagingFd = mJobName.isEmpty() ? -1 : CardFs::openDirAt(mRootFd, kStagingFolder);
    if (stagingFd >= 0) {
        if (!removeTree(stagingFd, mJobName.constData()))
            qCDebug(lcInstall).noquote() << "staging folder not fully removed:" << QString::fromLatin1(mJobName);
        ::close(stagingFd);
    }
    // Only when no other install is using it.
    ::unlinkat(mRootFd, kStagingFolder, AT_REMOVEDIR);
    gLive.remove(mLiveKey);
    mLiveKey.clear();
    mJobName.clear();
}
