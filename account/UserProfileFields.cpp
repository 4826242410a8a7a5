#include "UserProfileFields.h"

#include <QCoreApplication>
#include <Sornet/UserAction.h>
#include <Sornet/UserInfoData.h>

namespace {
const char *const kLabels[UserProfileFields::Count] = {
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
};
} // namespace

const char *UserProfileFields::sourceLabel(int row)
{
    if (row < 0 || row >= Count)
        return nullptr;
    return kLabels[row];
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
