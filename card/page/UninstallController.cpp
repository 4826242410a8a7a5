#include "UninstallController.h"

#include "AppSettings.h"
#include "DirWalker.h"
#include "GlobalMutex.h"
#include "NamedMutex.h"
#include "RemovableDisk.h"
#include "ScanVehicleThread.h"
#include "UninstallLog.h"
#include "UninstallModel.h"
#include "UninstallRunnable.h"
#include "Vehicles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QThreadPool>

UninstallController::UninstallController(UninstallModel *model, QObject *parent)
    : QObject(parent)
    , mModel(model)
    , mPool(new QThreadPool(this))
    , mWatchPool(new QThreadPool(this))
    , mWatcher(new QFileSystemWatcher(this))
{
    mPool->setMaxThreadCount(1);
    mWatchPool->setMaxThreadCount(1);
}

UninstallController::~UninstallController()
{
    const QStringList watched = mWatcher->directories();
    if (!watched.isEmpty())
        mWatcher->removePaths(watched);
    if (!mPending.isEmpty()) {
        // The page goes while a job runs: stop it, and end the batch here,
        // since its report will never be handled.
        mNext = Next::Close;
        stopBatch();
        mPool->waitForDone();
        if (!mPending.isEmpty()) {
            mPending.clear();
            endBatch();
        }
    }
    mPool->waitForDone();
    deleteIdleJobs();
    mWatchPool->waitForDone();
    if (mScanThread) {
        // No blocking report may wait for this thread while it is destroyed:
        // dropping a report that is already queued releases the scan.
        disconnect(mScanThread, nullptr, this, nullptr);
        mScanThread->stop();
        while (!mScanThread->wait(10))
            QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
        delete mScanThread;
    }
}

void UninstallController::setState(State state)
{
    if (mState == state)
        return;
    mState = state;
    emit stateChanged(state);
}

void UninstallController::cardChanged()
{
    if (!mDisk)
        return;
    switch (mState) {
    case State::Uninstalling:
        mNext = Next::SelectCard;
        stopBatch(); // selects once the running job has ended
        return;
    case State::Stopping:
        if (mNext != Next::Close)
            mNext = Next::SelectCard;
        return;
    case State::Scanning:
    case State::Idle: selectCard(); return;
    }
}

void UninstallController::pageShown()
{
    if (isBusy() || !mDirty)
        return;
    cardChanged();
    mDirty = false;
}

void UninstallController::selectCard()
{
    mDisk->SelectCurrentDisk();
    const Card card = mDisk->GetCurrentCard();
    const bool other = card.root() != mCard.root();
    mCard = card;
    mKept.clear(); // ticks of a batch belong to the list it ran from
    if (card.isNull()) {
        mModel->SetData();
        emit cardSelected(other);
        emit notice(Notice::NoCard);
        return;
    }
    emit cardSelected(other);
    if (!mScanThread) {
        mScanThread = new ScanVehicleThread(card, this);
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleStarted, this, &UninstallController::onScanStarted,
                Qt::QueuedConnection);
        // The scan waits after each vehicle until the table has copied the list.
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleProgress, this, &UninstallController::onScanProgress,
                Qt::BlockingQueuedConnection);
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleFinished, this, &UninstallController::onScanFinished,
                Qt::QueuedConnection);
    } else {
        mScanThread->SetPath(card);
    }
    if (mState == State::Scanning) {
        // Reading the catalogue of a scan whose end is still to be handled
        // while a new run replaces it would race; scan again after it.
        mNext = Next::Rescan;
        return;
    }
    startScan();
}

void UninstallController::startScan()
{
    mScanCard = mCard;
    setState(State::Scanning);
    mScanThread->start();
}

void UninstallController::onScanStarted()
{
    if (mState == State::Scanning)
        emit scanStarted();
}

void UninstallController::onScanProgress()
{
    loadCatalogue();
}

void UninstallController::loadCatalogue()
{
    Vehicles *vehicles = mScanThread ? mScanThread->GetDatas() : nullptr;
    if (!vehicles || vehicles->mDatas.isEmpty()) {
        qCDebug(lcUninstall) << "loadCatalogue: no vehicles";
        mModel->SetData();
        return;
    }
    QList<VehicleData> kept;
    for (const VehicleData &record : qAsConst(vehicles->mDatas)) {
        // The HOME software and the common text library stay on the card.
        if (mScanCard.isHomeOrPublic(record.mDirPath))
            continue;
        kept.append(record);
        const auto before = mKept.constFind(record.mDirPath);
        if (before != mKept.cend()) {
            kept.last().mChecked = before->checked;
            kept.last().mState = before->state;
        }
    }
    vehicles->mDatas = kept;
    mModel->SetData(kept);
}

void UninstallController::onScanFinished()
{
    if (mState != State::Scanning)
        return;
    loadCatalogue();
    if (mNext == Next::Quit) {
        mNext = Next::Nothing;
        scanDone();
        QCoreApplication::quit();
        return;
    }
    watchCard();
}

void UninstallController::scanDone()
{
    mKept.clear();
    setState(State::Idle);
    emit scanFinished(mModel->rowCount());
    if (mModel->rowCount() == 0)
        emit notice(Notice::NoVehicles);
}

void UninstallController::watchCard()
{
    const QStringList watched = mWatcher->directories();
    if (!watched.isEmpty())
        mWatcher->removePaths(watched);
    const Card card = mCard;
    if (card.isNull() || !QFileInfo(card.root()).isDir()) {
        qCDebug(lcUninstall).noquote() << "CalcSize 方法，文件夹路径不存在，错误路径：" << card.root();
        applyWatchList(QStringList());
        return;
    }
    // The walk runs on a pool thread; the watcher belongs to this one. Text
    // resources and name lists change with every install; only vehicle
    // directories matter. Links are never watched through.
    mWatchPool->start(QRunnable::create([this, card] {
        const QStringList dirs =
            DirWalker::directories(card.root(), QStringLiteral("Vehicles/"), [&card](const QString &dir) {
                const QString below = card.relativePath(dir);
                return !below.contains(QLatin1String("Res/"), Qt::CaseInsensitive)
                       && !below.contains(QLatin1String("Names/"), Qt::CaseInsensitive);
            });
        QMetaObject::invokeMethod(
            this, [this, dirs] { applyWatchList(dirs); }, Qt::QueuedConnection);
    }));
}

void UninstallController::applyWatchList(const QStringList &dirs)
{
    if (!dirs.isEmpty())
        mWatcher->addPaths(dirs);
    scanDone();
    if (mNext == Next::Rescan) {
        mNext = Next::Nothing;
        startScan();
    }
}

void UninstallController::directoryChanged(const QString &path)
{
    if (!QFileInfo::exists(path) || isBusy())
        return;
    mDirty = true;
    qCDebug(lcUninstall).noquote() << "UninstallView::DirChanged"
                                   << "directoryChanged path =" << path;
}

bool UninstallController::startBatch()
{
    // A batch on rows that a running scan is still replacing would lose its
    // rows, and the scan's end would report the page idle while jobs run.
    if (isBusy()) {
        qCDebug(lcUninstall) << "OnBtnUninstallClicked: busy";
        return false;
    }
    bool tookMutex = false;
    if (GlobalMutex::isEmpty()) {
        NamedMutex *mutex = GlobalMutex::create();
        if (!mutex || mutex->alreadyExisted()) {
            // A handle without ownership guards nothing; ask again next time.
            GlobalMutex::close();
            emit notice(Notice::MutexHeld);
            return false;
        }
        tookMutex = true;
    }
    const auto refuse = [tookMutex] {
        if (tookMutex)
            GlobalMutex::release();
        return false;
    };
    if (AppSettings::isDownloading()) {
        refuse();
        emit notice(Notice::Downloading);
        return false;
    }
    if (mModel->rowCount() == 0 || !mModel->AnyChecked()) {
        // Without a ticked row no job would ever clear the busy flag.
        qCDebug(lcUninstall) << "OnBtnUninstallClicked: nothing to uninstall";
        return refuse();
    }
    if (mConfirm) {
        const auto ticked = [this] {
            QStringList paths;
            for (const VehicleData &record : mModel->Datas()) {
                if (record.mChecked)
                    paths << record.mDirPath;
            }
            return paths;
        };
        quint64 bytes = 0;
        for (const VehicleData &record : mModel->Datas())
            bytes += record.mChecked ? record.mSize : 0;
        const QStringList asked = ticked();
        const Card card = mCard;
        const QPointer<UninstallController> self(this);
        const bool yes = mConfirm(asked.size(), bytes);
        if (!self)
            return false;
        // While the question was open the card may have changed or a scan
        // replaced the rows: the answer was about other vehicles then.
        if (!yes || isBusy() || mCard != card || ticked() != asked) {
            qCDebug(lcUninstall) << "OnBtnUninstallClicked: not confirmed";
            return refuse();
        }
    }

    setBatchRunning(true);
    mJobCount = 0;
    mDoneCount = 0;
    mBatchFailed = false;
    mStopRequested = false;
    deleteIdleJobs();
    mPending.clear();
    emit batchStarted();
    for (const VehicleData &record : mModel->Datas()) {
        if (!record.mChecked)
            continue;
        ++mJobCount;
        auto *job = new UninstallRunnable(mCard, record);
        job->setAutoDelete(false);
        mJobs.append(job);
        mPending.insert(job->id());
        // Reports come from the pool thread, so they arrive queued.
        connect(job, &UninstallRunnable::SignalUninstallStarted, this, &UninstallController::onJobStarted);
        connect(job, &UninstallRunnable::SignalUninstallFinished, this, &UninstallController::onJobFinished);
        connect(job, &UninstallRunnable::SignalUninstallProgress, this, &UninstallController::onJobProgress);
        mPool->start(job);
    }
    // Busy from now on, not only once the first job reports its start: an
    // exit request in between must still find the batch and stop it.
    setState(State::Uninstalling);
    return true;
}

void UninstallController::onJobStarted(const QString &id)
{
    if (mState == State::Uninstalling && mPending.contains(id))
        emit jobStarted();
}

void UninstallController::onJobProgress(const QString &id, uint percentage)
{
    if (mState != State::Uninstalling || !mPending.contains(id))
        return;
    const int row = mModel->RowOf(id);
    if (row >= 0)
        mModel->SetState(row, QString::fromLatin1(UninstallModel::StateUninstalling), QString::number(percentage));
    emit rowsChanged(true);
}

void UninstallController::onJobFinished(const QString &id, bool ok)
{
    if (!mPending.remove(id)) {
        qCDebug(lcUninstall).noquote() << "OnUninstallFinished: not in the batch" << id;
        return;
    }
    const bool over = mPending.isEmpty();
    if (mState == State::Stopping) {
        // A stopped batch tells the user nothing more; what follows replaces
        // its rows.
        if (over)
            finishStop();
        emit jobReported();
        return;
    }

    const int row = mModel->RowOf(id);
    if (ok) {
        ++mDoneCount;
        if (row >= 0) {
            mModel->SetState(row, QString::fromLatin1(UninstallModel::StateDone), QStringLiteral("100"));
            mModel->SetChecked(row, false);
        }
    } else {
        // The row stays ticked for another try.
        mBatchFailed = true;
        if (row >= 0)
            mModel->SetState(row, QString::fromLatin1(UninstallModel::StateFailed), QStringLiteral("0"));
    }
    if (over) {
        endBatch();
        setState(State::Idle);
    } else {
        emit rowsChanged(true);
    }
    emit jobFinished(row, ok, over);
    if (over)
        batchOver();
    emit jobReported();
}

void UninstallController::batchOver()
{
    emit notice(mStopRequested ? Notice::Stopped : mBatchFailed ? Notice::Failed : Notice::Succeeded);
    mStopRequested = false;
    deleteIdleJobs();
    // What was removed leaves the list with the rescan; a vehicle that is
    // still there keeps its tick, and says so if its uninstall failed.
    mKept.clear();
    for (const VehicleData &record : mModel->Datas()) {
        if (record.mState.value(0) != QLatin1String(UninstallModel::StateDone))
            mKept.insert(record.mDirPath, Kept{record.mChecked, record.mState});
    }
    if (mScanThread && !mCard.isNull())
        startScan();
}

void UninstallController::stopAfterRunningJob()
{
    if (mState != State::Uninstalling)
        return;
    mStopRequested = true;
    for (UninstallRunnable *job : qAsConst(mJobs)) {
        if (mPool->tryTake(job))
            mPending.remove(job->id());
    }
    qCDebug(lcUninstall) << "stop: jobs left to finish" << mPending.size();
    if (!mPending.isEmpty())
        return; // the batch ends with the report of the job under way
    endBatch();
    setState(State::Idle);
    batchOver();
}

void UninstallController::pauseBatch()
{
    for (UninstallRunnable *job : qAsConst(mJobs))
        job->pause();
    emit batchPaused();
}

void UninstallController::resumeBatch()
{
    for (UninstallRunnable *job : qAsConst(mJobs))
        job->resume();
    emit batchResumed();
}

void UninstallController::stopBatch()
{
    // Jobs the pool never started will not report; the ones that did end at
    // their next step and report a failure.
    for (UninstallRunnable *job : qAsConst(mJobs)) {
        if (mPool->tryTake(job))
            mPending.remove(job->id());
        else
            job->stop();
    }
    emit batchStopped();
    if (mPending.isEmpty())
        finishStop();
    else
        setState(State::Stopping);
}

void UninstallController::finishStop()
{
    mStopRequested = false;
    endBatch();
    const Next next = mNext;
    mNext = Next::Nothing;
    setState(State::Idle);
    if (next == Next::SelectCard)
        selectCard();
}

void UninstallController::stopBatchForExit()
{
    mNext = Next::Close;
    if (mState == State::Uninstalling)
        stopBatch();
    if (mState == State::Stopping) {
        QElapsedTimer waited;
        waited.start();
        QEventLoop loop;
        connect(this, &UninstallController::stateChanged, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        qCDebug(lcUninstall) << "waited for the uninstall job (ms):" << waited.elapsed();
    }
    mNext = Next::Nothing;
}

void UninstallController::quitAfterScan()
{
    if (mScanThread)
        mScanThread->stop();
    mNext = Next::Quit;
}

void UninstallController::endBatch()
{
    setBatchRunning(false);
    if (!GlobalMutex::isEmpty())
        GlobalMutex::release();
    emit rowsChanged(false);
}

void UninstallController::deleteIdleJobs()
{
    if (mPool->activeThreadCount() > 0)
        return;
    qDeleteAll(mJobs);
    mJobs.clear();
}

void UninstallController::setBatchRunning(bool running)
{
    AppSettings::setUninstalling(running);
    // An uninstall left half-way by a computer that went to sleep leaves a
    // vehicle half on the card.
    if (running)
        mSleep.hold(uninstallText("Uninstalling vehicle software"));
    else
        mSleep.release();
}
