#pragma once

#include "ArchiveExpectation.h"
#include "Card.h"

#include <QObject>
#include <QRunnable>
#include <QString>

#include <atomic>

// Installs one downloaded archive onto the card, as a job of the download
// page's pool. The archive is unpacked into a staging folder on the card and
// only swapped in, replacing the old version's folder when asked to, once
// every entry is written and checked (see StagedInstall); a bad archive, an
// archive that does not hold its package (see ArchiveExpectation), a cancel
// or a failed write leaves the card as it was. Installs running at once on
// one card share its free space (see SpaceReservations). Progress counts the
// entries unpacked. Every run ends with exactly one installFinished.
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

    void run() override;

signals:
    void installStarted(long id);
    void installFinished(long id, bool result, QString targetFolder);
    void installProgress(long id, qint64 progress, qint64 total);

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
    QString mError;
    Failure mFailure = Failure::None;
};
