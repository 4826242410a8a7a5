#include "UserInfoNormalView.h"

#include "FXTableView.h"
#include "Toast.h"
#include "UserInfoModel.h"
#include "UserPagesLog.h"
#include "UserProfileFields.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <Sornet/Code.h>
#include <Sornet/GetUserInfoResponse.h>

const char *const UserInfoNormalView::PageId = "USERINFO_NORMAL";

UserInfoNormalView::UserInfoNormalView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("UserInfoNormalView"));
    mModel = new UserInfoModel(this);
    mTable = new FXTableView(this);
    mTable->setAccessibleName(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "User Information")));
    mTable->setModel(mModel);
    mTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mTable->verticalHeader()->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mTable);
}

void UserInfoNormalView::setUser(const QString &token, long userId)
{
    mToken = token;
    mUserId = userId;
}

void UserInfoNormalView::OnUpdateView(QString viewId, QString token, long userId)
{
    if (viewId != QLatin1String(PageId))
        return;
    setUser(token, userId);
    loadUserInfo();
}

bool UserInfoNormalView::loadUserInfo()
{
    GetUserInfoResponse response;
    const int status = UserProfileFields::fetch(mToken, mUserId, response);
    if (status != 200 || response.getCode() != Code::CODE_SUCCESS) {
        qCDebug(lcUserPages) << "getUserInfo: " << status << response.getCode();
        Toast::instance(this)->setMessageVDuration(
            UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Failed to get user information")), 3000);
        return false;
    }
    const UserInfoData data = response.getData();
    for (int row = 0; row < UserProfileFields::Count; ++row) {
        UserInfoModel::Record record;
        record.rowId = row;
        record.label = UserProfileFields::label(row, "userInfo");
        record.value = UserProfileFields::value(data, row);
        mModel->setRecord(record);
    }
    Toast::instance(this)->setMessageVDuration(
        UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "User information obtained successfully")), 3000);
    return true;
}

void UserInfoNormalView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitColumns();
}

void UserInfoNormalView::fitColumns()
{
    // Label, gap and value share the width 15 : 5 : 75. The table fills the
    // page, whose size is current here while the table's may not be yet.
    const int width = this->width();
    mTable->setColumnWidth(UserInfoModel::LabelColumn, width * 15 / 95);
    mTable->setColumnWidth(UserInfoModel::GapColumn, width * 5 / 95);
    mTable->setColumnWidth(UserInfoModel::ValueColumn, width * 75 / 95);
}
