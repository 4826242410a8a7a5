#include "ArchiveInstall.h"

#include "ArchiveExpectation.h"
#include "DownloadFile.h"
#include "InstallRunnable.h"
#include "JobDispatcher.h"
#include "Platform.h"
#include "UpgradeLog.h"

#include <QFileInfo>

namespace {
// The package is told by its folder, as the card's catalogue tells it.
ArchiveExpectation expectationOf(const Package &package, const QString &baseFolder)
{
    ArchiveExpectation::Kind kind = ArchiveExpectation::Kind::Vehicle;
    if (package.kind() == Package::Kind::Home)
        kind = ArchiveExpectation::Kind::Home;
    else if (package.kind() == Package::Kind::TextLibrary)
        kind = ArchiveExpectation::Kind::TextLibrary;
    if (package.isPatch())
        return ArchiveExpectation::forPatch(ArchiveExpectation(kind, package.folderName(), QString()), baseFolder,
                                            package.version);
    return ArchiveExpectation(kind, package.folderName(), package.version);
}
} // namespace

ArchiveInstall::ArchiveInstall(const Package &package, const QString &archivePath, JobDispatcher *dispatcher,
                               QObject *parent)
    : UpgradeJob(package, parent)
    , mArchivePath(archivePath)
    , mDispatcher(dispatcher)
{
}

ArchiveInstall::~ArchiveInstall()
{
    cancel();
}

void ArchiveInstall::removeArchive(const QString &path)
{
    if (!path.isEmpty())
        DownloadFile::removeArchive(path);
}

void ArchiveInstall::start()
{
    if (mPackage.kind() == Package::Kind::Program) {
        // The program's own installer: the desktop opens it with the
        // application it has for it (never started as a program from here).
        emit started();
        const bool opened = Platform::instance()->openWithDefaultApplication(mArchivePath);
        qCDebug(lcUpgrade).noquote() << "self update:" << mArchivePath << opened;
        emit finished(opened ? Result() : Result::failed(Failure::Card, tr("The installer could not be opened.")));
        return;
    }
    if (mPackage.card.isNull()) {
        emit finished(Result::failed(Failure::NoCard, tr("There is no SD card to install onto.")));
        return;
    }
    auto *job = new InstallRunnable(long(mPackage.id), mArchivePath);
    job->setCard(mPackage.card);
    job->setExpectation(expectationOf(mPackage, mBaseFolder));
    // The archive goes here, with its download record.
    job->setDeleteArchive(false);
    if (!mPackage.isPatch() && !mPackage.installedFolder.isEmpty() && mPackage.installedVersion != mPackage.version) {
        job->setOldVersionFolder(mPackage.card.root() + mPackage.installedFolder);
        job->setDeleteOldFirst(true);
    }
    connect(job, &InstallRunnable::installStarted, this, &UpgradeJob::started);
    connect(job, &InstallRunnable::installProgress, this,
            [this](long, qint64 done, qint64 total) { emit progress(done, total); });
    connect(job, &InstallRunnable::installFinished, this, [this](long id, bool result) { onFinished(id, result); });
    mJob = job;
    // A patch goes ahead of waiting packages: its row is nearly done.
    mDispatcher->run(job, mPackage.isPatch() ? 4 : 0);
}

void ArchiveInstall::cancel()
{
    if (!mJob)
        return;
    disconnect(mJob, nullptr, this, nullptr);
    mJob->cancel();
    mJob = nullptr;
}

void ArchiveInstall::onFinished(long, bool result)
{
    InstallRunnable *job = mJob;
    mJob = nullptr;
    if (!job) {
        emit finished(Result::failed(Failure::Cancelled, tr("The install was stopped.")));
        return;
    }
    if (result) {
        mInstalledFolder = job->installedFolder();
        if (mDeleteArchive)
            removeArchive(mArchivePath);
        emit finished(Result());
        return;
    }
    // A broken archive was removed: its record goes with it.
    if (!QFileInfo::exists(mArchivePath))
        removeArchive(mArchivePath);
    qCDebug(lcUpgrade).noquote() << "install failed:" << mPackage.identity() << job->errorString();
    switch (job->failure()) {
    case InstallRunnable::Failure::NoCard:
        emit finished(Result::failed(Failure::NoCard, tr("There is no SD card to install onto.")));
        return;
    case InstallRunnable::Failure::Archive:
        emit finished(Result::failed(Failure::Archive, tr("The archive is damaged. Retry downloads it again.")));
        return;
    case InstallRunnable::Failure::NotThePackage:
        emit finished(
            Result::failed(Failure::Archive, tr("The archive does not hold %1. Nothing on the card was changed.")
                                                 .arg(mPackage.name.isEmpty() ? mPackage.softId : mPackage.name)));
        return;
    case InstallRunnable::Failure::WrongVersion:
        emit finished(Result::failed(
            Failure::Archive,
            tr("The archive holds another version than %1. Nothing on the card was changed.").arg(mPackage.version)));
        return;
    case InstallRunnable::Failure::Space:
        emit finished(Result::failed(Failure::Space, tr("There is not enough space on the SD card.")));
        return;
    case InstallRunnable::Failure::Cancelled:
        emit finished(Result::failed(Failure::Cancelled, tr("The install was stopped. The card keeps what it had.")));
        return;
    default:
        emit finished(Result::failed(Failure::Card, tr("The SD card could not be written. It keeps what it had.")));
        return;
    }
}
