#include "UserProfileFields.h"

#include <QCoreApplication>
#include <Sornet/UserAction.h>
#include <Sornet/UserInfoData.h>

namespace {
// The edit view looks the labels up in "UserInfo", the normal view in
// "userInfo"; both lists are spelled out so that lupdate finds both.
const char *const kLabels[2][UserProfileFields::Count] = {
    {
        QT_TRANSLATE_NOOP("UserInfo", "First Name"),
        QT_TRANSLATE_NOOP("UserInfo", "Middle Name"),
        QT_TRANSLATE_NOOP("UserInfo", "Last Name"),
        QT_TRANSLATE_NOOP("UserInfo", "Company"),
        QT_TRANSLATE_NOOP("UserInfo", "Telephone"),
        QT_TRANSLATE_NOOP("UserInfo", "Fax"),
        QT_TRANSLATE_NOOP("UserInfo", "Address"),
        QT_TRANSLATE_NOOP("UserInfo", "City"),
        QT_TRANSLATE_NOOP("UserInfo", "State/Province"),
        QT_TRANSLATE_NOOP("UserInfo", "Country"),
        QT_TRANSLATE_NOOP("UserInfo", "Zip Code"),
    },
    {
        QT_TRANSLATE_NOOP("userInfo", "First Name"),
        QT_TRANSLATE_NOOP("userInfo", "Middle Name"),
        QT_TRANSLATE_NOOP("userInfo", "Last Name"),
        QT_TRANSLATE_NOOP("userInfo", "Company"),
        QT_TRANSLATE_NOOP("userInfo", "Telephone"),
        QT_TRANSLATE_NOOP("userInfo", "Fax"),
        QT_TRANSLATE_NOOP("userInfo", "Address"),
        QT_TRANSLATE_NOOP("userInfo", "City"),
        QT_TRANSLATE_NOOP("userInfo", "State/Province"),
        QT_TRANSLATE_NOOP("userInfo", "Country"),
        QT_TRANSLATE_NOOP("userInfo", "Zip Code"),
    },
};
} // namespace

const char *UserProfileFields::sourceLabel(int row)
{
    if (row < 0 || row >= Count)
        return nullptr;
    return kLabels[0][row];
}

QString UserProfileFields::label(int row, const char *context)
{
    const char *source = sourceLabel(row);
    return source ? QCoreApplication::translate(context, source) : QString();
}

QString UserProfileFields::value(const UserInfoData &data, int row)
{
    switch (row) {
    case FirstName: return data.getFirst_name();
    case MiddleName: return data.getMiddle_name();
    case LastName: return data.getLast_name();
    case Company: return data.getCompany();
    case Telephone: return data.getTelephone();
    case Fax: return data.getFax();
    case Address: return data.getAddress();
    case City: return data.getCity();
    case Province: return data.getProvince();
    case Country: return data.getCountry();
    case Zip: return data.getZip();
    default: return QString();
    }
}

QString UserProfileFields::text(const char *source)
{
    return QCoreApplication::translate("UserInfo", source);
}

int UserProfileFields::fetch(const QString &token, long userId, GetUserInfoResponse &response)
{
    UserAction action;
    GetUserInfoParam param;
    param.setToken(token);
    param.setUser_id(userId);
    return action.getUserInfo(response, param);
}
