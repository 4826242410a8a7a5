#include "UserInfoView.h"

#include "FXGlobalInfo.h"
#include "FXViewPager.h"
#include "FXWidget.h"
#include "UserInfoEditView.h"
#include "UserInfoNormalView.h"
#include "UserPagesLog.h"
#include "UserProfileFields.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

const char *const UserInfoView::PageId = "USERINFO";

namespace {
const char *const kButtonStyle =
    "QPushButton{background-color:#213b78;font-size:22px;font-weight: bold;font-family:Helvetica;"
    "color:rgb(255,225,255);border-radius:8px;border-width:0px;border-style:outset;}"
    "QPushButton:disabled{background-color:gray;}";

FXWidget *separator(QWidget *parent)
{
    FXGlobalInfo *info = FXGlobalInfo::instance();
    auto *line = new FXWidget(parent);
    line->setFixedHeight(qMax(1, info->size(FXGlobalInfo::spacer1).height()));
    line->setBackgroundColor(info->color(FXGlobalInfo::Sub_title));
    return line;
}
} // namespace

UserInfoView::UserInfoView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("UserInfoView"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("QWidget#UserInfoView{background-color: rgb(255, 255, 255);}"));
    FXGlobalInfo *info = FXGlobalInfo::instance();

    mTitle = new QLabel(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "User Information")), this);
    mTitle->setStyleSheet(QStringLiteral(
        "QLabel{background:transparent;font-size:22px;font-weight:bold;font-family:Helvetica;color:#000000;}"));

    mButton = new QPushButton(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Edit")), this);
    mButton->setObjectName(QStringLiteral("UserInfoAction"));
    mButton->setFixedSize(info->size(FXGlobalInfo::Button3));
    mButton->setStyleSheet(QString::fromLatin1(kButtonStyle));
    mButton->setCursor(Qt::PointingHandCursor);
    connect(mButton, &QPushButton::clicked, this, &UserInfoView::OnBtnEditOrSubmitClicked);

    mTopLine = separator(this);
    mBottomLine = separator(this);

    mPager = new FXViewPager(this);
    mNormal = new UserInfoNormalView(mPager);
    mEdit = new UserInfoEditView(mPager);
    mPager->addPage(QString::fromLatin1(UserInfoNormalView::PageId), mNormal);
    mPager->addPage(QString::fromLatin1(UserInfoEditView::PageId), mEdit);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(mTitle, 0, Qt::AlignLeft | Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(mButton, 0, Qt::AlignRight | Qt::AlignVCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(info->size(FXGlobalInfo::spacer20).height());
    layout->addLayout(header);
    layout->addSpacing(info->size(FXGlobalInfo::spacer15).height());
    layout->addWidget(mTopLine);
    layout->addSpacing(info->size(FXGlobalInfo::spacer20).height());
    layout->addWidget(mPager, 1);
    layout->addWidget(mBottomLine);
    layout->addSpacing(info->size(FXGlobalInfo::spacer20).height());
}

void UserInfoView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The profile area takes the page height below the title area.
    const int titleArea = int(FXGlobalInfo::instance()->userInfoTitleHeight());
    mPager->setFixedHeight(qMax(0, event->size().height() - titleArea));
}

void UserInfoView::OnUpdateView(QString viewId, QString token, long userId)
{
    if (viewId != QLatin1String(PageId))
        return;
    mToken = token;
    mUserId = userId;
    mNormal->setUser(token, userId);
    mEdit->setUser(token, userId);
    // Only the first visit loads; later visits keep what the pages show.
    if (mState == NeverShown) {
        mState = Opening;
        OnBtnEditOrSubmitClicked();
    }
}

void UserInfoView::showReadOnly()
{
    mPager->showPage(QString::fromLatin1(UserInfoNormalView::PageId));
    mButton->setText(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Edit")));
    mNormal->loadUserInfo();
    mState = Showing;
}

void UserInfoView::OnBtnEditOrSubmitClicked()
{
    // The service calls wait in a local event loop that still delivers
    // clicks. A click that arrives meanwhile is dropped: run nested it would
    // repeat the call, and run afterwards it would turn a double click on
    // "Edit" into a save.
    if (mBusy) {
        qCDebug(lcUserPages) << "click while busy, dropped";
        return;
    }
    mBusy = true;
    handleAction();
    mBusy = false;
}

void UserInfoView::handleAction()
{
    switch (mState) {
    case Opening:
        showReadOnly();
        break;
    case Showing:
        mPager->showPage(QString::fromLatin1(UserInfoEditView::PageId));
        mButton->setText(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Confirm")));
        if (mEdit->countries().isEmpty())
            mEdit->loadCountries();
        mEdit->loadUserInfo();
        mState = Editing;
        break;
    case Editing:
        // A failed save keeps the form and the user's input.
        if (mEdit->save())
            showReadOnly();
        break;
    default:
        break;
    }
}
