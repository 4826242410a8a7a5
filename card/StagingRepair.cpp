#include "StagingRepair.h"

#include "Card.h"
#include "CardFs.h"
#include "CardLog.h"
#include "DirWalker.h"
#include "SwapJournal.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const char StagingRepair::kStagingFolder[] = ".dravik-staging";

namespace {
// What an older program left in its staging folders.
constexpr char kLegacyOld[] = "old";           // the old version's folder, moved aside
constexpr char kLegacyReplaced[] = "replaced"; // files the new version replaced
constexpr char kLegacyRestore[] = "restore";   // where "old" came from
constexpr int kMaxDepth = 256;

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
            CardFs::moveNoReplace(fromFd, name, toFd, name);
        }
    }
}

// An older program's leftover: the old version goes back where no new one
// arrived, and so do the files it had replaced.
void restoreLegacy(int rootFd, int jobFd)
{
    QByteArray path;
    struct stat st;
    if (DirWalker::readFileAt(jobFd, kLegacyRestore, path, 64 * 1024) && CardFs::isPlainRelative(path)
        && ::fstatat(jobFd, kLegacyOld, &st, AT_SYMLINK_NOFOLLOW) == 0 && !CardFs::statAt(rootFd, path, &st)
        && errno == ENOENT) {
        const int slash = path.lastIndexOf('/');
        const int parent =
            slash < 0 ? ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0) : CardFs::makeDirsAt(rootFd, path.left(slash));
        if (parent >= 0) {
            if (CardFs::moveNoReplace(jobFd, kLegacyOld, parent, path.mid(slash + 1).constData()))
                qCDebug(lcCard).noquote() << "old version restored:" << CardFs::decodeName(path);
            ::close(parent);
        }
    }
    const int replaced = DirWalker::openDirAt(jobFd, kLegacyReplaced);
    if (replaced >= 0) {
        restoreFiles(replaced, rootFd, 0);
        ::close(replaced);
    }
}

// One staging folder: left alone while an install holds it, else repaired
// and removed. False when it stays because it could not be put right.
bool repairJob(int rootFd, int stagingFd, const QByteArray &name)
{
    const int jobFd = DirWalker::openDirAt(stagingFd, name.constData());
    if (jobFd < 0) {
        // Not a folder: nothing an install made, nothing to restore.
        struct stat st;
        if (::fstatat(stagingFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode))
            ::unlinkat(stagingFd, name.constData(), 0);
        return true;
    }
    if (::flock(jobFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(jobFd);
        return true; // a running install's
    }
    bool whole = true;
    SwapJournal journal;
    if (journal.read(jobFd)) {
        // A journal moves things between the card and its own folder only.
        const QByteArray own = QByteArray(StagingRepair::kStagingFolder) + '/' + name + '/';
        for (const SwapJournal::Move &m : journal.moves()) {
            const QByteArray &staged = m.kind == SwapJournal::Kind::Aside ? m.to : m.from;
            const QByteArray &onCard = m.kind == SwapJournal::Kind::Aside ? m.from : m.to;
            if (!staged.startsWith(own) || onCard.startsWith(QByteArray(StagingRepair::kStagingFolder) + '/'))
                whole = false;
        }
        bool forward = false;
        if (whole) {
            whole = journal.recover(rootFd, &forward);
            ::syncfs(rootFd);
        }
        qCDebug(lcCard).noquote() << "unfinished swap in" << QString::fromLatin1(name)
                                  << (!whole    ? "kept: cannot be put right"
                                      : forward ? "finished"
                                                : "rolled back");
    } else {
        struct stat st;
        if (::fstatat(jobFd, kLegacyRestore, &st, AT_SYMLINK_NOFOLLOW) == 0
            || ::fstatat(jobFd, kLegacyReplaced, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            restoreLegacy(rootFd, jobFd);
            ::syncfs(rootFd);
        }
        qCDebug(lcCard).noquote() << "removing a staging folder left behind:" << QString::fromLatin1(name);
    }
    if (whole && !DirWalker::removeTree(stagingFd, name.constData()))
        qCDebug(lcCard).noquote() << "staging folder not fully removed:" << QString::fromLatin1(name);
    ::close(jobFd);
    return whole;
}
} // namespace

bool StagingRepair::repairCard(const Card &card)
{
    if (card.isNull())
        return true;
    const int rootFd = CardFs::openRoot(card.root());
    if (rootFd < 0)
        return true; // no card there now: nothing to list either
    const bool ok = repairAt(rootFd);
    ::close(rootFd);
    return ok;
}

bool StagingRepair::repairAt(int rootFd)
{
    const int stagingFd = CardFs::openDirAt(rootFd, kStagingFolder);
    if (stagingFd < 0)
        return true;
    std::vector<DirWalker::Entry> entries;
    DirWalker::list(stagingFd, entries, false);
    bool ok = true;
    for (const DirWalker::Entry &e : entries)
        ok = repairJob(rootFd, stagingFd, e.name) && ok;
    ::close(stagingFd);
    // Only when empty: a running install's folder keeps it.
    ::unlinkat(rootFd, kStagingFolder, AT_REMOVEDIR);
    return ok;
}

bool StagingRepair::lockShared(int jobFd)
{
    while (::flock(jobFd, LOCK_SH) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}
