#pragma once

#include "Package.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

// The rows of one upgrade and what each shows: its state, the figure of its
// progress bar, why it failed, and whether the batch is over. A row holds
// the one record of its package and the patch that goes over it; reports
// arrive keyed by id, the package's or its patch's, and a patch reports on
// its package's row.
class DownloadBatch
{
    Q_DECLARE_TR_FUNCTIONS(DownloadBatch)
public:
    enum State {
        Waiting = 1, // waiting for the download address
        Downloading = 2,
        Downloaded = 3,
        DownloadFailed = 4, // final
        InstallStarted = 5,
        Installing = 6,
        Done = 7,          // final
        InstallFailed = 8, // final
        CardRemoved = 9,   // final: the card went while the row ran
        Verifying = 10,    // reading the installed files back from the card
        HandedOver = 11,   // final: this program's installer went to the desktop's installer
        Declined = 12      // final: the mechanic chose not to install this program's update
    };

    struct Row
    {
        UpgradeItem item;
        int state = Waiting;
        int progress = 0; // the bar, 0..100 over the whole chain
        // An attempt is under way. A failed row that is tried again keeps
        // saying so until its new attempt reports, yet it is not over.
        bool active = false;
        QString reason; // why it failed, while it shows a failure

        long id() const { return item.package.id; }
        long patchId() const { return item.patch.id; }
    };

    void setRows(const QList<UpgradeItem> &items);
    void clear() { mRows.clear(); }

    int size() const { return mRows.size(); }
    const Row &row(int index) const { return mRows.at(index); }
    // The row of a package or of its patch; -1 for an unknown id.
    int rowOf(long id) const;
    bool isChainBase(long id) const;
    bool isChainPatch(long id) const;
    // The package of `id`, the row's or its patch; null when unknown.
    Package package(long id) const;
    // The service named where `id` is downloaded from.
    void setUrl(long id, const QUrl &url);
    // The batch's card is back, perhaps mounted elsewhere.
    void setCard(const Card &card);

    // Every row starts: state 1 at 0, under way.
    void startAll();
    // `id` reports `state` with `percent` of its own step. Over a chain the
    // package fills the first half of the bar and its patch the second for
    // the running states (1, 2, 5, 6, 9). A final state ends the row's
    // attempt; a failed one keeps `reason`, any other forgets the last one.
    // Returns the row, or -1 for an unknown id.
    int report(long id, int state, int percent, const QString &reason = QString());
    // The same for the row itself, as its package reports.
    void reportRow(int row, int state, int percent, const QString &reason = QString());
    // Rows whose package or patch id also belongs to another package of the
    // batch (or whose patch has its package's id): their reports could not
    // be told apart.
    QList<int> clashingRows() const;
    // The failed rows get a new attempt; returns their rows.
    QList<int> retryFailed();
    // Work was cut off: every row under way fails where it stood, "Download
    // Failed" before its archives were all in, "Install Failed" after, or
    // "Card removed" when the card went (`cardGone`), for `reason`. Returns
    // the rows changed.
    QList<int> interrupt(const QString &reason = QString(), bool cardGone = false, const QList<int> &spared = {});

    int doneCount() const;
    int failedCount() const;
    bool hasFailed() const { return failedCount() > 0; }
    // Every row is done or failed and none is being tried again; until
    // then leaving the page cuts work off.
    bool isOver() const;

    static bool isFinal(int state) { return state == Done || state == HandedOver || state == Declined || isFailed(state); }
    // Went where it should: on the card, or to the desktop's installer.
    static bool isDone(int state) { return state == Done || state == HandedOver; }
    static bool isFailed(int state)
    {
        return state == DownloadFailed || state == InstallFailed || state == CardRemoved;
    }
    // States 1 to 3, 5, 6 and 10 show a bar; the final ones a label.
    static bool showsBar(int state) { return !isFinal(state); }
    static QString stateText(int state);

private:
    QVector<Row> mRows;
};
