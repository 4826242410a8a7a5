#include "LoadingDialog.h"

#include "FXGlobalInfo.h"
#include "MainWindowLocator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMovie>
#include <QTimer>
#include <QVBoxLayout>

LoadingDialog *LoadingDialog::showLoading(QWidget *parent, int msec)
{
    auto *dialog = new LoadingDialog(parent);
    dialog->openFor(msec);
    return dialog;
}

LoadingDialog::LoadingDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LoadingDialog"));
    // No dialog window type: under a parent the indicator is a child layer
    // lying over the page, not a separate window.
    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QStringLiteral("background-color:rgba(254,254,254,16)"));

    if (QMainWindow *main = MainWindowLocator::find()) {
        setParent(main, windowFlags());
        resize(main->size());
    } else {
        resize(80, 80);
    }
    move(0, int(FXGlobalInfo::instance()->titleBarHeight()));

    mLabel = new QLabel(this);
    mLabel->setObjectName(QStringLiteral("picture"));
    mLabel->setFixedSize(80, 80);
    mLabel->setContentsMargins(0, 0, 0, 0);
    mLabel->setStyleSheet(QStringLiteral("background-color:transparent"));
    mMovie = new QMovie(QString::fromLatin1(Picture), QByteArray(), this);
    mMovie->setScaledSize(QSize(80, 80));
    mLabel->setMovie(mMovie);
    mMovie->start();

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    row->addWidget(mLabel);
    row->addStretch();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch();
    column->addLayout(row);
    column->addStretch();

    mTimer = new QTimer(this);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &LoadingDialog::onTimeout);
}

void LoadingDialog::openFor(int msec)
{
    setWindowModality(Qt::WindowModal);
    // As a layer inside the main window the modality blocks nothing: the
    // page's focused button would still take Space or Enter while the work
    // runs. The indicator holds the keyboard until it closes.
    // Before its window is active (the first list at start-up) the focus
    // to give back is the one the window will have.
    QWidget *focus = QApplication::focusWidget();
    if (!focus && parentWidget())
        focus = parentWidget()->window()->focusWidget();
    if (focus && focus != this && !isAncestorOf(focus))
        mPreviousFocus = focus;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    mTimer->start(msec);
}

void LoadingDialog::showAgain(int msec)
{
    openFor(msec);
}

bool LoadingDialog::isTimerActive() const
{
    return mTimer->isActive();
}

// Every key is swallowed, Escape included: only the work's end or the
// time limit closes the indicator.
void LoadingDialog::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

bool LoadingDialog::focusNextPrevChild(bool next)
{
    // Tab would walk on to the page's controls; once hidden the focus has
    // to be able to leave normally.
    if (isVisible())
        return true;
    return QDialog::focusNextPrevChild(next);
}

void LoadingDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (mPreviousFocus && mPreviousFocus->isVisible() && mPreviousFocus->isEnabled()
        && (hasFocus() || !QApplication::focusWidget()))
        mPreviousFocus->setFocus(Qt::OtherFocusReason);
    mPreviousFocus = nullptr;
}

void LoadingDialog::onTimeout()
{
    mTimer->stop();
    close();
}
