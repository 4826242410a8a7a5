#include "FXDialog.h"

#include "DisplayBlending.h"
#include "FXGlobalInfo.h"
#include "MainWindowLocator.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QVBoxLayout>

FXDialog::FXDialog(QWidget *parent)
    : QDialog(parent)
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    // Kept a window of its own: without the dialog type a parented box would
    // turn into a child of its parent and land offset inside it.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(info->windowSize());

    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(0);
    outer->setContentsMargins(0, 0, 0, 0);

    mPanel = new QWidget(this);
    mPanel->setObjectName(QStringLiteral("panel"));
    mPanel->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 255)"));
    mPanel->setFixedWidth(500);
    mPanel->setMinimumHeight(300);
    auto *shadow = new QGraphicsDropShadowEffect(mPanel);
    shadow->setOffset(-5, 5);
    shadow->setColor(Qt::darkGray);
    shadow->setBlurRadius(5);
    mPanel->setGraphicsEffect(shadow);
    outer->addWidget(mPanel, 0, Qt::AlignHCenter | Qt::AlignVCenter);

    auto *panelLayout = new QVBoxLayout(mPanel);
    panelLayout->setSpacing(0);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    mTitle = new QLabel(QStringLiteral("Title"), mPanel);
    mTitle->setObjectName(QStringLiteral("title"));
    mTitle->setTextFormat(Qt::PlainText);
    mTitle->setFixedSize(500, 50);
    mTitle->setContentsMargins(4, 0, 4, 0);
    mTitle->setFont(info->font(18));
    mTitle->setStyleSheet(QStringLiteral(
        "background-color: rgb(40, 70, 141); color: rgb(255, 255, 255);"));
    mTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mTitle->setWordWrap(true);

    mContent = new QWidget(mPanel);
    mContent->setObjectName(QStringLiteral("content"));
    // rgb() with four values is rejected by the style sheet parser.
    mContent->setStyleSheet(QStringLiteral("background-color: rgba(0, 0, 0, 0);"));

    panelLayout->addWidget(mTitle, 50);
    panelLayout->addWidget(mContent, 250);

    if (QMainWindow *main = MainWindowLocator::find())
        move(main->geometry().topLeft());
}

void FXDialog::setTitle(const QString &title)
{
    mTitle->setText(title);
}

QString FXDialog::title() const
{
    return mTitle->text();
}

void FXDialog::setContentLayout(QLayout *layout)
{
    mContent->setLayout(layout);
}

// Without a compositor the dimmed layer would hide the main window behind
// solid black. The layer then paints a picture of the window it covers,
// taken as the box opens; with nothing to cover it shrinks to the panel.
void FXDialog::showEvent(QShowEvent *event)
{
    mBackdrop = QPixmap();
    clearMask();
    if (!DisplayBlending::available()) {
        QMainWindow *main = MainWindowLocator::find();
        if (main && main->isVisible() && main->geometry().topLeft() == geometry().topLeft()) {
            mBackdrop = main->grab();
        } else {
            if (layout())
                layout()->activate();
            setMask(QRegion(mPanel->geometry()));
        }
    }
    QDialog::showEvent(event);
}

// A window manager gives the keyboard back to the window a box covered;
// without one it would go to nobody, and the button that had the focus
// there would not take a key until the mechanic clicked the window.
void FXDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && (isActiveWindow() || !QApplication::activeWindow()))
        owner->activateWindow();
}

void FXDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!mBackdrop.isNull())
        painter.drawPixmap(0, 0, mBackdrop);
    painter.fillRect(rect(), QColor(0, 0, 0, 80));
}
