#include "LoadingDialog.h"

#include "FXGlobalInfo.h"
#include "MainWindowLocator.h"

#include <QHBoxLayout>
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
    show();
    raise();
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

void LoadingDialog::onTimeout()
{
    mTimer->stop();
    close();
}
