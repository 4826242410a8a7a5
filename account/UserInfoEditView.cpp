#include "UserInfoEditView.h"

#include "FXComboBox.h"
#include "FXGlobalInfo.h"
#include "Toast.h"
#include "UserPagesLog.h"
#include "UserProfileFields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollArea>
#include <QVBoxLayout>
#include <Sornet/Code.h>
#include <Sornet/UserAction.h>

const char *const UserInfoEditView::PageId = "USERINFO_EDIT";

namespace {
const char *const kEditStyle =
    "QLineEdit{background:white;border:1px solid #e6e6e6;border-radius:4px;"
    "font-size:16px;font-family:Helvetica;color:#000000;padding-left:10px;}"
    "QLineEdit:focus{border:1px solid #213b78;}";
const char *const kComboStyle =
    "QComboBox{background:white;border:1px solid #e6e6e6;border-radius:4px;"
    "font-size:16px;font-family:Helvetica;color:#000000;padding-left:10px;padding-right:35px;}"
    "QComboBox QAbstractItemView:item{background:white;height:32px;color:#000000;}"
    "QComboBox::down-arrow{image:url(:/1200x800/Resources/images/1200x800/dropdown_box_arrow.png);width:35px;}"
    "QComboBox::drop-down{border:0px;width:35px;}";
} // namespace

UserInfoEditView::UserInfoEditView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 255);"));

    mScroll = new QScrollArea(this);
    mScroll->setObjectName(QStringLiteral("UserInfoEditView"));
    mScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mScroll->setFrameShape(QFrame::NoFrame);
    mScroll->setWidgetResizable(true);
    mScroll->setFocusPolicy(Qt::NoFocus); // Tab goes through it to the fields

    auto *form = new QWidget;
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(0, FXGlobalInfo::instance()->size(FXGlobalInfo::spacer10).height(), 0, 0);
    grid->setHorizontalSpacing(FXGlobalInfo::instance()->size(FXGlobalInfo::spacer20).height());
    grid->setVerticalSpacing(FXGlobalInfo::instance()->size(FXGlobalInfo::spacer10).height());

    const QSize fieldSize = FXGlobalInfo::instance()->size(FXGlobalInfo::Edit3);
    mEdits.fill(nullptr, UserProfileFields::Count);
    for (int row = 0; row < UserProfileFields::Count; ++row) {
        auto *label = new QLabel(UserProfileFields::label(row, "UserInfo"), form);
        label->setStyleSheet(
            QStringLiteral("QLabel{background:transparent;font-size:18px;font-family:Helvetica;color:#666666;}"));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 0);

        QWidget *field = nullptr;
        if (row == UserProfileFields::Country) {
            mCountry = new FXComboBox(form);
            mCountry->setView(new QListView(mCountry));
            mCountry->setStyleSheet(QString::fromLatin1(kComboStyle));
            field = mCountry;
        } else {
            auto *edit = new QLineEdit(form);
            edit->setStyleSheet(QString::fromLatin1(kEditStyle));
            mEdits[row] = edit;
            field = edit;
        }
        field->setFixedSize(fieldSize);
        label->setBuddy(field); // the field's name for a screen reader
        grid->addWidget(field, row, 1, Qt::AlignLeft);
    }
    // Labels keep clear of the page edge, the fields line up behind them.
    grid->setColumnMinimumWidth(0, FXGlobalInfo::instance()->size(FXGlobalInfo::Label2).width());
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(UserProfileFields::Count, 1);
    mScroll->setWidget(form);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mScroll);
}

void UserInfoEditView::setUser(const QString &token, long userId)
{
    mToken = token;
    mUserId = userId;
}

QLineEdit *UserInfoEditView::edit(int row) const
{
    return row >= 0 && row < mEdits.size() ? mEdits.at(row) : nullptr;
}

void UserInfoEditView::OnUpdateView(QString viewId, QString token, long userId)
{
    if (viewId != QLatin1String(PageId))
        return;
    setUser(token, userId);
    if (mCountries.isEmpty())
        loadCountries();
    loadUserInfo();
}

void UserInfoEditView::toast(const QString &message)
{
    Toast::instance(this)->setMessageVDuration(message, 3000);
}

void UserInfoEditView::reportLoadFailure(int status, int code)
{
    // The service's own reason when it answered, else a plain failure.
    if (status == 200)
        toast(Code().getMessageByCode(code));
    else
        toast(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Failed to get user information")));
}

bool UserInfoEditView::loadCountries()
{
    UserAction action;
    CountryListParam param;
    param.setLanguage_code(QString());
    CountryListResponse response;
    const int status = action.getCountryList(response, param);
    if (status == 200 && response.getCode() == Code::CODE_SUCCESS) {
        for (const CountryData &country : response.getData())
            mCountries.insert(country.getId(), country.getName());
        return true;
    }
    qCDebug(lcUserPages) << "getCountryList: " << status << response.getCode();
    reportLoadFailure(status, response.getCode());
    return false;
}

bool UserInfoEditView::loadUserInfo()
{
    GetUserInfoResponse response;
    const int status = UserProfileFields::fetch(mToken, mUserId, response);
    if (status != 200 || response.getCode() != Code::CODE_SUCCESS) {
        qCDebug(lcUserPages) << "getUserInfo: " << status << response.getCode();
        reportLoadFailure(status, response.getCode());
        return false;
    }
    const UserInfoData data = response.getData();
    for (int row = 0; row < UserProfileFields::Count; ++row) {
        if (QLineEdit *line = edit(row))
            line->setText(UserProfileFields::value(data, row));
    }
    if (mCountry->count() == 0)
        fillCountryBox();
    mLoadedCountryId = data.getCountry_id();
    selectCountry(mLoadedCountryId);
    mFilled = true;
    toast(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "User information obtained successfully")));
    return true;
}

void UserInfoEditView::fillCountryBox()
{
    for (auto it = mCountries.cbegin(); it != mCountries.cend(); ++it)
        mCountry->addItem(it.value(), it.key());
}

void UserInfoEditView::selectCountry(int countryId)
{
    // A country the list does not know leaves the first entry selected.
    const int index = mCountry->findData(countryId);
    mCountry->setCurrentIndex(index >= 0 ? index : (mCountry->count() > 0 ? 0 : -1));
}

int UserInfoEditView::selectedCountryId() const
{
    if (mCountry->currentIndex() < 0)
        return mLoadedCountryId;
    return mCountry->currentData().toInt();
}

bool UserInfoEditView::save()
{
    if (!mFilled) {
        // Saving the empty form would wipe the profile; fetch it instead,
        // so the next Confirm sends what the user sees.
        qCDebug(lcUserPages) << "save: form never filled, loading it again";
        loadUserInfo();
        return false;
    }
    ModifyUserInfoParam param;
    param.setToken(mToken);
    param.setUser_id(mUserId);
    param.setFirst_name(edit(UserProfileFields::FirstName)->text());
    param.setMiddle_name(edit(UserProfileFields::MiddleName)->text());
    param.setLast_name(edit(UserProfileFields::LastName)->text());
    param.setCompany(edit(UserProfileFields::Company)->text());
    param.setTelephone(edit(UserProfileFields::Telephone)->text());
    param.setFax(edit(UserProfileFields::Fax)->text());
    param.setAddress(edit(UserProfileFields::Address)->text());
    param.setCity(edit(UserProfileFields::City)->text());
    param.setProvince(edit(UserProfileFields::Province)->text());
    param.setCountry_id(selectedCountryId());
    param.setZip(edit(UserProfileFields::Zip)->text());
    // Not on the form; every key is sent, these two empty.
    param.setEmail(QString());
    param.setNick_name(QString());

    UserAction action;
    ModifyUserInfoResponse response;
    const int status = action.modifyUserInfo(response, param);
    if (status != 200 || response.getCode() != Code::CODE_SUCCESS) {
        qCDebug(lcUserPages) << "modifyUserInfo: " << status << response.getCode();
        toast(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Failed to modify user information")));
        return false;
    }
    toast(UserProfileFields::text(QT_TRANSLATE_NOOP("UserInfo", "Modify user information successfully")));
    return true;
}
