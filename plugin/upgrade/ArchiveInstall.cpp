#include "ArchiveInstall.h"

#include "ArchiveExpectation.h"
#include "DownloadFile.h"
#include "InstallRunnable.h"
#include "JobDispatcher.h"
#include "ManifestStore.h"
#include "Platform.h"
#include "UpdateHistory.h"
#include "UpgradeLog.h"

#include <QDateTime>
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
        const Result noCard = Result::failed(Failure::NoCard, tr("There is no SD card to install onto."));
        keepRecords(nullptr, noCard);
        emit finished(noCard);
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
    connect(job, &InstallRunnable::installStarted, this, [this] {
        mUnderWay = true;
        emit started();
    });
    connect(job, &InstallRunnable::installProgress, this,
            [this](long, qint64 done, qint64 total) { emit progress(done, total); });
    connect(job, &InstallRunnable::verifyProgress, this,
            [this](long, qint64 done, qint64 total) { emit verifying(done, total); });
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
    // Under way, it leaves the card as it was; that is worth a line. (What
    // the job has done so far is its own thread's to know.)
    if (mUnderWay)
        keepRecords(nullptr,
                    Result::failed(Failure::Cancelled, tr("The install was stopped. The card keeps what it had.")),
                    true);
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
    mCardSynced = job->isCardSynced();
    if (result) {
        mInstalledFolder = job->installedFolder();
        keepRecords(job, Result());
        if (mDeleteArchive)
            removeArchive(mArchivePath);
        emit finished(Result());
        return;
    }
    // A broken archive was removed: its record goes with it.
    if (!QFileInfo::exists(mArchivePath))
        removeArchive(mArchivePath);
    qCDebug(lcUpgrade).noquote() << "install failed:" << mPackage.identity() << job->errorString();
    const Result failed = resultOf(job);
    keepRecords(job, failed);
    emit finished(failed);
}

UpgradeJob::Result ArchiveInstall::resultOf(const InstallRunnable *job) const
{
    switch (job->failure()) {
    case InstallRunnable::Failure::NoCard:
        return Result::failed(Failure::NoCard, tr("There is no SD card to install onto."));
    case InstallRunnable::Failure::Archive:
        return Result::failed(Failure::Archive, tr("The archive is damaged. Retry downloads it again."));
    case InstallRunnable::Failure::NotThePackage:
        return Result::failed(Failure::Archive, tr("The archive does not hold %1. Nothing on the card was changed.")
                                                    .arg(mPackage.name.isEmpty() ? mPackage.softId : mPackage.name));
    case InstallRunnable::Failure::WrongVersion:
        return Result::failed(
            Failure::Archive,
            tr("The archive holds another version than %1. Nothing on the card was changed.").arg(mPackage.version));
    case InstallRunnable::Failure::Space:
        return Result::failed(Failure::Space, tr("There is not enough space on the SD card."));
    case InstallRunnable::Failure::Verify:
        return Result::failed(Failure::Card,
                              tr("The SD card gave back different data than was written to it: it may be failing or "
                                 "counterfeit. The installed version was kept."));
    case InstallRunnable::Failure::Cancelled:
        return Result::failed(Failure::Cancelled, tr("The install was stopped. The card keeps what it had."));
    default: return Result::failed(Failure::Card, tr("The SD card could not be written. It keeps what it had."));
    }
}

void ArchiveInstall::keepRecords(const InstallRunnable *job, const Result &result, bool stopped)
{
    const QString serial = mPackage.card.serialNumber();
    HistoryRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    record.serial = serial;
    record.id = mPackage.id;
    record.softId = mPackage.softId;
    record.name = mPackage.name;
    record.from = mPackage.isPatch() ? mPackage.baseVersion : mPackage.installedVersion;
    record.to = mPackage.version;
    record.result = stopped       ? HistoryRecord::Result::Stopped
                    : result.ok() ? HistoryRecord::Result::Done
                                  : HistoryRecord::Result::Failed;
    record.reason = result.reason;
    record.bytes = job ? qint64(job->bytesWritten()) : 0;
    record.verified = job && result.ok() && job->isVerified();
    UpdateHistory().append(record);
    if (!job || !result.ok() || serial.isEmpty() || mInstalledFolder.isEmpty())
        return;

    ManifestStore store;
    InstallManifest manifest;
    // A patch changes some files of its package: the card then holds both.
    if (mPackage.isPatch())
        manifest = store.find(serial, mInstalledFolder, mPackage.baseVersion);
    manifest.serial = serial;
    manifest.softId = mPackage.softId;
    manifest.name = mPackage.name;
    manifest.folder = mInstalledFolder;
    manifest.version = mPackage.version;
    manifest.installed = record.time;
    manifest.overlay(job->files());
    if (!store.save(manifest))
        qCDebug(lcUpgrade).noquote() << "no manifest kept for" << mPackage.identity();
}
