#include "ArchiveInstall.h"

#include "ArchiveExpectation.h"
#include "DownloadFile.h"
#include "InstallRunnable.h"
#include "JobDispatcher.h"
#include "ManifestStore.h"
#include "Platform.h"
#include "ProgramInstaller.h"
#include "UpdateHistory.h"
#include "UpgradeLog.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <QDateTime>
#include <QFileInfo>

namespace {
QThreadPool *recordsPool()
{
    static QThreadPool pool;
    pool.setMaxThreadCount(1);
    return &pool;
}

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
        startProgramUpdate();
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
    if (!mPackage.isPatch())
        job->setListed(mPackage.folderName(), mPackage.installedFolder, mPackage.installedVersion);
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

void ArchiveInstall::startProgramUpdate()
{
    emit started();
    QString reason;
    switch (ProgramInstaller::check(mPackage, mArchivePath)) {
    case ProgramInstaller::Verdict::Ok: break;
    case ProgramInstaller::Verdict::NotHttps:
        reason = tr("The update of this program did not come over a secure (https) address. It was not installed.");
        break;
    case ProgramInstaller::Verdict::NotDebianPackage:
        reason = tr("The update of this program is not a Debian package. It was not installed.");
        break;
    case ProgramInstaller::Verdict::SizeUnknown:
    case ProgramInstaller::Verdict::WrongSize:
        reason = tr("The update of this program does not have the size the service announced. It was not installed.");
        break;
    case ProgramInstaller::Verdict::WrongChecksum:
        reason = tr("The update of this program does not have the checksum the service announced. It was not "
                    "installed.");
        break;
    case ProgramInstaller::Verdict::NotPrivate:
        reason = tr("The update of this program could not be kept safe on this computer. It was not installed.");
        break;
    }
    qCDebug(lcUpgrade).noquote() << "self update:" << mArchivePath << (reason.isEmpty() ? "checked" : "refused");
    if (!reason.isEmpty()) {
        // Never offered again: the next attempt fetches it afresh.
        removeArchive(mArchivePath);
        emit finished(Result::failed(Failure::Archive, reason));
        return;
    }
    mAwaitingAnswer = true;
    emit confirmationNeeded(QFileInfo(mArchivePath).fileName(), mPackage.version);
}

void ArchiveInstall::answer(bool install)
{
    if (!mAwaitingAnswer)
        return;
    mAwaitingAnswer = false;
    if (!install) {
        emit finished(Result::failed(Failure::Cancelled, tr("The update of this program was not confirmed.")));
        return;
    }
    // The desktop's software installer opens it and asks for the rights it
    // needs; it is never started as a program from here.
    const bool opened = Platform::instance()->openWithDefaultApplication(mArchivePath);
    qCDebug(lcUpgrade).noquote() << "self update handed over:" << mArchivePath << opened;
    emit finished(opened ? Result() : Result::failed(Failure::Card, tr("The installer could not be opened.")));
}

void ArchiveInstall::cancel()
{
    mAwaitingAnswer = false;
    mWaitingForRecords = false;
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
        finishAfter(keepRecords(job, Result(), false, mDeleteArchive ? mArchivePath : QString()), Result());
        return;
    }
    // A broken archive was removed: its record goes with it.
    if (!QFileInfo::exists(mArchivePath))
        removeArchive(mArchivePath);
    qCDebug(lcUpgrade).noquote() << "install failed:" << mPackage.identity() << job->errorString();
    const Result failed = resultOf(job);
    finishAfter(keepRecords(job, failed), failed);
}

UpgradeJob::Result ArchiveInstall::resultOf(const InstallRunnable *job) const
{
    const QString name = mPackage.name.isEmpty() ? mPackage.softId : mPackage.name;
    // A patch goes over its package, which is on the card by then.
    const QString unchanged = mPackage.isPatch() ? tr("%1 is on the card without this patch.").arg(name)
                                                 : tr("Nothing on the card was changed.");
    switch (job->failure()) {
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
    case InstallRunnable::Failure::Verify:
        return Result::failed(Failure::Card,
                              tr("The SD card gave back different data than was written to it: it may be failing or "
                                 "counterfeit. The installed version was kept."));
    case InstallRunnable::Failure::ReadBack:
        return Result::failed(Failure::Card, tr("The SD card could not read back what was written to it: it may be "
                                                "failing. The installed version was kept."));
    case InstallRunnable::Failure::Space:
        return Result::failed(Failure::Space, tr("There is not enough space on the SD card."));
    case InstallRunnable::Failure::Cancelled:
        return Result::failed(Failure::Cancelled, tr("The install was stopped. The card keeps what it had."));
    default:
        return Result::failed(Failure::Card, tr("The SD card could not be written. It keeps what it had."));
    }
}

QFuture<void> ArchiveInstall::keepRecords(const InstallRunnable *job, const Result &result, bool stopped,
                                          const QString &archiveToRemove)
{
    HistoryRecord record;
    record.time = QDateTime::currentDateTimeUtc();
    record.serial = mPackage.card.serialNumber();
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
    const bool manifest = job && result.ok() && !record.serial.isEmpty() && !mInstalledFolder.isEmpty();
    const InstalledFiles files = manifest ? job->files() : InstalledFiles();
    const Package package = mPackage;
    const QString folder = mInstalledFolder;
    // Written one after the other, off the window's thread: a package's
    // manifest names every file it put on the card.
    return QtConcurrent::run(recordsPool(), [record, manifest, files, package, folder, archiveToRemove] {
        UpdateHistory().append(record);
        if (manifest) {
            ManifestStore store;
            InstallManifest kept;
            // A patch changes some files of its package: the card then holds both.
            if (package.isPatch())
                kept = store.find(record.serial, folder, package.baseVersion);
            kept.serial = record.serial;
            kept.softId = package.softId;
            kept.name = package.name;
            kept.folder = folder;
            kept.version = package.version;
            kept.installed = record.time;
            kept.overlay(files);
            if (!store.save(kept))
                qCDebug(lcUpgrade).noquote() << "no manifest kept for" << package.identity();
        }
        if (!archiveToRemove.isEmpty())
            removeArchive(archiveToRemove);
    });
}

void ArchiveInstall::finishAfter(const QFuture<void> &records, const Result &result)
{
    // Finished once its records are kept, so what reads them next finds them.
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, result] {
        watcher->deleteLater();
        if (mWaitingForRecords) {
            mWaitingForRecords = false;
            emit finished(result);
        }
    });
    mWaitingForRecords = true;
    watcher->setFuture(records);
}
