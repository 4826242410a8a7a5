#pragma once

#include "ArchiveExpectation.h"
#include "Card.h"
#include "InstalledFile.h"

#include <QObject>
#include <QRunnable>
#include <QString>

#include <atomic>

// Installs one downloaded archive onto the card, as a job of the download
// page's pool. The archive is unpacked into a staging folder on the card and
// only swapped in, replacing the old version's folder when asked to, once
// every entry is written, checked and read back from the card as written
// (see StagedInstall); a bad archive, an archive that does not hold its
// package (see ArchiveExpectation), a cancel, a failed write or a card that
// gives back other data leaves the card as it was. Installs running at once
// on one card share its free space (see SpaceReservations). Progress counts
// the entries unpacked, then verifyProgress the bytes read back. Every run
// ends with exactly one installFinished.
class InstallRunnable : public QObject, public QRunnable
{
    Q_OBJECT

public:
    // Why a run failed, for a reason the user can be shown.
    enum class Failure {
        None,
        NoCard,        // no card, or it is gone
        Archive,       // the archive is broken or unreadable: removed, a retry fetches it again
        NotThePackage, // it does not hold the package it was fetched for (removed too)
        WrongVersion,  // it holds another version (removed too)
        Card,          // the card could not be written
        Space,         // it does not fit on the card, even with no other install running
        CardChanged,   // the card no longer holds what the list showed
        Verify,        // the card gave back other data than was written: failing or counterfeit
        ReadBack,      // the card would not give a written file back at all: failing
        Cancelled
    };

    InstallRunnable(long id, const QString &archivePath, QObject *parent = nullptr);

    // The card the archive is unpacked onto, at its root.
    void setCard(const Card &card) { mCard = card; }
    void setOldVersionFolder(const QString &folder) { mOldVersionFolder = folder; }
    void setDeleteArchive(bool on) { mDeleteArchive = on; }
    void setDeleteOldFirst(bool on) { mDeleteOldFirst = on; }
    // What the archive must hold; checked before anything is written.
    void setExpectation(const ArchiveExpectation &expectation) { mExpectation = expectation; }
    // What the list showed of this package on the card: the folder (below
    // the card root; empty when none) and the version in it. Before anything
    // is written the card must still hold just that: after a card went and
    // came back, it may be another one with the same serial number.
    void setListed(const QString &folderName, const QString &folder, const QString &version);
    // Also wakes the job when it waits for space on the card.
    void cancel();

    long id() const { return mId; }
    QString archivePath() const { return mArchivePath; }
    Card card() const { return mCard; }
    QString targetFolder() const { return mCard.root(); }
    QString oldVersionFolder() const { return mOldVersionFolder; }
    bool deleteArchive() const { return mDeleteArchive; }
    bool deleteOldFirst() const { return mDeleteOldFirst; }
    // 0 created, 1 started, 2 unpacking, 3 ended.
    int state() const { return mState; }
    // Why the last run failed; read after installFinished.
    QString errorString() const { return mError; }
    Failure failure() const { return mFailure; }
    ArchiveExpectation expectation() const { return mExpectation; }
    // After a successful run with an expectation: the package folder it
    // installed, below the card root (e.g. "Vehicles/EU/BMW"), for the
    // expectation of the package's patch.
    QString installedFolder() const { return mInstalledFolder; }
    // After a successful run: the files put on the card, as read back.
    const InstalledFiles &files() const { return mFiles; }
    // The bytes unpacked onto the card in the last run.
    quint64 bytesWritten() const { return mBytes; }
    // The last run read back what it wrote and found it whole.
    bool isVerified() const { return mVerified; }
    // The card was flushed after the last run's last change to it.
    bool isCardSynced() const { return mCardSynced; }

    void run() override;

signals:
    void installStarted(long id);
    void installFinished(long id, bool result, QString targetFolder);
    void installProgress(long id, qint64 progress, qint64 total);
    // Bytes read back from the card of all there are, once the entries are
    // written; at most once per percent.
    void verifyProgress(long id, qint64 done, qint64 total);

private:
    bool install();
    bool cardAsListed();
    bool failWith(Failure failure, const QString &error);

    long mId;
    QString mArchivePath;
    Card mCard;
    QString mOldVersionFolder;
    bool mDeleteArchive = false;
    bool mDeleteOldFirst = false;
    std::atomic<int> mState{0};
    std::atomic<bool> mCancelled{false};
    ArchiveExpectation mExpectation;
    bool mCheckListed = false;
    QString mListedName;
    QString mListedFolder;
    QString mListedVersion;
    QString mInstalledFolder;
    InstalledFiles mFiles;
    quint64 mBytes = 0;
    bool mVerified = false;
    bool mCardSynced = true;
    QString mError;
    Failure mFailure = Failure::None;
};
