#pragma once

#include "Card.h"
#include "DownloadBatch.h"
#include "Package.h"

#include <QList>
#include <QMessageBox>
#include <QModelIndex>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

class CardBox;
class FXTableView;
class MyCheckBox;
class MyComboBox;
class MyHeader;
class MyTableModel;
class QLabel;
class QPushButton;
class QStackedWidget;
class StateCell;
class UDiskMonitor;
class UpgradeController;

// The page that shows an upgrade being carried out: one row per package the
// user ticked on the software list, each with its state and progress (and
// why it failed), the bar below the table with how many are done and, while
// a batch runs, how fast and how long still. The work itself is the
// UpgradeController's; the page shows what it reports and hands it the
// mechanic's requests and the card's comings and goings. Made once, on the
// first upgrade, and reused.
//
// "Retry" is the batch button: it is hidden while a batch runs (there is
// nothing to retry yet) and shown when a batch has ended with failed rows.
// "Return" stays available all the time, so that a running batch can be
// left (after a question).
class BatchPrompts;
class RowAnnouncer;

class DownloadWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MessageTime = 3000;
    static constexpr int RestartCode = 886;
    // A row's progress reaches a screen reader at most this often (ms);
    // a new state at once.
    static constexpr int SpokenInterval = 250;

    enum Column { NameColumn, CurrentColumn, VersionColumn, SizeColumn, StateColumn };

    explicit DownloadWidget(QWidget *parent = nullptr);
    ~DownloadWidget() override;

    // The upgrade button's last step: the page of `container` (made there
    // on the first upgrade) takes the card and the chosen packages, becomes
    // the current page and starts.
    static DownloadWidget *startIn(QStackedWidget *container, const Card &card, const QList<UpgradeItem> &items);

    // A new batch (what the last one ran is stopped), its table built.
    void setBatch(const QList<UpgradeItem> &items, const Card &card);
    void start();

    Card card() const;
    bool isRunning() const;
    const DownloadBatch &batch() const;
    UpgradeController *controller() const { return mController; }
    MyTableModel *model() const { return mModel; }
    StateCell *stateCell(int row) const;
    // What the page says about the batch's card; empty while it is in.
    QString cardNotice() const;

signals:
    // A notification was shown (the text of the toast).
    void notified(QString text);

private slots:
    void onBack();
    void onRetry();
    void onToggled(bool checked);
    // Shows every row's state and the statistics again.
    void refreshModel();
    void onClickedTableView(QModelIndex index);
    void onDeviceAdded(QString uDiskName);
    void onDeviceRemoved(QString uDiskName);
    // Once a second while a batch runs: speeds and time left.
    void onTick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct RowWidgets
    {
        MyCheckBox *box = nullptr;
        MyComboBox *versions = nullptr;
        StateCell *state = nullptr;
    };

    void buildUi();
    void buildTable();
    void showCard();
    // The lasting line above the table while the batch's card is out.
    void showCardNotice();
    void focusRetryIfCardBack();
    void showRow(int row);
    // The row's state as the table tells it to a screen reader.
    void showStatistics();
    void onBatchStarted();
    void onBatchEnded(bool summary);
    void onTokenRejected();
    void onProgramUpdateReady(const QString &file, const QString &version);
    void notify(const QString &text);
    QMessageBox::StandardButton ask(const QString &text, QMessageBox::StandardButtons buttons);

    UpgradeController *mController = nullptr;
    CardBox *mCardBox = nullptr;
    FXTableView *mTable = nullptr;
    MyHeader *mHeader = nullptr;
    MyTableModel *mModel = nullptr;
    QLabel *mCardNotice = nullptr;
    QLabel *mStatistics = nullptr;
    QLabel *mRate = nullptr;
    QPushButton *mBack = nullptr;
    QPushButton *mRetry = nullptr;
    QVector<RowWidgets> mRowWidgets;
    RowAnnouncer *mAnnouncer = nullptr;
    UDiskMonitor *mMonitor = nullptr;
    QTimer mTick;

    BatchPrompts *mPrompts = nullptr;
};
