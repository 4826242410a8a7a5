#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>

class UpgradeController;
class QWidget;

// The download page's questions and the end-of-batch summary: a box at a
// time, the summary only when the mechanic can see it (else the desktop
// tells it and the box follows when the window comes back), and never in
// reach of a second click meant for a box that just closed.
class BatchPrompts : public QObject
{
    Q_OBJECT
public:
    static constexpr int SummaryDelay = 300; // ms after the last row or box

    BatchPrompts(QWidget *page, const UpgradeController *controller);

    QMessageBox::StandardButton ask(const QString &text, QMessageBox::StandardButtons buttons);
    void batchEnded(); // its summary is due
    void drop();       // nothing is due any more
    // The page was shown: its window is known, and an unseen summary shows.
    void pageShown();
    // The page's window, or one of its own on top of it, has the keyboard.
    bool windowActive() const;

signals:
    void retryWanted(); // the failure summary's OK
    void boxClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void trySummary();
    void showSummary();

    QWidget *mPage;
    const UpgradeController *mController;
    int mBoxesOpen = 0;       // our question boxes on screen
    QElapsedTimer mBoxClosed; // since the last of them closed
    bool mPending = false;    // the end of a batch not yet shown
    bool mNotified = false;   // ... but told by the desktop
};
