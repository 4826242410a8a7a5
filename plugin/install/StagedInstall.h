#pragma once

#include "ArchiveExtractor.h"
#include "Card.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <vector>

// One archive installed onto a card so that a bad archive, a cancel or a
// pulled card never leaves a vehicle half installed or gone.
//
// begin() makes a staging folder of this install's own inside a hidden
// folder at the card root (same file system, so moving out of it is a
// rename; the catalogue only looks below "Vehicles/"). The entries are
// unpacked there. commit() then flushes them to the card, moves the old
// version's folder aside into the staging folder, moves the new entries
// into place (a folder that is not on the card yet moves as one piece; a
// file that is replaced first moves aside too), removes what was moved aside
// and flushes again. A failure at any point moves everything back and
// removes the staging folder, leaving the card as it was.
//
// A staging folder that a crash or a pulled card left behind is cleaned up
// by the next install on that card: first whatever had been moved aside goes
// back wherever its place is still empty (so an old version whose new one
// never arrived is restored), then the folder is removed.
//
// Everything below the card root is reached without following any link.
class StagedInstall
{
public:
    static const char kStagingFolder[];

    explicit StagedInstall(const Card &card);
    ~StagedInstall(); // abort() unless committed
    StagedInstall(const StagedInstall &) = delete;
    StagedInstall &operator=(const StagedInstall &) = delete;

    // A folder below the card root that the new version replaces. A folder
    // of the HOME software keeps everything but its version file and
    // program files, as an uninstall does.
    void setOldFolder(const QString &path) { mOldFolder = path; }
    // Most bytes the unpacked archive may take; the card's free space when
    // that is less.
    void setSpaceLimit(quint64 bytes) { mSpaceLimit = bytes; }

    bool begin();
    bool openArchive(const QString &path);
    int count() const { return mExtractor.count(); }
    bool unpack(int i, const std::atomic<bool> *cancel);
    // Nothing is changed outside the staging folder before this. `cancel` is
    // honoured until the swap starts.
    bool commit(const std::atomic<bool> *cancel);
    // Undoes whatever was done and removes the staging folder.
    void abort();

    const ArchiveExtractor &extractor() const { return mExtractor; }
    // The last failure lies in the archive, not in the card: see
    // ArchiveExtractor::isBroken().
    bool isArchiveBroken() const { return mArchiveBroken || mExtractor.isBroken(); }
    QString errorString() const { return mError; }
    bool wasCancelled() const { return mCancelled; }

private:
    struct Step
    {
        enum Kind { Placed, FileAside, FolderAside } kind;
        QByteArray path; // below the card root
    };

    bool fail(const QString &message);
    bool moveOldAside();
    bool moveFileAside(const QByteArray &path, int dirFd, const QByteArray &name);
    bool merge(int sourceFd, int targetFd, const QByteArray &path, int depth);
    void rollBack();
    void removeEmptyFolders(QByteArray path);
    void removeStaging();
    void cleanLeftovers(int stagingFd);
    void restoreLeftover(int jobFd);

    Card mCard;
    QString mOldFolder;
    QByteArray mOldPath;
    quint64 mSpaceLimit = ~quint64(0);
    ArchiveExtractor mExtractor;
    int mRootFd = -1;
    int mJobFd = -1;
    int mNewFd = -1;
    QByteArray mJobName;
    QString mLiveKey;
    std::vector<Step> mSteps;
    bool mOldMoved = false;
    bool mCommitted = false;
    bool mCancelled = false;
    bool mArchiveBroken = false;
    QString mError;
};
