#pragma once

#include "Card.h"
#include "SleepGuard.h"
#include "TranslationContext.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QThreadPool;
class RemovableDisk;
class ScanVehicleThread;
class UninstallModel;
class UninstallRunnable;

// The work behind the uninstall page: follows the card the page's monitor
// selects, scans it into the model, runs the uninstall batch one job at a
// time and watches the card's folders. The page shows what it reports and
// hands it the user's requests. GUI thread only; workers report back
// through queued signals, and nothing here sleeps or waits for them.
class UninstallController : public QObject
{
    Q_OBJECT
    OSTREL_TRANSLATION_CONTEXT(Uninstall)
public:
    enum class State {
        Idle,         // nothing runs
        Scanning,     // a scan runs, or its end is still being handled
        Uninstalling, // a batch runs
        Stopping,     // a stopped batch waits for its running job to end
    };
    Q_ENUM(State)

    // What the page tells the user.
    enum class Notice {
        NoCard,      // no card selected
        NoVehicles,  // the scan found nothing to uninstall
        MutexHeld,   // another holder of the global mutex
        Downloading, // the plug-in is installing
        Succeeded,   // the batch is over, every job succeeded
        Failed,      // the batch is over, a job failed
        Stopped,     // the batch was stopped; what ran is gone, the rest stays
    };
    Q_ENUM(Notice)

    explicit UninstallController(UninstallModel *model, QObject *parent = nullptr);
    ~UninstallController() override;

    State state() const { return mState; }
    bool isBusy() const { return mState != State::Idle; }
    // The watcher saw a change while idle; the next showing rescans.
    bool isDirty() const { return mDirty; }
    // The card whose vehicles the table shows.
    Card card() const { return mCard; }
    int jobCount() const { return mJobCount; }
    int doneCount() const { return mDoneCount; }
    QFileSystemWatcher *watcher() const { return mWatcher; }

    // The page's disk monitor; the current card comes from it.
    void setDisk(RemovableDisk *disk) { mDisk = disk; }
    // Asked before a batch starts, with the number of vehicles and the bytes
    // they free; a batch starts only on true.
    using Confirmation = std::function<bool(int count, quint64 bytes)>;
    void setConfirmation(Confirmation confirm) { mConfirm = std::move(confirm); }

    // The card may have changed: select the current one and scan it. A
    // running batch is stopped first; a running scan ends first.
    void cardChanged();
    // The page is shown again: rescans when the watcher saw a change.
    void pageShown();
    void directoryChanged(const QString &path);

    // Uninstalls the ticked rows; false when the batch cannot start now.
    bool startBatch();
    void pauseBatch();
    void resumeBatch();
    // The mechanic's stop: the vehicle under way is finished, so none is
    // left half on the card, and no other starts.
    void stopAfterRunningJob();
    bool isStopRequested() const { return mStopRequested; }
    // Stops the batch for good and returns once its running job has ended.
    // Events are handled meanwhile (user input excepted); nothing follows.
    void stopBatchForExit();
    // Stops the running scan; the application quits when its end is handled.
    void quitAfterScan();

    // Worker reports, connected to the workers; the page's slots of the same
    // meaning forward here.
    void onScanStarted();
    void onScanProgress();
    void onScanFinished();
    void onJobStarted(const QString &id);
    void onJobProgress(const QString &id, uint percentage);
    void onJobFinished(const QString &id, bool ok);

signals:
    void stateChanged(UninstallController::State state);
    void notice(UninstallController::Notice notice);
    // A card selection was made; `otherCard` when it is not the one before.
    void cardSelected(bool otherCard);
    void scanStarted();
    void scanFinished(int rows);
    void batchStarted();
    void jobStarted();
    // `row` is -1 when the table no longer shows the job's vehicle.
    void jobFinished(int row, bool ok, bool batchOver);
    // The rows changed; while `uninstalling` they cannot be ticked.
    void rowsChanged(bool uninstalling);
    // A job ended: the card's free space changed.
    void jobReported();
    void batchPaused();
    void batchResumed();
    void batchStopped();

private:
    // What follows when the running scan or the stopping batch has ended.
    enum class Next { Nothing, Rescan, SelectCard, Quit, Close };

    void setState(State state);
    void selectCard();
    void startScan();
    // Copies the scan's catalogue into the model, without HOME and Public.
    void loadCatalogue();
    void scanDone();
    // Discards queued jobs and stops the running one.
    void stopBatch();
    // The stopped batch is over: ends it and does what was waiting for that.
    void finishStop();
    void endBatch();
    // The batch has ended by itself or by the mechanic's stop: tells it and
    // scans the card again, so that what was removed leaves the list.
    void batchOver();
    void deleteIdleJobs();
    // The busy flag the plug-in reads, and the hold on sleep, for as long as
    // a batch runs.
    void setBatchRunning(bool running);
    void watchCard();
    void applyWatchList(const QStringList &dirs);

    UninstallModel *mModel;
    RemovableDisk *mDisk = nullptr;
    ScanVehicleThread *mScanThread = nullptr;
    QThreadPool *mPool;
    QThreadPool *mWatchPool;
    QFileSystemWatcher *mWatcher;
    SleepGuard mSleep;

    State mState = State::Idle;
    Next mNext = Next::Nothing;
    bool mDirty = false;
    Card mCard;     // shown in the table
    Card mScanCard; // of the scan in flight

    int mJobCount = 0;
    int mDoneCount = 0;
    bool mBatchFailed = false;
    bool mStopRequested = false;
    Confirmation mConfirm;
    // What the rows said at the end of a batch, by folder: the rescan after
    // it keeps the ticks and failures of what is still on the card.
    struct Kept
    {
        bool checked = false;
        QStringList state;
    };
    QHash<QString, Kept> mKept;
    // Jobs of the batch that have not reported their end.
    QSet<QString> mPending;
    // Deleted on this thread once the pool is idle, so a request never
    // reaches a job that the pool is still returning from.
    QList<UninstallRunnable *> mJobs;
};
