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
    if (!mPackage.isPatch())
        job->setListed(mPackage.folderName(), mPackage.installedFolder, mPackage.installedVersion);
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
    emit finished(resultOf(job->failure()));
}

UpgradeJob::Result ArchiveInstall::resultOf(InstallRunnable::Failure failure) const
{
    const QString name = mPackage.name.isEmpty() ? mPackage.softId : mPackage.name;
    // A patch goes over its package, which is on the card by then.
    const QString unchanged = mPackage.isPatch() ? tr("%1 is on the card without this patch.").arg(name)
                                                 : tr("Nothing on the card was changed.");
    switch (failure) {
    case InstallRunnable::Failure::NoCard:
        return Result::failed(Failure::NoCard, tr("There is no SD card to install onto."));
    case InstallRunnable::Failure::Archive:
        return Result::failed(Failure::Archive, tr("The archive is damaged. Retry downloads it again."));
    case InstallRunnable::Failure::NotThePackage:
        return Result::failed(Failure::Archive, tr("The archive does not hold %1.").arg(name) + QLatin1Char(' ') + unchanged);
    case InstallRunnable::Failure::WrongVersion:
        return Result::failed(Failure::Archive,
                              tr("The archive holds another version than %1.").arg(mPackage.version) + QLatin1Char(' ')
                                  + unchanged);
    case InstallRunnable::Failure::CardChanged:
        return Result::failed(Failure::Card, tr("The SD card no longer holds what the list showed: is it another card "
                                                "with the same serial number? Return to the list to see what it holds "
                                                "now. Nothing on the card was changed."));
    case InstallRunnable::Failure::Space:
        return Result::failed(Failure::Space, tr("There is not enough space on the SD card."));
    case InstallRunnable::Failure::Cancelled:
        return Result::failed(Failure::Cancelled, tr("The install was stopped. The card keeps what it had."));
    default:
        return Result::failed(Failure::Card, tr("The SD card could not be written. It keeps what it had."));
    }
}
