#pragma once

#include "SleepGuard.h"

#include <QMutex>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QWidget>

class FXHeader;
class FXTableView;
class LoadingDialog;
class QCircularProgressBar;
class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QThreadPool;
class RemovableDisk;
class ScanVehicleThread;
class UninstallModel;
class UninstallRunnable;
class Vehicles;

// The uninstall page: the inserted card with its space, the vehicles on it,
// and the uninstall of the ticked ones, one job at a time. Owns its disk
// monitor, scan thread, job pool and a watcher on the card's directories.
class UninstallView : public QWidget
{
    Q_OBJECT
public:
    static const char *const PageId; // "UNISTALL"

    explicit UninstallView(QWidget *parent = nullptr);
    ~UninstallView() override;

    bool isBusy() const { return mBusy; }
    // A scan was started and its end has not been handled yet.
    bool isScanning() const { return mScanInFlight; }
    bool isDirty() const { return mDirty; }

    // Usage bar colour: red above 90 %, amber above 80 %, else blue.
    static QColor UsageColor(float percent);

signals:
    void SignalUpdateData(bool isUninstalling);
    void SignalBtnClicked(QString id, bool checked);
    void SignalStop(int code);
    void SignalSuspend();
    void SignalNotificationRemoveDiskFreeSizeChange();

public slots:
    void OnUpdateView(const QString &id);
    void OnSDChanged();
    void OnCheckChanged(bool checked);
    void OnItemCheckChanged(bool checked);
    void OnListItemClicked();
    void OnBtnUninstallClicked();
    void OnUninstallStarted(const QString &id);
    void OnUninstallFinished(const QString &id, bool ok);
    void OnUninstallProgress(const QString &id, float percentage);
    void OnScanVehicleStarted();
    void OnScanVehicleProgress();
    void OnScanVehicleFinished();
    // True when the application may close now; may pause, ask and stop.
    bool OnExit();
    void OnUpdateSDFreeSize();
    void DirChanged(const QString &path);

private:
    void buildUi();
    void startScan();
    // Copies the scan's catalogue into the table, without HOME and Public.
    void loadCatalogue();
    // Discards queued jobs, stops the running one and waits for it.
    void stopJobs(bool resumeFirst);
    void waitForJobs();
    // Forgets the jobs of a finished or stopped batch once no job runs.
    void deleteIdleJobs();
    void endBatch();
    // The busy flag the plug-in reads, and the hold on sleep, for as long as
    // a batch runs.
    void setBatchRunning(bool running);
    // Ends a stopped batch whose last report will never be handled.
    void endUnreportedBatch();
    void rebuildWatcher();
    void applyWatchList();
    static QStringList watchDirectories(const QString &cardRoot);
    void toast(const QString &text);

    RemovableDisk *mDisk = nullptr;
    ScanVehicleThread *mScanThread = nullptr;
    QThreadPool *mPool = nullptr;
    QThreadPool *mWatchPool = nullptr;
    QFileSystemWatcher *mWatcher = nullptr;
    Vehicles *mVehicles = nullptr; // borrowed from the scan thread

    bool mBusy = false;
    bool mExitAfterScan = false;
    bool mDirty = false;
    bool mSuppressSelectAll = false;
    int mJobCount = 0;
    int mDoneCount = 0;
    // A job of the current batch failed; the batch then does not end as a success.
    bool mBatchFailed = false;
    SleepGuard mSleep;

    // Card whose vehicles the table shows (root with trailing slash), and
    // the card of the scan in flight.
    QString mCardRoot;
    QString mScanRoot;
    // A scan was started and its end has not been handled yet; a card
    // change meanwhile scans again after it.
    bool mScanInFlight = false;
    bool mRescanAfterScan = false;

    // Jobs of the current batch that have not reported their end. Jobs the
    // pool never started drop out when a batch is stopped.
    QSet<QString> mBatchIds;
    QMutex mRunLock;
    QSet<QString> mRunIds; // jobs that started; written on the pool thread
    // Deleted on this thread once the pool is idle, so a stop or pause
    // request never reaches a job that the pool is destroying.
    QList<UninstallRunnable *> mJobs;

    QMutex mWatchLock;
    QStringList mWatchResult;
    int mWatchGeneration = 0;
    int mWatchResultGeneration = -1;

    QPointer<LoadingDialog> mLoading;
    QLabel *mSerialLabel = nullptr;
    QLabel *mDriveLabel = nullptr;
    QLabel *mUsedLabel = nullptr;
    QLabel *mCounterLabel = nullptr;
    QCircularProgressBar *mUsageBar = nullptr;
    FXTableView *mTable = nullptr;
    FXHeader *mHeader = nullptr;
    UninstallModel *mModel = nullptr;
    QPushButton *mUninstallBtn = nullptr;
};
