#include "UninstallView.h"

#include "AppSettings.h"
#include "Card.h"
#include "CheckBoxDelegate.h"
#include "DirWalker.h"
#include "ElidedLabel.h"
#include "FXHeader.h"
#include "FXTableView.h"
#include "GlobalMutex.h"
#include "LoadingDialog.h"
#include "MessageBoxDialog.h"
#include "NamedMutex.h"
#include "ProgressBarDelegate.h"
#include "QCircularProgressBar.h"
#include "RemovableDisk.h"
#include "ScanVehicleThread.h"
#include "SizeDelegate.h"
#include "Toast.h"
#include "UninstallLog.h"
#include "UninstallModel.h"
#include "UninstallRunnable.h"
#include "VersionDelegate.h"
#include "Vehicles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMutexLocker>
#include <QPushButton>
#include <QSignalBlocker>
#include <QThread>
#include <QThreadPool>
#include <QVBoxLayout>

const char *const UninstallView::PageId = "UNISTALL";

namespace {
constexpr int MessageTime = 3000;
constexpr int ScanIndicatorLimit = 30000;
constexpr int StopStepMs = 1000;
constexpr int StopSteps = 60;

QString labelStyle(const char *color, int pixelSize, bool bold = false)
{
    return QStringLiteral("QLabel{background:transparent;font-family:Helvetica;font-size:%1px;color:%2;%3}")
        .arg(pixelSize)
        .arg(QLatin1String(color))
        .arg(bold ? QStringLiteral("font-weight:bold;") : QString());
}

bool belowRootContains(const QString &path, const QString &root, const char *word)
{
    return Card(root).relativePath(path).contains(QLatin1String(word), Qt::CaseInsensitive);
}
} // namespace

UninstallView::UninstallView(QWidget *parent)
    : QWidget(parent)
    , mPool(new QThreadPool(this))
    , mWatchPool(new QThreadPool(this))
    , mWatcher(new QFileSystemWatcher(this))
{
    mPool->setMaxThreadCount(1);
    mWatchPool->setMaxThreadCount(1);
    connect(mWatcher, &QFileSystemWatcher::directoryChanged, this, &UninstallView::DirChanged);
    buildUi();
}

UninstallView::~UninstallView()
{
    const QStringList watched = mWatcher->directories();
    if (!watched.isEmpty())
        mWatcher->removePaths(watched);
    if (mPool->activeThreadCount() > 0)
        stopJobs(true);
    mPool->waitForDone();
    // The stopped job's report would reach a page that is gone.
    endUnreportedBatch();
    deleteIdleJobs();
    mWatchPool->waitForDone();
    if (mScanThread) {
        // No blocking report may wait for this thread while it is destroyed:
        // dropping a report that is already queued releases the scan.
        disconnect(mScanThread, nullptr, this, nullptr);
        emit SignalStop(1);
        while (!mScanThread->wait(10))
            QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
        delete mScanThread;
        mScanThread = nullptr;
    }
    if (mDisk)
        qApp->removeNativeEventFilter(mDisk);
    delete mLoading;
}

QColor UninstallView::UsageColor(float percent)
{
    if (percent > 90.0f)
        return QColor(QStringLiteral("#FF0000"));
    if (percent > 80.0f)
        return QColor(QStringLiteral("#FFC519"));
    return QColor(QStringLiteral("#2256cf"));
}

void UninstallView::buildUi()
{
    setStyleSheet(QStringLiteral("UninstallView{background-color:#FFFFFF;}"));
    setAttribute(Qt::WA_StyledBackground, true);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("cardPanel"));
    panel->setStyleSheet(QStringLiteral("#cardPanel{background-color:#F7F8FA;border:1px solid #E6E6E6;border-radius:4px;}"));
    panel->setFixedHeight(130);

    auto *picture = new QLabel(panel);
    picture->setPixmap(QPixmap(QStringLiteral(":/1200x800/Resources/images/1200x800/sd_card.png")));
    picture->setFixedSize(56, 72);
    picture->setStyleSheet(QStringLiteral("background:transparent;"));

    mSerialLabel = new QLabel(uninstallText("No serial number"), panel);
    mSerialLabel->setObjectName(QStringLiteral("serialLabel"));
    mSerialLabel->setStyleSheet(labelStyle("#000000", 20, true));
    mDriveLabel = new ElidedLabel(panel);
    mDriveLabel->setObjectName(QStringLiteral("driveLabel"));
    mDriveLabel->setStyleSheet(labelStyle("#999999", 15));
    mUsedLabel = new QLabel(panel);
    mUsedLabel->setObjectName(QStringLiteral("usedLabel"));
    mUsedLabel->setStyleSheet(labelStyle("#999999", 15));

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addStretch();
    texts->addWidget(mSerialLabel);
    texts->addWidget(mDriveLabel);
    texts->addWidget(mUsedLabel);
    texts->addStretch();

    mUsageBar = new QCircularProgressBar(QCircularProgressBar::Ring, 0, panel);
    mUsageBar->setObjectName(QStringLiteral("usageBar"));
    mUsageBar->setFixedSize(96, 96);
    mUsageBar->setInnerColor(QColor(0xF7, 0xF8, 0xFA));
    mUsageBar->setTextColor(Qt::black);
    mUsageBar->setProgressColor(UsageColor(0));

    mCounterLabel = new QLabel(panel);
    mCounterLabel->setObjectName(QStringLiteral("counterLabel"));
    mCounterLabel->setStyleSheet(QStringLiteral("QLabel{background:transparent;font-family:Helvetica;}"));
    mCounterLabel->setTextFormat(Qt::RichText);
    mCounterLabel->setMinimumWidth(90);
    mCounterLabel->setAlignment(Qt::AlignCenter);

    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(24, 10, 24, 10);
    panelLayout->setSpacing(20);
    panelLayout->addWidget(picture);
    panelLayout->addLayout(texts, 1);
    panelLayout->addWidget(mCounterLabel);
    panelLayout->addWidget(mUsageBar);

    mModel = new UninstallModel(this);
    mTable = new FXTableView(this);
    mTable->setObjectName(QStringLiteral("vehicleTable"));
    mHeader = new FXHeader(Qt::Horizontal, mTable);
    mHeader->setCheckBoxText(uninstallText("Name"));
    mHeader->setFixedHeight(44);
    mHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mTable->setHorizontalHeader(mHeader);
    mHeader->setVisible(true);
    mTable->verticalHeader()->hide();
    mTable->setModel(mModel);
    mTable->setStyleSheet(QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;"
                                         "selection-background-color:#EAF0FB;}"));
    mTable->setItemDelegateForColumn(UninstallModel::NameColumn, new CheckBoxDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::VersionColumn, new VersionDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::SizeColumn, new SizeDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::StatusColumn, new ProgressBarDelegate(mTable));
    mTable->setStateColor(FXTableView::Selected, QColor(0xEA, 0xF0, 0xFB));
    mHeader->setSectionResizeMode(QHeaderView::Fixed);
    mHeader->resizeSection(UninstallModel::NameColumn, 360);
    mHeader->resizeSection(UninstallModel::VersionColumn, 190);
    mHeader->resizeSection(UninstallModel::SizeColumn, 150);
    mHeader->setStretchLastSection(true);

    mUninstallBtn = new QPushButton(uninstallText("Uninstall"), this);
    mUninstallBtn->setObjectName(QStringLiteral("btnUninstall"));
    mUninstallBtn->setFixedSize(200, 44);
    mUninstallBtn->setCursor(Qt::PointingHandCursor);
    mUninstallBtn->setStyleSheet(QStringLiteral(
        "QPushButton{background-color:#213B78;color:#FFFFFF;font-family:Helvetica;font-size:18px;"
        "font-weight:bold;border:none;border-radius:4px;}"
        "QPushButton:disabled{background-color:#A6B0C8;}"));
    mUninstallBtn->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mUninstallBtn);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 20, 0, 20);
    layout->setSpacing(16);
    layout->addWidget(panel);
    layout->addWidget(mTable, 1);
    layout->addLayout(buttons);

    connect(this, &UninstallView::SignalUpdateData, mModel, &UninstallModel::OnUpdateData);
    connect(mModel, &UninstallModel::SignalCheckChanged, this, &UninstallView::OnItemCheckChanged);
    connect(mTable, &QAbstractItemView::clicked, this, &UninstallView::OnListItemClicked);
    connect(mHeader, &FXHeader::SignalCheckChange, this, &UninstallView::OnCheckChanged);
    connect(mUninstallBtn, &QPushButton::clicked, this, &UninstallView::OnBtnUninstallClicked);
}

void UninstallView::toast(const QString &text)
{
    Toast::instance(this)->setMessageVDuration(text, MessageTime);
}

void UninstallView::OnUpdateView(const QString &id)
{
    if (id != QLatin1String(PageId))
        return;
    if (!mDisk) {
        mDisk = new RemovableDisk(this);
        mDisk->hide(); // a monitor, not a visible part of the page
        qApp->installNativeEventFilter(mDisk);
        connect(mDisk, &RemovableDisk::SignalRemoveDiskChanged, this, &UninstallView::OnSDChanged);
        connect(this, &UninstallView::SignalNotificationRemoveDiskFreeSizeChange, mDisk,
                &RemovableDisk::OnRemoveDiskSize, Qt::DirectConnection);
        connect(mDisk, &RemovableDisk::SignalRemoveDiskFreeSizeChanged, this, &UninstallView::OnUpdateSDFreeSize);
        mDisk->RefreshDisks();
        return;
    }
    if (!mBusy && mDirty) {
        OnSDChanged();
        mDirty = false;
    }
}

void UninstallView::OnSDChanged()
{
    if (!mDisk)
        return;
    if (mBusy) {
        mBusy = false;
        if (mPool->activeThreadCount() > 0)
            stopJobs(false);
    }

    const QString root = mDisk->SelectCurrentDisk().mRootPath;
    if (root != mCardRoot)
        mCounterLabel->clear(); // the last batch was another card's
    if (root.isEmpty()) {
        OnUpdateSDFreeSize();
        mModel->SetData();
        mCardRoot.clear();
        if (isVisible() && isActiveWindow())
            toast(uninstallText("Please insert the SD card!"));
        return;
    }
    mCardRoot = root;
    if (!mScanThread) {
        mScanThread = new ScanVehicleThread(mDisk->GetCurrentCard(), this);
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleStarted, this,
                &UninstallView::OnScanVehicleStarted, Qt::QueuedConnection);
        // The scan waits after each vehicle until the table has copied the list.
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleProgress, this,
                &UninstallView::OnScanVehicleProgress, Qt::BlockingQueuedConnection);
        connect(mScanThread, &ScanVehicleThread::SignalScanVehicleFinished, this,
                &UninstallView::OnScanVehicleFinished, Qt::QueuedConnection);
        // Only stops reach the scan: it never pauses, and a pause would leave
        // its catalogue's mutex locked with nobody to resume it.
        connect(this, &UninstallView::SignalStop, mScanThread, [this](int code) {
            if (code == 1)
                mScanThread->OnStop(code);
        }, Qt::DirectConnection);
    } else {
        mScanThread->SetPath(mDisk->GetCurrentCard());
    }
    if (mScanInFlight) {
        // Reading the catalogue of a scan whose end is still queued while a
        // new run replaces it would race; scan this card once it is over.
        mRescanAfterScan = true;
        return;
    }
    startScan();
}

void UninstallView::startScan()
{
    mScanRoot = mCardRoot;
    mScanInFlight = true;
    mScanThread->start();
}

void UninstallView::OnCheckChanged(bool checked)
{
    if (mBusy)
        return;
    for (int row = 0; row < mModel->rowCount(); ++row) {
        const VehicleData &record = mModel->Datas().at(row);
        if (record.mState.value(0) == QLatin1String(UninstallModel::StateDone))
            mModel->SetChecked(row, false);
        else if (!mSuppressSelectAll)
            mModel->SetChecked(row, checked);
    }
    if (!mSuppressSelectAll)
        mUninstallBtn->setEnabled(mModel->AnyChecked());
    mSuppressSelectAll = false;
    emit SignalUpdateData(false);
}

void UninstallView::OnItemCheckChanged(bool checked)
{
    if (mBusy)
        return;
    if (checked)
        mUninstallBtn->setEnabled(true);
}

void UninstallView::OnListItemClicked()
{
    if (mBusy)
        return;
    mUninstallBtn->setEnabled(mModel->AnyChecked());
    if (mModel->AllChecked()) {
        mHeader->setChecked(true);
    } else if (mHeader->isChecked()) {
        // Unticking the box must not untick the rows that are still ticked.
        mSuppressSelectAll = true;
        mHeader->setChecked(false);
    }
}

void UninstallView::OnBtnUninstallClicked()
{
    // A batch on rows that a running scan is still replacing would lose its
    // rows, and the scan's end would report the page idle while jobs run.
    if (mBusy) {
        qCDebug(lcUninstall) << "OnBtnUninstallClicked: busy";
        return;
    }
    bool tookMutex = false;
    if (GlobalMutex::isEmpty()) {
        NamedMutex *mutex = GlobalMutex::create();
        if (!mutex || mutex->alreadyExisted()) {
            // A handle without ownership guards nothing; ask again next time.
            GlobalMutex::close();
            toast(uninstallText("Updating, Please waitting..."));
            return;
        }
        tookMutex = true;
    }
    const auto refuse = [tookMutex] {
        if (tookMutex)
            GlobalMutex::release();
    };
    if (AppSettings::isDownloading()) {
        refuse();
        MessageBoxDialog::showMessageBox(this, uninstallText("Tips"),
                                         uninstallText("Vehicle is being upgraded, do not unload!"),
                                         QMessageBox::Ok);
        return;
    }
    if (mModel->rowCount() == 0 || !mModel->AnyChecked()) {
        // Without a ticked row no job would ever clear the busy flag.
        qCDebug(lcUninstall) << "OnBtnUninstallClicked: nothing to uninstall";
        refuse();
        return;
    }

    setBatchRunning(true);
    mJobCount = 0;
    mDoneCount = 0;
    mBatchFailed = false;
    mPool->setMaxThreadCount(1);
    deleteIdleJobs();
    {
        QMutexLocker lock(&mRunLock);
        mRunIds.clear();
    }
    mBatchIds.clear();
    mCounterLabel->clear();

    for (const VehicleData &record : mModel->Datas()) {
        if (!record.mChecked)
            continue;
        ++mJobCount;
        const QString id = record.mDirPath;
        auto *job = new UninstallRunnable(Card(mCardRoot), id, id);
        job->setAutoDelete(false);
        mJobs.append(job);
        mBatchIds.insert(id);
        connect(job, &UninstallRunnable::SignalUninstallStarted, this, [this](const QString &started) {
            QMutexLocker lock(&mRunLock);
            mRunIds.insert(started);
        }, Qt::DirectConnection);
        connect(job, &UninstallRunnable::SignalUninstallStarted, this, &UninstallView::OnUninstallStarted,
                Qt::QueuedConnection);
        connect(job, &UninstallRunnable::SignalUninstallFinished, this, &UninstallView::OnUninstallFinished,
                Qt::QueuedConnection);
        connect(job, &UninstallRunnable::SignalUninstallProgress, this, &UninstallView::OnUninstallProgress,
                Qt::QueuedConnection);
        connect(this, &UninstallView::SignalStop, job, &UninstallRunnable::OnStop, Qt::DirectConnection);
        connect(this, &UninstallView::SignalSuspend, job, &UninstallRunnable::OnSuspend, Qt::DirectConnection);
        mPool->start(job);
    }
    // Busy from now on, not only once the first job reports its start: an
    // exit request in between must still find the batch and stop it.
    mBusy = true;
    mUninstallBtn->setEnabled(false);
    mHeader->setEnabled(false);
}

void UninstallView::OnUninstallStarted(const QString &id)
{
    if (!mBatchIds.contains(id))
        return;
    mBusy = true;
    mUninstallBtn->setEnabled(false);
    mHeader->setEnabled(false);
}

void UninstallView::OnUninstallFinished(const QString &id, bool ok)
{
    if (!mBatchIds.remove(id)) {
        qCDebug(lcUninstall).noquote() << "OnUninstallFinished: not in the batch" << id;
        return;
    }
    const bool batchOver = mBatchIds.isEmpty();
    if (batchOver && !GlobalMutex::isEmpty())
        GlobalMutex::release();

    const int row = mModel->RowOf(id);
    if (row >= 0) {
        mTable->selectRow(row);
        mHeader->setEnabled(true);
        if (ok) {
            ++mDoneCount;
            mCounterLabel->setText(QStringLiteral("<span style=\"font-size:20pt;color:#25d429;\">%1</span>"
                                                  "<span style=\"font-size:13pt;color:#000000;\">/%2</span>")
                                       .arg(mDoneCount)
                                       .arg(mJobCount));
            mModel->SetState(row, QString::fromLatin1(UninstallModel::StateDone), QStringLiteral("100"));
            mModel->SetChecked(row, false);
            emit SignalUpdateData(!batchOver);
            if (batchOver) {
                setBatchRunning(false);
                mBusy = false;
                // A failed row of this batch stays ticked for another try,
                // and the batch as a whole did not succeed.
                mSuppressSelectAll = mHeader->isChecked();
                mHeader->setChecked(false);
                mUninstallBtn->setEnabled(mModel->AnyChecked());
                toast(mBatchFailed ? uninstallText("Uninstall vehicle failed!")
                                   : uninstallText("Uninstall vehicle successfully"));
            }
        } else {
            mBatchFailed = true;
            if (batchOver) {
                setBatchRunning(false);
                mBusy = false;
                mUninstallBtn->setEnabled(true);
                mHeader->setEnabled(true);
                toast(uninstallText("Uninstall vehicle failed!"));
            }
            mModel->SetState(row, QString::fromLatin1(UninstallModel::StateFailed), QStringLiteral("0"));
            emit SignalUpdateData(!batchOver);
        }
    } else if (batchOver) {
        // The table moved on (another card); the batch still has to end,
        // and the new rows must not stay locked.
        setBatchRunning(false);
        emit SignalUpdateData(false);
    }
    if (batchOver)
        deleteIdleJobs();
    emit SignalNotificationRemoveDiskFreeSizeChange();
}

void UninstallView::OnUninstallProgress(const QString &id, float percentage)
{
    if (!mBatchIds.contains(id))
        return;
    mBusy = true;
    const int row = mModel->RowOf(id);
    if (row >= 0)
        mModel->SetState(row, QString::fromLatin1(UninstallModel::StateUninstalling),
                         QString::number(double(percentage), 'g'));
    emit SignalUpdateData(true);
}

void UninstallView::OnScanVehicleStarted()
{
    mBusy = true;
    // The rows are about to be replaced; ticks from before do not count.
    mUninstallBtn->setEnabled(false);
    if (mLoading)
        mLoading->showAgain(ScanIndicatorLimit);
    else
        mLoading = LoadingDialog::showLoading(this, ScanIndicatorLimit);
    mHeader->setEnabled(false);
}

void UninstallView::OnScanVehicleProgress()
{
    loadCatalogue();
}

void UninstallView::loadCatalogue()
{
    mVehicles = mScanThread ? mScanThread->GetDatas() : nullptr;
    if (!mVehicles || mVehicles->mDatas.isEmpty()) {
        qCDebug(lcUninstall) << "loadCatalogue: no vehicles";
        mModel->SetData();
        return;
    }
    QList<VehicleData> kept;
    for (const VehicleData &record : qAsConst(mVehicles->mDatas)) {
        // The HOME software and the common text library stay on the card.
        if (belowRootContains(record.mDirPath, mScanRoot, "home")
            || belowRootContains(record.mDirPath, mScanRoot, "public"))
            continue;
        kept.append(record);
    }
    mVehicles->mDatas = kept;
    mTable->setUpdatesEnabled(false);
    mModel->SetData(kept);
    mTable->setUpdatesEnabled(true);
}

void UninstallView::OnScanVehicleFinished()
{
    loadCatalogue();
    mScanInFlight = false;
    {
        // Fresh rows are unticked; so is the box above them.
        const QSignalBlocker blocker(mHeader);
        mHeader->setChecked(false);
    }
    mUninstallBtn->setEnabled(false);
    mHeader->setEnabled(true);
    mBusy = false;
    if (mModel->rowCount() == 0)
        toast(uninstallText("No vehicles!"));
    if (mLoading)
        mLoading->onTimeout();
    if (mExitAfterScan) {
        QCoreApplication::quit();
        return;
    }
    rebuildWatcher();
    if (mRescanAfterScan && mScanThread) {
        mRescanAfterScan = false;
        startScan();
    }
}

bool UninstallView::OnExit()
{
    if (!mBusy)
        return true;
    if (mPool->activeThreadCount() > 0) {
        emit SignalStop(0); // pause while the user decides
        QThread::msleep(StopStepMs);
        const QMessageBox::StandardButton answer = MessageBoxDialog::showMessageBox(
            this, uninstallText("Tips"),
            uninstallText("The model is being unloaded. Closing may result in the car not working properly. "
                          "Is it turned off?"),
            QMessageBox::Ok | QMessageBox::No);
        if (answer != QMessageBox::Ok) {
            emit SignalSuspend();
            return false;
        }
        stopJobs(true);
        // The program ends before the stopped job's report is handled.
        endUnreportedBatch();
        mBusy = false;
        return true;
    }
    if (mScanThread && mScanThread->isRunning()) {
        emit SignalStop(1);
        QThread::msleep(StopStepMs);
        mExitAfterScan = true;
        mBusy = false;
        return false;
    }
    return true;
}

void UninstallView::stopJobs(bool resumeFirst)
{
    mPool->clear();
    if (resumeFirst) {
        emit SignalSuspend();
        QThread::msleep(10);
    }
    emit SignalStop(1);
    waitForJobs();
    {
        // Jobs the pool never started will not report; the last one that
        // did run ends the batch.
        QMutexLocker lock(&mRunLock);
        mBatchIds.intersect(mRunIds);
    }
    if (mBatchIds.isEmpty())
        endBatch();
    deleteIdleJobs();
}

void UninstallView::waitForJobs()
{
    QElapsedTimer waited;
    waited.start();
    for (int step = 0; step < StopSteps && mPool->activeThreadCount() > 0; ++step)
        mPool->waitForDone(StopStepMs);
    if (mPool->activeThreadCount() > 0) {
        mPool->waitForDone();
        qCDebug(lcUninstall) << "waited for the uninstall job (ms):" << waited.elapsed();
    }
}

void UninstallView::deleteIdleJobs()
{
    if (mPool->activeThreadCount() > 0)
        return;
    qDeleteAll(mJobs);
    mJobs.clear();
}

void UninstallView::endUnreportedBatch()
{
    // Without this the busy flag and the lock would outlive the batch.
    if (mBatchIds.isEmpty())
        return;
    mBatchIds.clear();
    endBatch();
}

void UninstallView::endBatch()
{
    setBatchRunning(false);
    if (!GlobalMutex::isEmpty())
        GlobalMutex::release();
    emit SignalUpdateData(false);
}

void UninstallView::setBatchRunning(bool running)
{
    AppSettings::setUninstalling(running);
    // An uninstall left half-way by a computer that went to sleep leaves a
    // vehicle half on the card.
    if (running)
        mSleep.hold(uninstallText("Uninstalling vehicle software"));
    else
        mSleep.release();
}

void UninstallView::OnUpdateSDFreeSize()
{
    if (!mDisk)
        return;
    const RemovableDiskInfo disk = mDisk->GetCurrentDisk();
    if (disk.mRootPath.isEmpty()) {
        mSerialLabel->clear();
        mUsedLabel->clear();
        mDriveLabel->setText(uninstallText("Internal Storage:"));
        mDriveLabel->setToolTip(QString());
        mUsageBar->setValue(0);
        mUsageBar->setProgressColor(UsageColor(0));
        return;
    }
    QString drive = disk.mRootPath;
    if (drive.endsWith(QLatin1Char('/')) && drive.size() > 1)
        drive.chop(1);
    mSerialLabel->setText(mDisk->GetSerialNumber());
    mDriveLabel->setText(uninstallText("Internal Storage: ") + drive);
    mDriveLabel->setToolTip(drive);
    mUsedLabel->setText(disk.mUsedText + QLatin1Char('/') + disk.mTotalText);
    const float usage = disk.mTotalBytes == 0 ? 0.0f : float(disk.mUsedBytes) / float(disk.mTotalBytes) * 100.0f;
    mUsageBar->setValue(qreal(usage));
    mUsageBar->setProgressColor(UsageColor(usage));
}

void UninstallView::DirChanged(const QString &path)
{
    if (!QFileInfo::exists(path) || mBusy)
        return;
    mDirty = true;
    qCDebug(lcUninstall).noquote() << "UninstallView::DirChanged" << "directoryChanged path =" << path;
}

void UninstallView::rebuildWatcher()
{
    const QStringList watched = mWatcher->directories();
    if (!watched.isEmpty())
        mWatcher->removePaths(watched);
    const QString root = mCardRoot;
    const int generation = ++mWatchGeneration;
    if (root.isEmpty() || !QFileInfo(root).isDir()) {
        qCDebug(lcUninstall).noquote() << "CalcSize 方法，文件夹路径不存在，错误路径：" << root;
        return;
    }
    // The walk runs on a pool thread; the watcher itself belongs to this one.
    mWatchPool->start(QRunnable::create([this, root, generation] {
        const QStringList dirs = watchDirectories(root);
        {
            QMutexLocker lock(&mWatchLock);
            mWatchResult = dirs;
            mWatchResultGeneration = generation;
        }
        QMetaObject::invokeMethod(this, [this] { applyWatchList(); }, Qt::QueuedConnection);
    }));
    if (mModel->rowCount() > 0) {
        mWatchPool->waitForDone();
        applyWatchList();
        mTable->selectRow(0);
    }
}

void UninstallView::applyWatchList()
{
    QStringList dirs;
    {
        QMutexLocker lock(&mWatchLock);
        if (mWatchResultGeneration != mWatchGeneration)
            return; // taken already, or a newer rebuild is on its way
        dirs.swap(mWatchResult);
        mWatchResultGeneration = -1;
    }
    if (!dirs.isEmpty())
        mWatcher->addPaths(dirs);
}

QStringList UninstallView::watchDirectories(const QString &cardRoot)
{
    // Text resources and name lists change with every install; only
    // vehicle directories matter. Links are never watched through.
    return DirWalker::directories(cardRoot, QStringLiteral("Vehicles/"), [&cardRoot](const QString &dir) {
        return !belowRootContains(dir, cardRoot, "Res/") && !belowRootContains(dir, cardRoot, "Names/");
    });
}
