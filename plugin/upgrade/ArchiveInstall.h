#pragma once

#include "UpgradeJob.h"

#include "InstallRunnable.h"

#include <QPointer>

class JobDispatcher;

// Installs a package's downloaded archive onto its card, as a job of the
// dispatcher's pool: the archive must hold the package (and a patch must
// stay inside its package's folder) before anything installed is touched,
// and the folder it replaces gives way only once the new version is
// written. The program's own installer is checked (ProgramInstaller) and
// handed to the desktop instead, only once the mechanic has confirmed it:
// the job asks with confirmationNeeded() and waits for answer().
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

private:
    void onFinished(long id, bool result);
    Result resultOf(InstallRunnable::Failure failure) const;
    void startProgramUpdate();

    QString mArchivePath;
    JobDispatcher *mDispatcher;
    QString mBaseFolder;
    bool mDeleteArchive = true;
    QPointer<InstallRunnable> mJob;
    QString mInstalledFolder;
    bool mAwaitingAnswer = false;
};
