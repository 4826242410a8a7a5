#include "StagedInstall.h"

#include "CardFs.h"
#include "CardReadBack.h"
#include "DirWalker.h"
#include "InstallLog.h"
#include "SpaceReservations.h"
#include "StagingRepair.h"

#include <QFile>
#include <QMutex>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

const char *const StagedInstall::kStagingFolder = StagingRepair::kStagingFolder;

namespace {
constexpr char kNew[] = "new";     // the unpacked entries
constexpr char kAside[] = "aside"; // what the new version replaces, by its path on the card
constexpr char kPrior[] = "prior"; // the old version's folder, moved aside whole

std::atomic<int> gSerial{0};
// Swaps are planned against the card as it is: two at once could both plan
// to move a new folder into the same empty place. They take milliseconds,
// so installs take turns.
QMutex gSwapMutex;

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray join(const QByteArray &path, const QByteArray &name)
{
    return path.isEmpty() ? name : path + '/' + name;
}

QByteArray parentOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

bool isVersionFile(const QByteArray &name)
{
    return name.toLower() == "version.txt";
}

bool isProgramFile(const QByteArray &name)
{
    return name.size() > 4 && name.right(4).toLower() == ".bin";
}

// The files by which the catalogue tells a package and its version.
bool isIdentifying(const QByteArray &name)
{
    return isVersionFile(name) || isProgramFile(name) || name.toLower() == "names.txt";
}

bool holdsIdentifying(const std::vector<DirWalker::Entry> &entries)
{
    for (const DirWalker::Entry &e : entries) {
        if (e.kind == DirWalker::Kind::File ? isIdentifying(e.name) : holdsIdentifying(e.children))
            return true;
    }
    return false;
}

// `fd` is still the entry `name` below `parentFd`: not removed or replaced
// since it was opened.
bool stillThere(int parentFd, const char *name, int fd)
{
    struct stat linked;
    struct stat open;
    return ::fstatat(parentFd, name, &linked, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0
           && linked.st_dev == open.st_dev && linked.st_ino == open.st_ino;
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
    releaseSpace();
    if (mRootFd >= 0)
        ::close(mRootFd);
}

bool StagedInstall::fail(const QString &message)
{
    if (mError.isEmpty())
        mError = message;
    return false;
}

bool StagedInstall::isCardMissing() const
{
    if (mCardMissing)
        return true;
    if (mRootFd < 0)
        return false;
    // A pulled card leaves its mount point empty or gone, while the folder
    // opened at begin() still answers (with errors) through its descriptor.
    struct stat opened, now;
    if (::fstat(mRootFd, &opened) != 0)
        return true;
    const QByteArray root = QFile::encodeName(mCard.root());
    if (::stat(root.constData(), &now) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    return now.st_dev != opened.st_dev || now.st_ino != opened.st_ino;
}

bool StagedInstall::begin()
{
    if (mCard.isNull()) {
        mCardMissing = true;
        return fail(QStringLiteral("no card (\"/\" is none)"));
    }
    mRootFd = CardFs::openRoot(mCard.root());
    if (mRootFd < 0) {
        mCardMissing = errno == ENOENT;
        return fail(QStringLiteral("cannot open the card: ") + errnoText());
    }
    if (!mOldFolder.isEmpty()) {
        if (!CardFs::relativePath(mCard.root(), mOldFolder, &mOldPath) || !CardFs::isPlainRelative(mOldPath)
            || mOldPath.split('/').first() == kStagingFolder)
            return fail(QStringLiteral("the old version's folder is not on the card: ") + mOldFolder);
        while (mOldPath.endsWith('/'))
            mOldPath.chop(1);
        mOldIsHome = mCard.packageOf(mOldFolder) == Card::Package::Home;
    }
    struct stat root;
    if (::fstat(mRootFd, &root) != 0)
        return fail(QStringLiteral("cannot read the card: ") + errnoText());
    mDevice = quint64(root.st_dev);
    // What an earlier install left half done is put right before anything
    // else is swapped: undoing it later would undo this install's work.
    if (!StagingRepair::repairAt(mRootFd))
        return fail(QStringLiteral("an install cut short earlier cannot be put right on the card"));
    return makeStagingFolder();
}

bool StagedInstall::makeStagingFolder()
{
    // A repair (here or in the program) removes the hidden folder when it
    // is empty, and any staging folder whose lock it can take: so the lock
    // is taken first and the folders are looked at again under it.
    for (int attempt = 0; attempt < 100 && mJobFd < 0; ++attempt) {
        if (::mkdirat(mRootFd, kStagingFolder, 0777) != 0 && errno != EEXIST)
            return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
        const int stagingFd = CardFs::openDirAt(mRootFd, kStagingFolder);
        if (stagingFd < 0)
            return fail(QStringLiteral("\"%1\" on the card is in the way").arg(QLatin1String(kStagingFolder)));
        mJobName = QByteArray::number(qint64(::getpid())) + '-' + QByteArray::number(++gSerial);
        if (::mkdirat(stagingFd, mJobName.constData(), 0777) != 0) {
            const int error = errno;
            ::close(stagingFd);
            // EEXIST: a leftover in use; ENOENT: the hidden folder was just
            // removed.
            if (error == EEXIST || error == ENOENT)
                continue;
            errno = error;
            return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
        }
        const int jobFd = DirWalker::openDirAt(stagingFd, mJobName.constData());
        if (jobFd >= 0 && StagingRepair::lockShared(jobFd) && stillThere(stagingFd, mJobName.constData(), jobFd)
            && stillThere(mRootFd, kStagingFolder, stagingFd))
            mJobFd = jobFd;
        else if (jobFd >= 0)
            ::close(jobFd);
        ::close(stagingFd);
    }
    if (mJobFd < 0) {
        mJobName.clear();
        return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
    }
    mJobPath = QByteArray(kStagingFolder) + '/' + mJobName;
    if (::mkdirat(mJobFd, kNew, 0777) != 0 || (mNewFd = DirWalker::openDirAt(mJobFd, kNew)) < 0)
        return fail(QStringLiteral("cannot make the staging folder: ") + errnoText());
    return true;
}

bool StagedInstall::openArchive(const QString &path)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    struct statvfs vfs;
    const quint64 block = ::fstatvfs(mRootFd, &vfs) == 0 ? quint64(vfs.f_frsize) : 1;
    if (!mExtractor.open(path, mSpaceLimit, block)) {
        mOutOfSpace = mExtractor.isOutOfSpace();
        return fail(mExtractor.errorString());
    }
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

quint64 StagedInstall::freeSpace() const
{
    struct statvfs vfs;
    if (::fstatvfs(mRootFd, &vfs) != 0)
        return 0;
    return std::min<quint64>(mSpaceLimit, quint64(vfs.f_bavail) * quint64(vfs.f_frsize));
}

bool StagedInstall::reserveSpace(const std::atomic<bool> *cancel)
{
    if (mRootFd < 0)
        return fail(QStringLiteral("no card"));
    const quint64 need = mExtractor.requiredSpace();
    switch (SpaceReservations::instance().reserve(
        mDevice, need, [this] { return freeSpace(); }, cancel)) {
    case SpaceReservations::Result::Reserved:
        mReserved = need;
        mHoldsReservation = true;
        return true;
    case SpaceReservations::Result::Cancelled: mCancelled = true; return fail(QStringLiteral("cancelled"));
    case SpaceReservations::Result::NoSpace: break;
    }
    mOutOfSpace = true;
    return fail(
        QStringLiteral("the archive needs more space than there is: %1 bytes, %2 free").arg(need).arg(freeSpace()));
}

void StagedInstall::releaseSpace()
{
    if (mHoldsReservation)
        SpaceReservations::instance().release(mDevice, mReserved);
    mHoldsReservation = false;
}

bool StagedInstall::unpack(int i, const std::atomic<bool> *cancel)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    if (!mExtractor.extract(i, mNewFd, cancel)) {
        mCancelled = mExtractor.wasCancelled();
        mOutOfSpace = mExtractor.isOutOfSpace();
        return fail(mExtractor.errorString());
    }
    return true;
}

bool StagedInstall::commit(const std::atomic<bool> *cancel)
{
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    // The new version is on the card, as written, before anything of the
    // old one moves.
    if (!verify(cancel))
        return false;
    mExtractor.close();
    if (cancel && cancel->load()) {
        mCancelled = true;
        return fail(QStringLiteral("cancelled"));
    }
    QMutexLocker swapping(&gSwapMutex);
    if (!plan())
        return false;
    // Written down before the first move, so a crash in the middle can be
    // undone from the card alone.
    if (!mJournal.write(mJobFd))
        return fail(QStringLiteral("cannot write to the card: ") + errnoText());
    mSwapping = true;
    QString error;
    if (!mJournal.run(mRootFd, &error)) {
        fail(error);
        rollBack();
        return false;
    }
    qCDebug(lcInstall) << "swapped in:" << mJournal.moves().size() << "moves";
    swapping.unlock();
    mCommitted = true;
    mSwapping = false;
    if (mOldMovedWhole)
        removeEmptyFolders(mOldPath);
    removeStaging();
    releaseSpace();
    if (::syncfs(mRootFd) != 0)
        return fail(QStringLiteral("cannot flush the card: ") + errnoText());
    mSynced = true;
    return true;
}

bool StagedInstall::verify(const std::atomic<bool> *cancel, const std::function<void(quint64, quint64)> &progress)
{
    if (mVerified)
        return true;
    if (mNewFd < 0)
        return fail(QStringLiteral("no staging folder"));
    // Written through to the card first: only then do the cached pages go
    // and the reads reach the card.
    if (::syncfs(mNewFd) != 0)
        return fail(QStringLiteral("cannot flush the card: ") + errnoText());
    quint64 total = 0;
    for (int i = 0; i < mExtractor.count(); ++i)
        total += mExtractor.entry(i).isDir ? 0 : mExtractor.entry(i).size;
    quint64 done = 0;
    if (progress)
        progress(0, total);
    mFiles.clear();
    mFiles.reserve(mExtractor.count());
    CardReadBack reader(cancel);
    for (int i = 0; i < mExtractor.count(); ++i) {
        const ArchiveExtractor::Entry &e = mExtractor.entry(i);
        if (e.isDir)
            continue;
        CardReadBack::Sum sum;
        const auto outcome = reader.read(mNewFd, e.diskPath, &sum, [&](quint64 bytes) {
            done += bytes;
            if (progress)
                progress(done, total);
        });
        const QString label = QStringLiteral("entry \"%1\": ").arg(e.path);
        switch (outcome) {
        case CardReadBack::Outcome::Read: break;
        case CardReadBack::Outcome::Cancelled: mCancelled = true; return fail(QStringLiteral("cancelled"));
        case CardReadBack::Outcome::Missing:
            mCardUntrue = true;
            return fail(label + QStringLiteral("gone from the card once written"));
        case CardReadBack::Outcome::Failed:
            mCardUntrue = true;
            mCardUnreadable = true;
            return fail(label + QStringLiteral("the card does not give it back: ") + reader.errorString());
        }
        if (sum.size != e.size || sum.crc != e.crc) {
            mCardUntrue = true;
            return fail(label
                        + QStringLiteral("the card gave back %1 bytes with CRC %2, written were %3 bytes with CRC %4")
                              .arg(sum.size)
                              .arg(sum.crc, 8, 16, QLatin1Char('0'))
                              .arg(e.size)
                              .arg(e.crc, 8, 16, QLatin1Char('0')));
        }
        mFiles.append({e.path, sum.size, sum.crc, sum.mtime});
    }
    qCDebug(lcInstall) << "read back:" << mFiles.size() << "files," << total << "bytes";
    mVerified = true;
    return true;
}

StagedInstall::OnCard StagedInstall::stateOf(const QByteArray &path) const
{
    // What the moves planned so far did to it or to a folder above it.
    for (QByteArray p = path; !p.isEmpty(); p = parentOf(p)) {
        const auto it = mPlanned.constFind(p);
        if (it == mPlanned.constEnd())
            continue;
        if (p == path || it.value() == OnCard::Absent)
            return p == path ? it.value() : OnCard::Absent;
        break;
    }
    struct stat st;
    if (!CardFs::statAt(mRootFd, path, &st))
        return errno == ENOENT || errno == ENOTDIR ? OnCard::Absent : OnCard::Other;
    if (S_ISREG(st.st_mode))
        return OnCard::File;
    return S_ISDIR(st.st_mode) ? OnCard::Dir : OnCard::Other;
}

void StagedInstall::aside(const QByteArray &path)
{
    mJournal.add(SwapJournal::Kind::Aside, path, mJobPath + '/' + kAside + '/' + path);
    mPlanned.insert(path, OnCard::Absent);
}

void StagedInstall::placeNow(const QByteArray &path, OnCard kind)
{
    mJournal.add(SwapJournal::Kind::Place, mJobPath + '/' + kNew + '/' + path, path);
    mPlanned.insert(path, kind);
}

bool StagedInstall::plan()
{
    mJournal.clear();
    mPlanned.clear();
    std::vector<DirWalker::Entry> tree;
    quint64 bytes = 0;
    qint64 files = 0;
    bool cut = false;
    if (!DirWalker::readTree(mNewFd, tree, bytes, files, nullptr, &cut, false) || cut)
        return fail(QStringLiteral("cannot read the staging folder"));

    // Out first: the identifying files of the old version's folder and those
    // the new version replaces.
    const OnCard old = mOldPath.isEmpty() ? OnCard::Absent : stateOf(mOldPath);
    if (old == OnCard::Dir) {
        const int dir = CardFs::openDirAt(mRootFd, mOldPath);
        std::vector<DirWalker::Entry> entries;
        if (dir < 0 || !DirWalker::list(dir, entries, false)) {
            if (dir >= 0)
                ::close(dir);
            return fail(QStringLiteral("cannot read the old version's folder: ") + errnoText());
        }
        ::close(dir);
        for (const DirWalker::Entry &e : entries) {
            // HOME keeps all but its version file and program files.
            const bool identifying =
                mOldIsHome ? isVersionFile(e.name) || isProgramFile(e.name) : isIdentifying(e.name);
            if (e.kind == DirWalker::Kind::File && identifying)
                aside(join(mOldPath, e.name));
        }
    }
    if (!asideIdentifying(tree, QByteArray()))
        return false;
    // Then the rest of the old version and every other file replaced.
    if (old != OnCard::Absent && !mOldIsHome) {
        mJournal.add(SwapJournal::Kind::Aside, mOldPath, mJobPath + '/' + kPrior);
        mPlanned.insert(mOldPath, OnCard::Absent);
        mOldMovedWhole = true;
    }
    if (!asideReplaced(tree, QByteArray()))
        return false;
    // In last: whatever identifies the new version, its version files last
    // of all.
    std::vector<QByteArray> folders;
    std::vector<QByteArray> identifying;
    std::vector<QByteArray> versions;
    place(tree, QByteArray(), folders, identifying, versions);
    for (const auto *list : {&folders, &identifying, &versions}) {
        for (const QByteArray &path : *list)
            placeNow(path, list == &folders ? OnCard::Dir : OnCard::File);
    }
    return true;
}

bool StagedInstall::asideIdentifying(const std::vector<DirWalker::Entry> &entries, const QByteArray &path)
{
    for (const DirWalker::Entry &e : entries) {
        const QByteArray child = join(path, e.name);
        if (e.kind == DirWalker::Kind::Dir) {
            if (!asideIdentifying(e.children, child))
                return false;
        } else if (isIdentifying(e.name)) {
            const OnCard there = stateOf(child);
            if (there == OnCard::File)
                aside(child);
            else if (there != OnCard::Absent)
                return fail(QStringLiteral("\"%1\" on the card is in the way").arg(CardFs::decodeName(child)));
        }
    }
    return true;
}

bool StagedInstall::asideReplaced(const std::vector<DirWalker::Entry> &entries, const QByteArray &path)
{
    for (const DirWalker::Entry &e : entries) {
        const QByteArray child = join(path, e.name);
        const OnCard there = stateOf(child);
        if (there == OnCard::Absent)
            continue;
        if (e.kind == DirWalker::Kind::Dir && there == OnCard::Dir) {
            if (!asideReplaced(e.children, child))
                return false;
        } else if (e.kind == DirWalker::Kind::File && there == OnCard::File) {
            aside(child);
        } else {
            // A link, or a file where a folder goes (or the other way round),
            // is left alone: the install fails.
            return fail(QStringLiteral("\"%1\" on the card is in the way").arg(CardFs::decodeName(child)));
        }
    }
    return true;
}

void StagedInstall::place(const std::vector<DirWalker::Entry> &entries, const QByteArray &path,
                          std::vector<QByteArray> &folders, std::vector<QByteArray> &files,
                          std::vector<QByteArray> &versions)
{
    for (const DirWalker::Entry &e : entries) {
        const QByteArray child = join(path, e.name);
        if (e.kind == DirWalker::Kind::Dir) {
            if (stateOf(child) == OnCard::Dir)
                place(e.children, child, folders, files, versions);
            else if (holdsIdentifying(e.children))
                folders.push_back(child); // one rename, with the other identifying files
            else
                placeNow(child, OnCard::Dir);
        } else if (isVersionFile(e.name)) {
            versions.push_back(child);
        } else if (isIdentifying(e.name)) {
            files.push_back(child);
        } else {
            placeNow(child, OnCard::File);
        }
    }
}

void StagedInstall::rollBack()
{
    if (!mJournal.rollBack(mRootFd)) {
        // What could not go back stays in the staging folder, which stays
        // too: the next repair of the card tries again.
        qCDebug(lcInstall) << "swap not fully undone; the staging folder stays for a repair";
        return;
    }
    ::syncfs(mRootFd);
    mJournal.clear();
    mSwapping = false;
}

void StagedInstall::removeEmptyFolders(QByteArray path)
{
    // As an uninstall does: the old folder and the parents it leaves empty
    // go, never the card root.
    while (!path.isEmpty()) {
        const int slash = path.lastIndexOf('/');
        const int parent =
            slash < 0 ? ::fcntl(mRootFd, F_DUPFD_CLOEXEC, 0) : CardFs::openDirAt(mRootFd, path.left(slash));
        const bool gone =
            parent >= 0 && (::unlinkat(parent, path.mid(slash + 1).constData(), AT_REMOVEDIR) == 0 || errno == ENOENT);
        if (parent >= 0)
            ::close(parent);
        if (!gone)
            return;
        path = parentOf(path);
    }
}

void StagedInstall::abort()
{
    if (mSwapping)
        rollBack();
    mExtractor.close();
    removeStaging();
    releaseSpace();
    // The card is left as settled as it was found, ready to be pulled.
    mSynced = mRootFd < 0 || ::syncfs(mRootFd) == 0;
}

void StagedInstall::removeStaging()
{
    if (mNewFd >= 0) {
        ::close(mNewFd);
        mNewFd = -1;
    }
    if (mJobFd < 0 || mRootFd < 0)
        return;
    // Removed under its lock, so no repair looks at it meanwhile. A swap
    // that could not be undone keeps it.
    if (!mSwapping) {
        const int stagingFd = CardFs::openDirAt(mRootFd, kStagingFolder);
        if (stagingFd >= 0) {
            if (!DirWalker::removeTree(stagingFd, mJobName.constData()))
                qCDebug(lcInstall).noquote() << "staging folder not fully removed:" << QString::fromLatin1(mJobName);
            ::close(stagingFd);
        }
    }
    ::close(mJobFd);
    mJobFd = -1;
    // Only when no other install is using it.
    ::unlinkat(mRootFd, kStagingFolder, AT_REMOVEDIR);
    mJobName.clear();
}
