#pragma once

#include "Card.h"
#include "DownloadBatch.h"
#include "Package.h"
#include "SleepGuard.h"
#include "TransferRate.h"
#include "UpgradeJob.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QVector>

class ArchiveInstall;
class JobDispatcher;

// The work behind the download page: one upgrade batch from the rows the
// user chose to each row's end. For every row:
//
//     package: address query -> transfer --.
//                                          v
//     patch:   address query -> transfer -> install package -> install patch
//
// (a row without a patch installs its package as soon as it is fetched;
// each install unpacks, then reads back from the card what it wrote: the
// row's "verifying" phase). At most three rows fetch at once (their address
// query, then their transfer), taken in list order with a package's patch
// before the rows after it, so that the first archives arrive early and the
// installs run while the rest still download. Transfers run on a thread of
// their own.
// The controller owns the rows with the one record of each package and its
// patch, the jobs, the install pool, the sign-in it asks with and the card
// it installs onto; it decides what a failure means for its row and which
// failures are told to the mechanic, and reports typed signals. GUI thread
// only; it never waits for a worker except for the installs a stopped
// batch left winding down, before a new attempt.
class UpgradeController : public QObject
{
    Q_OBJECT
public:
    static constexpr int NoticeInterval = 3000; // ms between two error notices
    static constexpr int MaxTransfers = 3;
    static constexpr int RestartCode = 886;

    // Where the batch's card is, as the mechanic is told it.
    enum class CardState {
        In,       // where the batch found it (or a retry went on with it)
        Removed,  // pulled, not back yet
        Returned, // the same card (serial) is back; a retry goes on
        Foreign,  // pulled, and another card is in its place
    };
    Q_ENUM(CardState)

    explicit UpgradeController(QObject *parent = nullptr);
    ~UpgradeController() override;

    // A new batch of `items` for `card`; what the last one ran is stopped.
    void setBatch(const QList<UpgradeItem> &items, const Card &card);
    // The batch's card; null (keeping the serial) while it is out.
    Card card() const { return mCard; }
    const DownloadBatch &batch() const { return mBatch; }
    bool isRunning() const { return mRunning; }
    JobDispatcher *dispatcher() const { return mDispatcher; }

    // Every row starts.
    void start();
    // The failed rows start again, resuming what they had; nothing happens
    // while a batch runs or nothing failed.
    void retry();
    // Stops everything: rows under way fail where they stood (for `reason`,
    // shown with them; "Card removed" when `cardGone`); the batch ends
    // without its summary.
    void cutOff(const QString &reason = QString(), bool cardGone = false);
    // A volume went: when it is the batch's card, its work is cut off and
    // the rows under way say "Card removed".
    bool cardRemoved(const QString &root);
    // A card came: when it is the batch's card back, installs go there.
    bool cardInserted(const Card &card);
    CardState cardState() const { return mCardState; }
    // The card in the batch's card's place, while the state is Foreign.
    Card foreignCard() const { return mForeign; }
    // The mechanic's answer to tokenRejected(): restart the program, or go on.
    void answerTokenRejected(bool restart);
    // The mechanic's answer to programUpdateReady(): hand the installer to
    // the desktop's software installer, or leave it.
    void answerProgramUpdate(bool install);

    // Speed of a row's transfer now, bytes per second; -1 when it has none.
    double rowSpeed(int row) const;
    // Bytes the rows under way still have to fetch.
    qint64 bytesLeft() const;
    // How fast the card gives back what the rows verifying now read, bytes
    // per second; -1 when none is verifying (or too briefly to tell).
    double readBackSpeed() const;
    // Bytes the rows under way still have to read back: what the verifying
    // ones have left, and for the others their packages' sizes.
    qint64 readBackLeft() const;
    // Seconds the batch still needs at the speeds of now: what is left to
    // fetch at the download speed and what is left to read back at the
    // speed the card has shown. -1 when it cannot be told yet.
    double secondsLeft() const;
    // The batch is over and every install left the card flushed: it may be
    // pulled.
    bool cardMayBeRemoved() const { return !mRunning && mCardSettled; }

signals:
    void rowChanged(int row);
    // A failure worth telling at once (at most one per NoticeInterval).
    void notice(const QString &text);
    // The service no longer takes the sign-in; asked once for the batch.
    void tokenRejected();
    // An update of this program passed its checks: install `file` (in the
    // download folder), version `version`? One question at a time.
    void programUpdateReady(const QString &file, const QString &version);
    void batchStarted();
    // The batch is over; `summary` unless it was cut off.
    void batchEnded(bool summary);
    // An install ended: the card's free space changed.
    void cardSpaceChanged();
    void cardStateChanged(UpgradeController::CardState state);

private:
    // What runs for a row, besides its state in the batch.
    struct Work
    {
        QPointer<UpgradeJob> job;
        bool fetching = false;  // holds one of the transfer places
        QString packageArchive; // fetched, not yet installed
        QString patchArchive;
        QString packageFolder; // where the package went, for its patch
        TransferRate rate;
        TransferRate readBack;
        qint64 readDone = 0; // of the install verifying now
        qint64 readTotal = 0;
    };

    // Queues the address query and transfer of `package`; they start when
    // a transfer place is free.
    void launch(int row, const Package &package);
    void refuseClash(int row);
    void pump();
    // The row's fetching ended (fetched or failed): its place is free.
    void release(int row);
    void query(int row, const Package &package);
    void fetch(int row, const Package &package);
    void install(int row, const Package &package);
    void onAddressed(int row, UpgradeJob *job, const UpgradeJob::Result &result);
    void onFetched(int row, UpgradeJob *job, const UpgradeJob::Result &result);
    void onInstalled(int row, UpgradeJob *job, const UpgradeJob::Result &result);
    void onVerifying(int row, long id, qint64 done, qint64 total);
    void refused(int row, const Package &package, const UpgradeJob::Result &result);
    void askProgramUpdate();
    // Makes `job` the row's running one and starts it.
    void run(int row, UpgradeJob *job);
    bool isCurrent(int row, UpgradeJob *job) const;
    void report(long id, int state, int percent, const QString &reason = QString());
    void noticeOnce(const QString &text);
    void beginBatch();
    void endBatch(bool summary);
    void checkEnd();
    // Stops the work of every row but those of `spared`.
    void stopEverything(const QList<int> &spared = {});
    // Rows that need no card: the update of this program.
    QList<int> rowsWithoutCard() const;
    void setCardState(CardState state, const Card &foreign = Card());
    // Installs a stopped batch cancelled may still be winding down; a new
    // attempt must not install beside them.
    void settleLeftovers();
    bool isDownloadPhase(int row) const;
    qint64 expectedBytes(int row, const Package &package) const;

    JobDispatcher *mDispatcher;
    QThread mTransferThread;
    // Waiting for a transfer place, in the order they take one.
    struct Waiting
    {
        int row;
        long id;
        bool isPatch;
    };
    QList<Waiting> mWaiting;
    int mFetching = 0;
    DownloadBatch mBatch;
    QVector<Work> mWork;
    Card mCard;
    QString mToken;
    int mUserId = 0;
    SleepGuard mSleep;
    QElapsedTimer mClock;

    CardState mCardState = CardState::In;
    Card mForeign;
    bool mRunning = false;
    bool mAskingToken = false; // the restart question is open
    bool mRestarting = false;
    qint64 mLastNotice = 0; // ms since the epoch
    // Installers of the program waiting for the mechanic, the first asked.
    QList<QPointer<ArchiveInstall>> mProgramQuestions;
    double mReadSpeed = -1; // the card's last read-back speed, for what is still to read
    bool mCardSettled = true;
};
