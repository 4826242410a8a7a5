#include "UpgradeController.h"

#include "AddressQuery.h"
#include "AppSettings.h"
#include "ArchiveInstall.h"
#include "ArchiveTransfer.h"
#include "JobDispatcher.h"
#include "Platform.h"
#include "UpgradeLog.h"

#include <Sornet/Code.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QNetworkAccessManager>
#include <QFileInfo>

namespace {
constexpr int LeftoverWait = 30000; // ms a cancelled install may take to let go

int percentOf(qint64 done, qint64 total)
{
    return total > 0 ? int(qBound<qint64>(0, done, total) * 100 / total) : 0;
}
} // namespace

UpgradeController::UpgradeController(QObject *parent)
    : QObject(parent)
    , mDispatcher(new JobDispatcher(this))
{
    mClock.start();
    // The transfers ask the platform for free space: made here, on this
    // thread, before any transfer runs.
    if (Platform *platform = Platform::instance())
        platform->volumes();
    // The first network access manager of the process sets up Qt's network
    // configuration on the main thread, waiting for it from any other one:
    // done here, so the transfer thread never waits for this thread while
    // this one waits for it (a cancel).
    { QNetworkAccessManager first; }
    mTransferThread.setObjectName(QStringLiteral("transfers"));
    mTransferThread.start();
}

UpgradeController::~UpgradeController()
{
    // Partial downloads stay for a later resume; installs are cancelled and
    // leave the card as it was.
    stopEverything();
    if (mRunning)
        AppSettings::setDownloading(false);
    mTransferThread.quit();
    mTransferThread.wait();
}

void UpgradeController::setBatch(const QList<UpgradeItem> &items, const Card &card)
{
    stopEverything();
    if (mRunning)
        endBatch(false);
    mAskingToken = false;
    mLastNotice = 0;
    mCard = card;
    setCardState(CardState::In);
    mBatch.setRows(items);
    // The batch's card is every package's.
    mBatch.setCard(card);
    mWork = QVector<Work>(mBatch.size());
}

void UpgradeController::start()
{
    qCDebug(lcUpgrade) << "start:" << mBatch.size() << "rows";
    mToken = AppSettings::token();
    mUserId = AppSettings::userId();
    settleLeftovers();
    mBatch.startAll();
    beginBatch();
    const QList<int> clashing = mBatch.clashingRows();
    for (int row = 0; row < mBatch.size(); ++row) {
        emit rowChanged(row);
        if (clashing.contains(row))
            refuseClash(row);
        else
            launch(row, mBatch.row(row).item.package);
    }
    checkEnd(); // an empty batch ends at once
}

void UpgradeController::retry()
{
    if (mRunning || !mBatch.hasFailed())
        return;
    mToken = AppSettings::token();
    mUserId = AppSettings::userId();
    settleLeftovers();
    const QList<int> rows = mBatch.retryFailed();
    if (!mCard.isNull())
        setCardState(CardState::In);
    beginBatch();
    const QList<int> clashing = mBatch.clashingRows();
    // What a row fetched before stays on disk: its transfer finds it there.
    for (int row : rows) {
        if (clashing.contains(row))
            refuseClash(row);
        else
            launch(row, mBatch.row(row).item.package);
    }
    checkEnd();
}

void UpgradeController::refuseClash(int row)
{
    // Its results could not be told from the other package's.
    mBatch.reportRow(row, DownloadBatch::DownloadFailed, 0,
                     tr("The service lists this package's number for another package as well; it was left out."));
    emit rowChanged(row);
}

void UpgradeController::launch(int row, const Package &package)
{
    const bool isPatch = package.id != mBatch.row(row).id();
    Waiting entry{row, package.id, isPatch};
    // List order, a package's patch before the rows after it.
    auto at = mWaiting.begin();
    while (at != mWaiting.end() && (at->row < row || (at->row == row && !at->isPatch && isPatch)))
        ++at;
    mWaiting.insert(at, entry);
    pump();
}

void UpgradeController::pump()
{
    while (mFetching < MaxTransfers && !mWaiting.isEmpty()) {
        const Waiting next = mWaiting.takeFirst();
        ++mFetching;
        mWork[next.row].fetching = true;
        query(next.row, mBatch.package(next.id));
    }
}

void UpgradeController::release(int row)
{
    if (!mWork[row].fetching)
        return;
    mWork[row].fetching = false;
    --mFetching;
    // Not from inside the job's own signal: the next one starts after it.
    QMetaObject::invokeMethod(this, &UpgradeController::pump, Qt::QueuedConnection);
}

void UpgradeController::query(int row, const Package &package)
{
    auto *job = new AddressQuery(package, mToken, mUserId, this);
    connect(job, &UpgradeJob::finished, this,
            [this, row, job](const UpgradeJob::Result &result) { onAddressed(row, job, result); });
    run(row, job);
}

void UpgradeController::onAddressed(int row, UpgradeJob *job, const UpgradeJob::Result &result)
{
    if (!isCurrent(row, job))
        return;
    const Package package = job->package();
    if (!result.ok()) {
        release(row);
        refused(row, package, result);
        return;
    }
    // The address belongs to the package from now on.
    mBatch.setUrl(package.id, package.url);
    fetch(row, mBatch.package(package.id));
}

void UpgradeController::refused(int row, const Package &package, const UpgradeJob::Result &result)
{
    if (result.failure == UpgradeJob::Failure::Service && result.code == Code::CODE_ERROR_TOKEN) {
        if (mAskingToken) {
            // The one question asks for every row.
            report(package.id, DownloadBatch::DownloadFailed, 0, result.reason);
            return;
        }
        mAskingToken = true;
        const QPointer<UpgradeController> self(this);
        emit tokenRejected();
        if (!self || mRestarting)
            return;
        mAskingToken = false;
    }
    Q_UNUSED(row)
    // Every row of a batch may be refused at once; one notice tells it.
    noticeOnce(result.reason);
    report(package.id, DownloadBatch::DownloadFailed, 0, result.reason);
}

void UpgradeController::answerTokenRejected(bool restart)
{
    if (!restart)
        return;
    mRestarting = true;
    QCoreApplication::exit(RestartCode);
}

void UpgradeController::fetch(int row, const Package &package)
{
    auto *job = new ArchiveTransfer(package, &mTransferThread, this);
    connect(job, &UpgradeJob::progress, this, [this, row, job, id = package.id](qint64 done, qint64 total) {
        if (isCurrent(row, job))
            report(id, DownloadBatch::Downloading, percentOf(done, total));
    });
    connect(job, &ArchiveTransfer::arrived, this, [this, row, job](qint64 bytes) {
        if (isCurrent(row, job))
            mWork[row].rate.add(mClock.elapsed(), bytes);
    });
    connect(job, &UpgradeJob::finished, this,
            [this, row, job](const UpgradeJob::Result &result) { onFetched(row, job, result); });
    run(row, job);
}

void UpgradeController::onFetched(int row, UpgradeJob *job, const UpgradeJob::Result &result)
{
    if (!isCurrent(row, job))
        return;
    release(row);
    const Package &package = job->package();
    if (!result.ok()) {
        report(package.id, DownloadBatch::DownloadFailed, 0, result.reason);
        return;
    }
    const QString archive = static_cast<ArchiveTransfer *>(job)->archivePath();
    const UpgradeItem &item = mBatch.row(row).item;
    if (package.id == item.package.id) {
        mWork[row].packageArchive = archive;
        if (item.hasPatch()) {
            // The package is in; its patch comes next, then both are installed.
            report(package.id, DownloadBatch::Downloading, 100);
            launch(row, item.patch);
            return;
        }
    } else {
        mWork[row].patchArchive = archive;
    }
    report(package.id, DownloadBatch::Downloaded, 100);
    // A chain installs its package first.
    install(row, item.package);
}

void UpgradeController::install(int row, const Package &package)
{
    Work &work = mWork[row];
    const bool isPatch = package.id != mBatch.row(row).id();
    auto *job = new ArchiveInstall(package, isPatch ? work.patchArchive : work.packageArchive, mDispatcher, this);
    if (isPatch)
        job->setBaseFolder(work.packageFolder);
    // A package's archive stays until its patch is on too, so that a retry
    // need not fetch it again.
    job->setDeleteArchive(isPatch || !mBatch.row(row).item.hasPatch());
    connect(job, &UpgradeJob::started, this, [this, row, job, id = package.id] {
        if (isCurrent(row, job))
            report(id, DownloadBatch::InstallStarted, 0);
    });
    connect(job, &UpgradeJob::progress, this, [this, row, job, id = package.id](qint64 done, qint64 total) {
        if (isCurrent(row, job))
            report(id, DownloadBatch::Installing, percentOf(done, total));
    });
    connect(job, &ArchiveInstall::verifying, this, [this, row, job, id = package.id](qint64 done, qint64 total) {
        if (isCurrent(row, job))
            onVerifying(row, id, done, total);
    });
    connect(job, &UpgradeJob::finished, this,
            [this, row, job](const UpgradeJob::Result &result) { onInstalled(row, job, result); });
    connect(job, &ArchiveInstall::confirmationNeeded, this, [this, job] {
        mProgramQuestions.append(job);
        if (mProgramQuestions.size() == 1)
            askProgramUpdate();
    });
    run(row, job);
}

void UpgradeController::askProgramUpdate()
{
    // Questions of jobs stopped meanwhile are dropped.
    while (!mProgramQuestions.isEmpty()
           && !(mProgramQuestions.first() && mProgramQuestions.first()->isAwaitingAnswer()))
        mProgramQuestions.removeFirst();
    if (mProgramQuestions.isEmpty())
        return;
    ArchiveInstall *job = mProgramQuestions.first();
    emit programUpdateReady(QFileInfo(job->archivePath()).fileName(), job->package().version);
}

void UpgradeController::answerProgramUpdate(bool install)
{
    if (mProgramQuestions.isEmpty())
        return;
    const QPointer<ArchiveInstall> job = mProgramQuestions.takeFirst();
    if (job)
        job->answer(install);
    askProgramUpdate();
}

void UpgradeController::onInstalled(int row, UpgradeJob *job, const UpgradeJob::Result &result)
{
    if (!isCurrent(row, job))
        return;
    emit cardSpaceChanged();
    const Package &package = job->package();
    const UpgradeItem &item = mBatch.row(row).item;
    Work &work = mWork[row];
    mCardSettled = mCardSettled && static_cast<ArchiveInstall *>(job)->leftCardSynced();
    work.readBack.clear();
    work.readDone = work.readTotal = 0;
    if (package.kind() == Package::Kind::Program && result.failure != UpgradeJob::Failure::Archive) {
        // The desktop's installer takes this program's update from here, or
        // the mechanic chose not to: neither is a failure of the batch.
        if (result.ok() || result.failure == UpgradeJob::Failure::Cancelled) {
            report(package.id, result.ok() ? DownloadBatch::HandedOver : DownloadBatch::Declined, 100);
            return;
        }
    }
    if (result.ok()) {
        if (package.id == item.package.id) {
            work.packageFolder = static_cast<ArchiveInstall *>(job)->installedFolder();
            if (item.hasPatch()) {
                install(row, item.patch);
                return;
            }
            work.packageArchive.clear();
        } else {
            // Both are on the card: the package's archive, kept until now
            // for a retry, would only fill the disk.
            ArchiveInstall::removeArchive(work.packageArchive);
            work.packageArchive.clear();
            work.patchArchive.clear();
        }
        report(item.package.id, DownloadBatch::Done, 100);
        return;
    }
    if (result.failure == UpgradeJob::Failure::NoCard) {
        // The card went before the system said so: the row tells it as such.
        report(package.id, DownloadBatch::CardRemoved, 100,
               tr("The SD card was removed before this package was finished."));
        return;
    }
    // A patch never goes over a package that did not go on: both archives
    // stay, so a retry installs them without fetching again.
    if (result.failure == UpgradeJob::Failure::Archive) {
        // The archive itself is at fault: the next attempt fetches another copy.
        (package.id == item.package.id ? work.packageArchive : work.patchArchive).clear();
    }
    report(package.id, DownloadBatch::InstallFailed, 100, result.reason);
}

void UpgradeController::onVerifying(int row, long id, qint64 done, qint64 total)
{
    Work &work = mWork[row];
    if (total != work.readTotal || done < work.readDone) {
        work.readBack.clear();
        work.readDone = 0;
        work.readTotal = total;
    }
    work.readBack.add(mClock.elapsed(), done - work.readDone);
    work.readDone = done;
    const double speed = work.readBack.bytesPerSecond(mClock.elapsed());
    if (speed >= 1)
        mReadSpeed = speed;
    report(id, DownloadBatch::Verifying, percentOf(done, total));
}

void UpgradeController::run(int row, UpgradeJob *job)
{
    Work &work = mWork[row];
    if (work.job && work.job != job) {
        work.job->cancel();
        work.job->deleteLater();
    }
    work.job = job;
    connect(job, &UpgradeJob::finished, job, &QObject::deleteLater);
    job->start();
}

bool UpgradeController::isCurrent(int row, UpgradeJob *job) const
{
    return row >= 0 && row < mWork.size() && mWork.at(row).job == job;
}

void UpgradeController::report(long id, int state, int percent, const QString &reason)
{
    const int row = mBatch.report(id, state, percent, reason);
    if (row < 0)
        return;
    emit rowChanged(row);
    checkEnd();
}

void UpgradeController::noticeOnce(const QString &text)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (text.isEmpty() || now - mLastNotice < NoticeInterval)
        return;
    mLastNotice = now;
    emit notice(text);
}

void UpgradeController::beginBatch()
{
    mRunning = true;
    mCardSettled = true;
    AppSettings::setDownloading(true);
    // A computer that falls asleep half-way leaves the mechanic a card
    // that is not ready.
    mSleep.hold(tr("Updating vehicle software"));
    for (Work &work : mWork) {
        work.rate.clear();
        work.readBack.clear();
        work.readDone = work.readTotal = 0;
    }
    emit batchStarted();
}

void UpgradeController::endBatch(bool summary)
{
    mRunning = false;
    AppSettings::setDownloading(false);
    mSleep.release();
    for (Work &work : mWork)
        work.rate.clear();
    qCDebug(lcUpgrade) << "batch over: done" << mBatch.doneCount() << "failed" << mBatch.failedCount();
    emit batchEnded(summary);
}

void UpgradeController::checkEnd()
{
    if (mRunning && mBatch.isOver())
        endBatch(true);
}

void UpgradeController::stopEverything(const QList<int> &spared)
{
    for (auto at = mWaiting.begin(); at != mWaiting.end();)
        at = spared.contains(at->row) ? at + 1 : mWaiting.erase(at);
    for (int row = 0; row < mWork.size(); ++row) {
        Work &work = mWork[row];
        if (spared.contains(row))
            continue;
        if (work.fetching)
            --mFetching;
        work.fetching = false;
        if (work.job) {
            work.job->cancel();
            work.job->deleteLater();
            work.job = nullptr;
        }
    }
    mDispatcher->stopInstalls();
}

QList<int> UpgradeController::rowsWithoutCard() const
{
    QList<int> rows;
    for (int row = 0; row < mBatch.size(); ++row) {
        const DownloadBatch::Row &r = mBatch.row(row);
        if (r.active && r.item.package.kind() == Package::Kind::Program)
            rows << row;
    }
    return rows;
}

void UpgradeController::cutOff(const QString &reason, bool cardGone)
{
    // A pulled card stops what goes onto it; this program's own update
    // goes on, its question open.
    const QList<int> spared = cardGone ? rowsWithoutCard() : QList<int>();
    stopEverything(spared);
    // What was cut off failed where it stood, so that "Retry" takes it up
    // again; the card keeps its previous versions.
    const QList<int> cut = mBatch.interrupt(reason, cardGone, spared);
    for (int row : cut)
        emit rowChanged(row);
    // A spared row still waiting for a transfer place takes a freed one.
    if (!spared.isEmpty())
        pump();
    if (mRunning && (spared.isEmpty() || mBatch.isOver()))
        endBatch(false);
}

bool UpgradeController::cardRemoved(const QString &root)
{
    if (mCardState == CardState::Foreign && root == mForeign.root()) {
        setCardState(CardState::Removed); // the other card went again
        return false;
    }
    if (mCard.isNull() || root != mCard.root())
        return false;
    mCard = Card(QString(), mCard.serialNumber());
    cutOff(tr("The SD card was removed before this package was finished."), true);
    setCardState(CardState::Removed);
    return true;
}

bool UpgradeController::cardInserted(const Card &card)
{
    if (card.isNull() || card.serialNumber().isEmpty())
        return false;
    if (card.serialNumber() != mCard.serialNumber()) {
        // Only a card that takes the place of the pulled one matters here.
        if (mCard.isNull() && mCardState != CardState::In)
            setCardState(CardState::Foreign, card);
        return false;
    }
    // The same card is back, perhaps at another place; nothing starts by itself.
    const bool wasOut = mCard.isNull();
    mCard = card;
    mBatch.setCard(card);
    if (wasOut && mCardState != CardState::In)
        setCardState(CardState::Returned);
    return true;
}

void UpgradeController::setCardState(CardState state, const Card &foreign)
{
    mForeign = state == CardState::Foreign ? foreign : Card();
    if (mCardState == state && state != CardState::Foreign)
        return;
    mCardState = state;
    qCDebug(lcUpgrade) << "card:" << state;
    emit cardStateChanged(state);
}

void UpgradeController::settleLeftovers()
{
    // Only jobs of a stopped batch can be in the pool now; they stop at
    // their next step.
    if (!mDispatcher->pool()->waitForDone(LeftoverWait))
        qCDebug(lcUpgrade) << "cancelled installs still running";
}

bool UpgradeController::isDownloadPhase(int row) const
{
    const DownloadBatch::Row &r = mBatch.row(row);
    // A row tried again says "failed" until its new attempt reports.
    return r.state == DownloadBatch::Waiting || r.state == DownloadBatch::Downloading
           || (r.active && DownloadBatch::isFailed(r.state));
}

double UpgradeController::rowSpeed(int row) const
{
    if (row < 0 || row >= mWork.size() || !mRunning || !isDownloadPhase(row))
        return -1;
    return mWork.at(row).rate.bytesPerSecond(mClock.elapsed());
}

qint64 UpgradeController::expectedBytes(int row, const Package &package) const
{
    const Work &work = mWork.at(row);
    const bool isPatch = package.id != mBatch.row(row).id();
    if (!(isPatch ? work.patchArchive : work.packageArchive).isEmpty())
        return 0;
    if (auto *transfer = qobject_cast<ArchiveTransfer *>(work.job.data())) {
        if (transfer->package().id == package.id && transfer->bytesLeft() > 0)
            return transfer->bytesLeft();
    }
    return package.size;
}

qint64 UpgradeController::bytesLeft() const
{
    qint64 left = 0;
    for (int row = 0; row < mBatch.size(); ++row) {
        const DownloadBatch::Row &r = mBatch.row(row);
        if (!r.active || !isDownloadPhase(row))
            continue;
        left += expectedBytes(row, r.item.package);
        if (r.item.hasPatch())
            left += expectedBytes(row, r.item.patch);
    }
    return left;
}

double UpgradeController::readBackSpeed() const
{
    double speed = -1;
    for (int row = 0; row < mBatch.size() && mRunning; ++row) {
        if (mBatch.row(row).state != DownloadBatch::Verifying)
            continue;
        const double rowSpeed = mWork.at(row).readBack.bytesPerSecond(mClock.elapsed());
        if (rowSpeed >= 0)
            speed = qMax(0.0, speed) + rowSpeed;
    }
    return speed;
}

qint64 UpgradeController::readBackLeft() const
{
    qint64 left = 0;
    for (int row = 0; row < mBatch.size(); ++row) {
        const DownloadBatch::Row &r = mBatch.row(row);
        if (!r.active)
            continue;
        const Work &work = mWork.at(row);
        if (r.state == DownloadBatch::Verifying) {
            left += work.readTotal - work.readDone;
            // A package verifying has its patch still to come.
            if (r.item.hasPatch() && work.packageFolder.isEmpty())
                left += r.item.patch.size;
            continue;
        }
        // Unpacked sizes are not known before the archive is opened: its
        // size stands in.
        if (work.packageFolder.isEmpty())
            left += r.item.package.size;
        if (r.item.hasPatch())
            left += r.item.patch.size;
    }
    return left;
}

double UpgradeController::secondsLeft() const
{
    double downloadSpeed = -1;
    for (int row = 0; row < mBatch.size(); ++row) {
        const double speed = rowSpeed(row);
        if (speed >= 0)
            downloadSpeed = qMax(0.0, downloadSpeed) + speed;
    }
    double seconds = 0;
    bool told = false;
    const qint64 fetch = bytesLeft();
    if (fetch > 0) {
        if (downloadSpeed < 1)
            return -1;
        seconds += double(fetch) / downloadSpeed;
        told = true;
    }
    const double readSpeed = readBackSpeed() >= 1 ? readBackSpeed() : mReadSpeed;
    const qint64 read = readBackLeft();
    if (read > 0 && readSpeed >= 1) {
        seconds += double(read) / readSpeed;
        told = true;
    }
    return told ? seconds : -1;
}
