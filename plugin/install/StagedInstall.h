#pragma once

#include "ArchiveExtractor.h"
#include "Card.h"
#include "DirWalker.h"
#include "InstalledFile.h"
#include "SwapJournal.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <atomic>
#include <functional>
#include <vector>

// One archive installed onto a card so that a bad archive, a cancel, a
// pulled card or a crash never leaves a package half installed or gone.
//
// begin() puts right what earlier installs cut short (StagingRepair), then
// makes a staging folder of this install's own inside a hidden folder at
// the card root (same file system, so moving out of it is a rename; the
// catalogue only looks below "Vehicles/") and holds its lock while it runs.
// The entries are unpacked there. verify() flushes them to the card and
// reads every file back from the card (CardReadBack, past the page cache),
// comparing its size and CRC-32 with the archive's: a card that stores
// something else fails the install before anything installed is touched.
// commit() (which verifies first, if that was not done) then plans the
// swap and writes it down (SwapJournal) before the first move: the files
// that identify a package (version.txt, Names.txt, program files
// "*.bin") that the swap replaces or that the old version's folder holds
// move aside first; then the old version's folder and every other file the
// new version replaces; then the new entries move into place (a folder that
// is not on the card yet as one piece), the new identifying files last and
// the version files last of all. So a catalogue never lists a mix of two
// versions as either, and after a crash the journal tells how to undo the
// swap or that only its leftovers remain. A failure at any point moves
// everything back and removes the staging folder, leaving the card as it
// was.
//
// Everything below the card root is reached without following any link.
class StagedInstall
{
public:
    static const char *const kStagingFolder;

    explicit StagedInstall(const Card &card);
    ~StagedInstall(); // abort() unless committed
    StagedInstall(const StagedInstall &) = delete;
    StagedInstall &operator=(const StagedInstall &) = delete;

    // A folder below the card root that the new version replaces. A folder
    // of the HOME software keeps everything but its version file and
    // program files, as an uninstall does.
    void setOldFolder(const QString &path) { mOldFolder = path; }
    // Most bytes the unpacked archive may take.
    void setSpaceLimit(quint64 bytes) { mSpaceLimit = bytes; }

    bool begin();
    bool openArchive(const QString &path);
    int count() const { return mExtractor.count(); }
    // Holds the space the archive needs on the card against the other
    // installs running on it (SpaceReservations), waiting while they take
    // it. False when it does not fit even with no other install running
    // (isOutOfSpace()) or when cancelled while waiting.
    bool reserveSpace(const std::atomic<bool> *cancel);
    bool unpack(int i, const std::atomic<bool> *cancel);
    // Flushes the unpacked files to the card and reads them back from it.
    // `progress` hears the bytes read of all there are to read, first with
    // none read.
    bool verify(const std::atomic<bool> *cancel, const std::function<void(quint64 done, quint64 total)> &progress = {});
    // Nothing is changed outside the staging folder before this. `cancel` is
    // honoured until the swap starts.
    bool commit(const std::atomic<bool> *cancel);
    // Undoes whatever was done and removes the staging folder.
    void abort();

    ArchiveExtractor &extractor() { return mExtractor; }
    const ArchiveExtractor &extractor() const { return mExtractor; }
    // The last failure lies in the archive, not in the card: see
    // ArchiveExtractor::isBroken().
    bool isArchiveBroken() const { return mArchiveBroken || mExtractor.isBroken(); }
    bool isOutOfSpace() const { return mOutOfSpace; }
    // No card at begin(), or the card's folder is no longer the one this
    // install opened: pulled (unmounted) while it ran.
    bool isCardMissing() const;
    // The card gave back other bytes than were written, or none: it may be
    // failing or counterfeit.
    bool isCardUntrue() const { return mCardUntrue; }
    // Of those: the card would not give a written file back at all (a read
    // error), rather than giving back other bytes.
    bool isCardUnreadable() const { return mCardUnreadable; }
    // After verify(): the files as the card gave them back.
    const InstalledFiles &files() const { return mFiles; }
    // The card was flushed after the last change this install made to it.
    bool isCardSynced() const { return mSynced; }
    QString errorString() const { return mError; }
    bool wasCancelled() const { return mCancelled; }

private:
    enum class OnCard { Absent, File, Dir, Other };

    bool fail(const QString &message);
    bool makeStagingFolder();
    quint64 freeSpace() const;
    void releaseSpace();
    // The swap, planned against the card as it is.
    bool plan();
    OnCard stateOf(const QByteArray &path) const;
    bool asideIdentifying(const std::vector<DirWalker::Entry> &entries, const QByteArray &path);
    bool asideReplaced(const std::vector<DirWalker::Entry> &entries, const QByteArray &path);
    void place(const std::vector<DirWalker::Entry> &entries, const QByteArray &path, std::vector<QByteArray> &folders,
               std::vector<QByteArray> &files, std::vector<QByteArray> &versions);
    void aside(const QByteArray &path);
    void placeNow(const QByteArray &path, OnCard kind);
    void rollBack();
    void removeEmptyFolders(QByteArray path);
    void removeStaging();

    Card mCard;
    QString mOldFolder;
    QByteArray mOldPath;
    bool mOldIsHome = false;
    quint64 mSpaceLimit = ~quint64(0);
    ArchiveExtractor mExtractor;
    int mRootFd = -1;
    int mJobFd = -1;
    int mNewFd = -1;
    QByteArray mJobName;
    QByteArray mJobPath; // the staging folder below the card root
    quint64 mDevice = 0;
    quint64 mReserved = 0;
    bool mHoldsReservation = false;
    SwapJournal mJournal;
    // What the planned moves will have changed on the card, by path.
    QHash<QByteArray, OnCard> mPlanned;
    bool mSwapping = false;
    bool mOldMovedWhole = false;
    bool mCommitted = false;
    bool mCancelled = false;
    bool mArchiveBroken = false;
    bool mOutOfSpace = false;
    bool mCardMissing = false;
    bool mCardUntrue = false;
    bool mCardUnreadable = false;
    bool mVerified = false;
    bool mSynced = false;
    InstalledFiles mFiles;
    QString mError;
};
