#include "BatchPrompts.h"

#include "BatchTexts.h"
#include "DesktopNotifier.h"
#include "MessageBoxDialog.h"
#include "Platform.h"
#include "UpgradeController.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

BatchPrompts::BatchPrompts(QWidget *page, const UpgradeController *controller)
    : QObject(page)
    , mPage(page)
    , mController(controller)
{
}

QMessageBox::StandardButton BatchPrompts::ask(const QString &text, QMessageBox::StandardButtons buttons)
{
    const QPointer<BatchPrompts> self(this);
    ++mBoxesOpen;
    const auto answer =
        MessageBoxDialog::showMessageBox(mPage, QCoreApplication::translate("DownloadWidget", "Update"), text, buttons);
    if (!self)
        return QMessageBox::Cancel;
    --mBoxesOpen;
    mBoxClosed.start();
    // A batch that ended while the question was open has its say now.
    if (mPending && mBoxesOpen == 0)
        QTimer::singleShot(0, this, &BatchPrompts::trySummary);
    emit boxClosed();
    return answer;
}

void BatchPrompts::batchEnded()
{
    mPending = true;
    mNotified = false;
    // A moment later: the last row is seen turning, before a box covers it.
    QTimer::singleShot(SummaryDelay, this, &BatchPrompts::trySummary);
}

void BatchPrompts::drop()
{
    mPending = false;
}

void BatchPrompts::pageShown()
{
    QWidget *window = mPage->window();
    window->removeEventFilter(this);
    if (window != mPage)
        window->installEventFilter(this);
    if (mPending)
        QTimer::singleShot(0, this, &BatchPrompts::trySummary);
}

bool BatchPrompts::windowActive() const
{
    for (QWidget *w = QApplication::activeWindow(); w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w == mPage->window())
            return true;
    }
    return false;
}

bool BatchPrompts::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mPage->window() && event->type() == QEvent::WindowActivate && mPending)
        QTimer::singleShot(0, this, &BatchPrompts::trySummary);
    return QObject::eventFilter(watched, event);
}

void BatchPrompts::trySummary()
{
    if (!mPending || mController->isRunning() || mBoxesOpen > 0)
        return; // after the question that is open now
    // A second click or Return meant for the box that just closed must not
    // answer this one, however the summary was called for.
    if (mBoxClosed.isValid() && mBoxClosed.elapsed() < SummaryDelay) {
        QTimer::singleShot(int(SummaryDelay - mBoxClosed.elapsed()) + 1, this, &BatchPrompts::trySummary);
        return;
    }
    if (mPage->isVisible() && windowActive()) {
        showSummary();
        return;
    }
    // Unseen behind another window: the desktop tells it now, the box
    // follows when the window comes back.
    if (mNotified)
        return;
    mNotified = true;
    if (Platform *platform = Platform::instance())
        platform->notifier()->notify(QCoreApplication::translate("DownloadWidget", "Update"),
                                     BatchTexts::summary(*mController));
}

void BatchPrompts::showSummary()
{
    mPending = false;
    if (!mController->batch().hasFailed()) {
        ask(BatchTexts::summary(*mController), QMessageBox::Ok);
        return;
    }
    // Cancel leaves it there: a failure that stays would otherwise bring
    // the same box back at once, for ever.
    const QPointer<BatchPrompts> self(this);
    const auto answer = ask(BatchTexts::summary(*mController), QMessageBox::Ok | QMessageBox::Cancel);
    if (self && answer == QMessageBox::Ok)
        emit retryWanted();
}
