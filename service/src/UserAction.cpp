#include <Sornet/UserAction.h>

#include "ServiceRequest.h"
#include "SornetTypes.h"

#include <QJsonArray>

UserAction::UserAction(QObject *parent)
    : BaseAction(parent)
{
}

int UserAction::login(LoginResponse &response, LoginParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/login"));
    request.addParam(QStringLiteral("user_name"), param.getUser_name());
    // A 32-character value is the digest the remembered sign-in stored.
    const QString password = param.getPassword();
    request.addParam(QStringLiteral("password"), password.length() == 32 ? password : MD5(password));
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::registerUser(RegisterUserResponse &response, RegisterUserParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/register"));
    request.addParam(QStringLiteral("user_name"), param.getUser_name());
    request.addParam(QStringLiteral("password"), param.getPassword());
    request.addParam(QStringLiteral("email"), param.getEmail());
    request.addParam(QStringLiteral("country_id"), qint64(param.getCountry_id()));
    request.addParam(QStringLiteral("yzm"), param.getCAPTCHA());
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::checkUser(CheckUserResponse &response, CheckUserParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/check_name"));
    request.addParam(QStringLiteral("user_name"), param.getUser_name());
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::sendCAPTCHA(CAPTCHAResponse &response, CAPTCHAParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("tools/send_yzm"));
    request.addParam(QStringLiteral("email"), param.getEmail());
    request.addParam(QStringLiteral("type"), qint64(param.getType()));
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::resetPassword(ResetPasswordResponse &response, ResetPasswordParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/forget_pwd"));
    request.addParam(QStringLiteral("password"), param.getPassword());
    // The service identifies the account by its e-mail under this key.
    request.addParam(QStringLiteral("user_name"), param.getEmail());
    request.addParam(QStringLiteral("yzm"), param.getYzm());
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::modifyPassword(ModifyPasswordResponse &response, ModifyPasswordParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/update_pwd"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("password"), param.getPassword());
    request.addParam(QStringLiteral("old_password"), param.getOld_password());
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::getUserInfo(GetUserInfoResponse &response, GetUserInfoParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/get_info"));
    request.addSignIn(param);
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::modifyUserInfo(ModifyUserInfoResponse &response, ModifyUserInfoParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("user/info"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("address"), param.getAddress());
    request.addParam(QStringLiteral("city"), param.getCity());
    request.addParam(QStringLiteral("company"), param.getCompany());
    request.addParam(QStringLiteral("country_id"), qint64(param.getCountry_id()));
    request.addParam(QStringLiteral("email"), param.getEmail());
    request.addParam(QStringLiteral("fax"), param.getFax());
    request.addParam(QStringLiteral("first_name"), param.getFirst_name());
    request.addParam(QStringLiteral("last_name"), param.getLast_name());
    request.addParam(QStringLiteral("middle_name"), param.getMiddle_name());
    request.addParam(QStringLiteral("nick_name"), param.getNick_name());
    request.addParam(QStringLiteral("province"), param.getProvince());
    request.addParam(QStringLiteral("telphone"), param.getTelephone());
    request.addParam(QStringLiteral("zip"), param.getZip());
    QString body;
    return mapped(request.sendPost(body), body, response);
}

int UserAction::getCountryList(CountryListResponse &response, CountryListParam &param)
{
    ServiceRequest request(getServiceUrl() + QStringLiteral("tools/country_lists"));
    request.addParam(QStringLiteral("language_code"), param.getLanguage_code());
    QString body;
    const int status = request.sendPost(body);
    return status == 200 ? parseCountryList(response, body) : status;
}

int UserAction::parseCountryList(CountryListResponse &response, const QString &body)
{
    QJsonObject root;
    if (!readEnvelope(body, response, root))
        return -1;
    const QJsonValue data = root.value(QLatin1String("data"));
    if (!data.isArray())
        return 200;
    const QJsonArray array = data.toArray();
    for (const QJsonValue &element : array) {
        if (!element.isObject())
            continue;
        const QJsonObject object = element.toObject();
        CountryData country;
        const QJsonValue id = object.value(QLatin1String("id"));
        int value = 0;
        if (id.isDouble() && SornetTypes::toInt(id.toDouble(), value))
            country.setId(value);
        const QJsonValue name = object.value(QLatin1String("name"));
        if (name.isString())
            country.setName(name.toString());
        response.getData().append(country);
    }
    return 200;
}
