#include "LoginDialog.h"

#include "FXGlobalInfo.h"
#include "FXViewPager.h"
#include "LoginView.h"
#include "PageControls.h"
#include "RegisterView.h"
#include "SharedWindowRect.h"
#include "WindowFit.h"

#include <Sornet/BaseAction.h>

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QScroller>
#include <QVBoxLayout>

LoginDialog::LoginDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Ostrel"));
    setWindowIcon(QIcon(QStringLiteral(":/icon/Resources/ic_launcher.ico")));
    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint | Qt::Dialog);
    const QSize designed = FXGlobalInfo::instance()->signInWindowSize();
    // The designed pages whole, scrolling where the screen is smaller.
    mArea = new QScrollArea(this);
    const QRect placed = WindowFit::place(designed, mArea->verticalScrollBar()->sizeHint().width());
    setFixedSize(placed.size());
    mArea->setObjectName(QStringLiteral("signInArea"));
    mArea->setFrameShape(QFrame::NoFrame);
    mArea->setFocusPolicy(Qt::NoFocus);
    mPager = new FXViewPager;
    mPager->setObjectName(QStringLiteral("pager"));
    mPager->setFixedSize(designed);
    mArea->setWidget(mPager);
    // The area fills what it holds; the pages show the dialog's white.
    mArea->viewport()->setAutoFillBackground(false);
    mPager->setAutoFillBackground(false);
    mLoginView = new LoginView;
    mRegisterView = new RegisterView;
    mPager->addPage(QStringLiteral("LOGIN"), wrapPage(mLoginView, QString()));
    mPager->addPage(QStringLiteral("REGISTER"), wrapPage(mRegisterView, PageControls::image("register_bg.png")));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mArea);

    connect(mLoginView, &LoginView::SignalClicked, this, &LoginDialog::OnButtonClickWithId);
    connect(mRegisterView, QOverload<const QString &, const QString &, long>::of(&RegisterView::SignalClicked), this,
            &LoginDialog::OnButtonClickWithId);
    connect(this, &LoginDialog::SignalClicked, mLoginView, &LoginView::OnBtnGroupChangedChecked);
    connect(this, &LoginDialog::SignalClicked, mRegisterView, &RegisterView::OnBtnGroupChangedChecked);
    // Both pages learn which of them is on show from the start.
    emit SignalClicked(0, QStringLiteral("LOGIN"));

    move(placed.topLeft());
    SharedWindowRect::set(QRect(pos(), size()));
}

QScrollArea *LoginDialog::wrapPage(QWidget *page, const QString &background)
{
    auto *area = new QScrollArea;
    area->setObjectName(QStringLiteral("LoginPager"));
    area->setFocusPolicy(Qt::NoFocus); // a frame for the page, no stop of its own
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    QScroller::grabGesture(area->viewport(), QScroller::LeftMouseButtonGesture);
    if (background.isEmpty()) {
        area->setStyleSheet(QStringLiteral("QScrollArea#LoginPager, QScrollArea#LoginPager > QWidget > QWidget"
                                           "{background:transparent;}"));
    } else {
        area->setStyleSheet(QStringLiteral("QScrollArea#LoginPager{border-image:url(%1);}"
                                           "QScrollArea#LoginPager > QWidget > QWidget{background:transparent;}")
                                .arg(background));
    }
    return area;
}

void LoginDialog::OnButtonClickWithId(const QString &id, const QString &token, long userId)
{
    if (id == QLatin1String("MIN")) {
        showMinimized();
    } else if (id == QLatin1String("EXIT")) {
        reject();
    } else if (id == QLatin1String("SIGNIN")) {
        // A sign-in that was still waiting when the user closed the dialog
        // must not open the program after all.
        if (mExitRequested)
            return;
        // Kept before anyone hears of the sign-in, so a listener that asks
        // the dialog already gets the new values.
        mToken = token;
        mUserId = userId;
        accept();
        emit SignLoginClicked(token, userId);
    } else if (mPager->showPage(id)) {
        emit SignalClicked(0, id);
        focusCurrentPage();
    }
}

void LoginDialog::reject()
{
    mExitRequested = true;
    mLoginView->abortSignIn();
    BaseAction::abortWaitingCalls();
    QDialog::reject();
}

void LoginDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Enter && (event->modifiers() & Qt::KeypadModifier)) {
        event->accept();
        return;
    }
    // Not QDialog's: Escape belongs to the close button's shortcut and
    // Return to the fields, nothing else closes or submits.
    QWidget::keyPressEvent(event);
}

void LoginDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !FXGlobalInfo::instance()->windowFillsScreen()) {
        mDragging = true;
        mPressPos = event->globalPos();
        mPressTopLeft = frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void LoginDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (mDragging && (event->buttons() & Qt::LeftButton))
        move(mPressTopLeft + event->globalPos() - mPressPos);
    QDialog::mouseMoveEvent(event);
}

void LoginDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mDragging = false;
    QDialog::mouseReleaseEvent(event);
}

void LoginDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Typing should start at once, without a click into the form.
    focusCurrentPage();
}

void LoginDialog::focusCurrentPage()
{
    // The page slid away stays in the window, off to the side: keys must
    // not go on landing in its fields.
    if (mPager->currentPage() && mPager->currentPage()->isAncestorOf(mRegisterView))
        mRegisterView->focusFirstField();
    else
        mLoginView->focusFirstEmptyField();
}

bool LoginDialog::focusNextPrevChild(bool next)
{
    // Tab walks the page on show only; the other page's controls lie
    // outside the window's visible area.
    QWidget *page = mPager->currentPage();
    QWidget *from = focusWidget();
    if (!page || !from)
        return QDialog::focusNextPrevChild(next);
    for (QWidget *w = next ? from->nextInFocusChain() : from->previousInFocusChain(); w != from;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (w != page && page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()
            && w->isVisibleTo(page)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            mArea->ensureWidgetVisible(w);
            return true;
        }
    }
    return false;
}

void LoginDialog::moveEvent(QMoveEvent *event)
{
    SharedWindowRect::set(QRect(pos(), size()));
    QDialog::moveEvent(event);
}
