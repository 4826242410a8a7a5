#include "ServiceApi.h"

#include "AccountStore.h"
#include "ProductCatalogue.h"
#include "ResultCodes.h"

namespace {

struct Endpoint
{
    const char *path;
    const char *method;
    bool signedIn;
};

const Endpoint Endpoints[] = {
    {"user/login", "POST", false},
    {"user/register", "POST", false},
    {"user/check_name", "POST", false},
    {"tools/send_yzm", "POST", false},
    {"user/forget_pwd", "POST", false},
    {"user/update_pwd", "POST", true},
    {"user/get_info", "POST", true},
    {"user/info", "POST", true},
    {"tools/country_lists", "POST", false},
    {"user/pro_search", "GET", true},
    {"user/soft_search", "GET", true},
    {"tools/get_allCarsAndLanguages", "GET", true},
    {"tools/replaceEmptyCar", "POST", true},
    {"soft/download_feedback", "GET", true},
    {"soft/download", "GET", true},
};

const Endpoint *findEndpoint(const QString &path)
{
    for (const Endpoint &e : Endpoints) {
        if (path == QLatin1String(e.path))
            return &e;
    }
    return nullptr;
}

} // namespace

ServiceApi::ServiceApi(AccountStore *accounts, ProductCatalogue *catalogue)
    : mAccounts(accounts)
    , mCatalogue(catalogue)
{
}

bool ServiceApi::knows(const QString &endpoint)
{
    return findEndpoint(endpoint) != nullptr;
}

QJsonObject ServiceApi::envelope(const ApiResult &result, const QString &message)
{
    QJsonObject o;
    o.insert(QStringLiteral("code"), result.code);
    o.insert(QStringLiteral("message"), message.isEmpty() ? ResultCodes::message(result.code) : message);
    o.insert(QStringLiteral("success"), result.code == ResultCodes::Success);
    o.insert(QStringLiteral("data"), result.data);
    return o;
}

QHash<QString, QString> ServiceApi::parseForm(const QByteArray &text)
{
    QHash<QString, QString> out;
    const QList<QByteArray> pairs = text.split('&');
    for (const QByteArray &pair : pairs) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        QByteArray key = eq < 0 ? pair : pair.left(eq);
        QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        key.replace('+', ' ');
        value.replace('+', ' ');
        const QString k = QString::fromUtf8(QByteArray::fromPercentEncoding(key));
        if (!out.contains(k))
            out.insert(k, QString::fromUtf8(QByteArray::fromPercentEncoding(value)));
    }
    return out;
}

ServiceApi::Answer ServiceApi::handle(const QString &method, const QString &endpoint,
                                      const QHash<QString, QString> &params, const QString &fileBase) const
{
    const Endpoint *e = findEndpoint(endpoint);
    if (!e)
        return {404, QJsonObject()};
    // HEAD is answered like GET by the HTTP layer.
    const QString m = method == QLatin1String("HEAD") ? QStringLiteral("GET") : method;
    if (m != QLatin1String(e->method))
        return {405, QJsonObject()};
    int userId = 0;
    if (e->signedIn) {
        const int code = mAccounts->checkToken(params.value(QStringLiteral("token")),
                                               params.value(QStringLiteral("user_id")), &userId);
        if (code != ResultCodes::Success)
            return {200, envelope(ApiResult::fail(code))};
    }
    return {200, envelope(dispatch(endpoint, userId, params, fileBase))};
}

ApiResult ServiceApi::dispatch(const QString &endpoint, int userId, const QHash<QString, QString> &p,
                               const QString &fileBase) const
{
    const auto v = [&p](const char *key) { return p.value(QLatin1String(key)); };
    if (endpoint == QLatin1String("user/login"))
        return mAccounts->login(v("user_name"), v("password"));
    if (endpoint == QLatin1String("user/register"))
        return mAccounts->registerUser(v("user_name"), v("password"), v("email"), v("country_id"), v("yzm"));
    if (endpoint == QLatin1String("user/check_name"))
        return mAccounts->checkName(v("user_name"));
    if (endpoint == QLatin1String("tools/send_yzm"))
        return mAccounts->sendCode(v("email"), v("type"));
    if (endpoint == QLatin1String("user/forget_pwd"))
        return mAccounts->resetPassword(v("user_name"), v("password"), v("yzm"));
    if (endpoint == QLatin1String("user/update_pwd"))
        return mAccounts->modifyPassword(userId, v("password"), v("old_password"));
    if (endpoint == QLatin1String("user/get_info"))
        return mAccounts->userInfo(userId);
    if (endpoint == QLatin1String("user/info"))
        return mAccounts->modifyUserInfo(userId, p);
    if (endpoint == QLatin1String("tools/country_lists"))
        return mAccounts->countries(v("language_code"));
    if (endpoint == QLatin1String("user/pro_search"))
        return mCatalogue->products(userId);
    if (endpoint == QLatin1String("user/soft_search"))
        return mCatalogue->software(userId, v("serial_number"), v("lang_code"), v("default_lang_code"));
    if (endpoint == QLatin1String("tools/get_allCarsAndLanguages"))
        return mCatalogue->carsAndLanguages(userId, v("lang_name"), v("serial_number"));
    if (endpoint == QLatin1String("tools/replaceEmptyCar"))
        return mCatalogue->replaceEmptyCar(userId, v("serial_number"), v("carId"), v("languages"));
    if (endpoint == QLatin1String("soft/download_feedback"))
        return mCatalogue->feedback(userId, v("id"), v("serial_number"));
    if (endpoint == QLatin1String("soft/download"))
        return mCatalogue->downloadUrl(userId, v("id"), v("serial_number"), fileBase);
    return ApiResult::fail(ResultCodes::RequestError);
}
