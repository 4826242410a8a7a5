#pragma once

#include "Card.h"
#include "DownloadBatch.h"
#include "SleepGuard.h"
#include "SoftwareDataWrap.h"
#include "TransferRate.h"
#include "VehicleData.h"

#include <Sornet/SoftwareData.h>

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QVector>
#include <QWidget>

class CardBox;
class DownloadFile;
class FXTableView;
class JobDispatcher;
class MyCheckBox;
class MyComboBox;
class MyHeader;
class MyTableModel;
class QLabel;
class QPushButton;
class QStackedWidget;
class StateCell;
class UDiskMonitor;

// The page that carries out an upgrade: for every row the user ticked on
// the software list, at once, it asks the service for the download address,
// downloads the archive (resuming what an earlier attempt left) and
// installs it onto the card, a package and its patch one after the other.
// Each row shows its state and progress, the bar below the table how many
// are done and, while a batch runs, how fast and how long still. The page
// is made once, on the first upgrade, and reused.
//
// "Retry" is the batch button: it is hidden while a batch runs (there is
// nothing to retry yet) and shown when a batch has ended with failed rows.
// "Return" stays available all the time, so that a running batch can be
// left (after a question).
class DownloadWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MessageTime = 3000;
    static constexpr int NoticeInterval = 3000; // ms between two error notices
    static constexpr int RestartCode = 886;

    enum Column { NameColumn, CurrentColumn, VersionColumn, SizeColumn, StateColumn };

    explicit DownloadWidget(QWidget *parent = nullptr);
    ~DownloadWidget() override;

    // The upgrade button's last step: the page of `container` (made there
    // on the first upgrade) takes the card, the ticked rows and the card's
    // catalogue of the last scan, becomes the current page and starts.
    static DownloadWidget *startIn(QStackedWidget *container, const Card &card,
                                   const QList<SoftwareDataWrap> &selection, const QList<VehicleData> &catalogue);

    // Forgets the last batch (its jobs must have been stopped).
    void reset();
    // The card the batch is for; null (keeping the serial) while it is out.
    void setCard(const Card &card);
    void setSelection(const QList<SoftwareDataWrap> &selection);
    void setCatalogue(const QList<VehicleData> &catalogue) { mCatalogue = catalogue; }
    void buildTable();
    void start();

    Card card() const { return mCard; }
    bool isRunning() const { return mRunning; }
    const DownloadBatch &batch() const { return mBatch; }
    MyTableModel *model() const { return mModel; }
    StateCell *stateCell(int row) const;

signals:
    // A notification was shown (the text of the toast).
    void notified(QString text);

private slots:
    // The service's refusal of a row's download address (`id` the row):
    // -100 offers the restart, once for all rows; anything else is told at
    // most once per 3000 ms. The row fails.
    void onResult(int responseCode, QVariant id);
    void onBack();
    void onRetry();
    void onToggled(bool checked);
    // Shows every row's state and the statistics again.
    void refreshModel();
    void onClickedTableView(QModelIndex index);
    void onVersionChanged(QString text);
    void onFinished(long id, int code, int responseCode, QString url);
    void onDownloadFinished(long id, bool success, QString filePath);
    void onDownloadProgress(long id, qint64 bytesReceived, qint64 bytesTotal);
    void onInstallStarted(long id);
    void onInstallFinished(long id, bool result, QString targetFilePath);
    void onInstallProgress(long id, qint64 progress, qint64 total);
    void onDeviceAdded(QString uDiskName);
    void onDeviceRemoved(QString uDiskName);
    // Once a second while a batch runs: speeds and time left.
    void onTick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct RowWidgets
    {
        MyCheckBox *box = nullptr;
        MyComboBox *versions = nullptr;
        StateCell *state = nullptr;
    };
    struct Transfer
    {
        qint64 received = 0; // within the current request
        qint64 total = 0;    // of the current request, 0 unknown
    };

    void buildUi();
    void startUrlQuery(long id);
    void report(long id, int state, int percent);
    void showRow(int row);
    void showStatistics();
    void dispatchArchive(long id);
    // Ends what runs: downloads, address queries, install jobs.
    void stopEverything();
    // Stops everything and marks what was running as failed; ends the batch
    // without its summary.
    void cutOff();
    void beginBatch();
    void endBatch(bool summary);
    void checkEnd();
    void showSummary();
    void trySummary();
    void showPendingSummary();
    QString summaryText() const;
    // Jobs a stopped batch cancelled may still be winding down; a new
    // attempt must not install beside them.
    void settleLeftovers();
    qint64 bytesLeft() const;
    qint64 expectedSize(long id) const;
    bool isDownloadPhase(const DownloadBatch::Row &row) const;
    bool windowActive() const;
    void notify(const QString &text);
    // An error notice, at most one per NoticeInterval.
    void noticeOnce(const QString &text);
    QMessageBox::StandardButton ask(const QString &text, QMessageBox::StandardButtons buttons);
    void forgetDownload(long id);
    static qint64 now();

    CardBox *mCardBox = nullptr;
    FXTableView *mTable = nullptr;
    MyHeader *mHeader = nullptr;
    MyTableModel *mModel = nullptr;
    QLabel *mStatistics = nullptr;
    QLabel *mRate = nullptr;
    QPushButton *mBack = nullptr;
    QPushButton *mRetry = nullptr;
    QVector<RowWidgets> mRowWidgets;
    UDiskMonitor *mMonitor = nullptr;
    JobDispatcher *mJobs = nullptr;
    SleepGuard mSleep;

    QString mToken;
    int mUserId = 0;
    Card mCard;
    QList<SoftwareDataWrap> mSelection;
    QList<SoftwareData> mRecords; // the selection and its patches, for the dispatch
    QList<VehicleData> mCatalogue;
    DownloadBatch mBatch;

    QMap<long, QPointer<DownloadFile>> mDownloads;
    QMap<long, QString> mPaths; // archives downloaded, by id
    QHash<long, Transfer> mTransfers;
    QHash<long, TransferRate> mRowRates; // by row id
    long mStartingId = 0;                // a download inside its start()
    QElapsedTimer mClock;
    QTimer mTick;

    bool mRunning = false;
    bool mTokenDialog = false;     // the -100 box is open
    qint64 mLastNotice = 0;        // ms since the epoch
    int mBoxesOpen = 0;            // our question boxes on screen
    bool mPendingSummary = false;  // the end of a batch not yet shown
    bool mSummaryNotified = false; // ... but told by the desktop
};
