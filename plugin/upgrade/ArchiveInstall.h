#pragma once

#include "UpgradeJob.h"

#include "InstallRunnable.h"

#include <QFuture>
#include <QPointer>

class JobDispatcher;

// Installs a package's downloaded archive onto its card, as a job of the
// dispatcher's pool: the archive must hold the package (and a patch must
// stay inside its package's folder) before anything installed is touched,
// and the folder it replaces gives way only once the new version is
// written and read back from the card as written. The program's own
// installer is checked (ProgramInstaller) and handed to the desktop
// instead, only once the mechanic has confirmed it: the job asks with
// confirmationNeeded() and waits for answer().
//
// Every install that ends (or is stopped once under way) adds a record to
// the update history; one that succeeds keeps the manifest of the files it
// put on the card (a patch's includes its package's), for a card check.
class ArchiveInstall : public UpgradeJob
{
    Q_OBJECT
public:
    ArchiveInstall(const Package &package, const QString &archivePath, JobDispatcher *dispatcher,
                   QObject *parent = nullptr);
    ~ArchiveInstall() override;

    // A patch: the folder (below the card root) its package went into.
    void setBaseFolder(const QString &folder) { mBaseFolder = folder; }
    // Whether the archive goes once it is installed (a package's archive
    // stays until its patch is on too, for a retry).
    void setDeleteArchive(bool on) { mDeleteArchive = on; }

    void start() override;
    void cancel() override;

    // Where the package went, below the card root; after a successful end.
    QString installedFolder() const { return mInstalledFolder; }
    // Whether the card was left flushed: it can be pulled as far as this
    // install goes. True until the install changed the card.
    bool leftCardSynced() const { return mCardSynced; }

    // The program's installer passed its checks: install it (hand it to
    // the desktop's software installer) or not.
    void answer(bool install);
    bool isAwaitingAnswer() const { return mAwaitingAnswer; }
    QString archivePath() const { return mArchivePath; }

    // An archive and its download record.
    static void removeArchive(const QString &path);

signals:
    // Asks whether to install the program's installer `file` (its name in
    // the download folder) of `version`.
    void confirmationNeeded(const QString &file, const QString &version);
    // Once the archive is unpacked: bytes read back from the card of all
    // there are.
    void verifying(qint64 done, qint64 total);

private:
    void onFinished(long id, bool result);
    Result resultOf(const InstallRunnable *job) const;
    void startProgramUpdate();
    // The history record of this install and, on success, its manifest;
    // `job` is null for one stopped under way.
    QFuture<void> keepRecords(const InstallRunnable *job, const Result &result, bool stopped = false,
                              const QString &archiveToRemove = QString());
    void finishAfter(const QFuture<void> &records, const Result &result);

    QString mArchivePath;
    JobDispatcher *mDispatcher;
    QString mBaseFolder;
    bool mDeleteArchive = true;
    QPointer<InstallRunnable> mJob;
    bool mUnderWay = false;
    bool mWaitingForRecords = false;
    QString mInstalledFolder;
    bool mAwaitingAnswer = false;
    bool mCardSynced = true;
};
