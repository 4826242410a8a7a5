#pragma once

#include "ApiResult.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

class AccountStore;
class ProductCatalogue;

// The endpoints below "KvaApi/": checks the method and, where the caller
// must be signed in, the token; answers with the envelope
// {code, message, success, data}.
class ServiceApi
{
public:
    struct Answer
    {
        int status = 200;   // HTTP status; 404 unknown endpoint, 405 wrong method
        QJsonObject body;   // the envelope when status is 200
    };

    ServiceApi(AccountStore *accounts, ProductCatalogue *catalogue);

    // endpoint: the path below "KvaApi/", e.g. "user/login". fileBase: the
    // address download URLs start with, ending in '/'.
    Answer handle(const QString &method, const QString &endpoint,
                  const QHash<QString, QString> &params, const QString &fileBase) const;

    static QJsonObject envelope(const ApiResult &result, const QString &message = QString());
    // key=value pairs, '+' as space, percent-decoded as UTF-8; the first of
    // a repeated key wins.
    static QHash<QString, QString> parseForm(const QByteArray &text);
    static bool knows(const QString &endpoint);

private:
    ApiResult dispatch(const QString &endpoint, int userId, const QHash<QString, QString> &params,
                       const QString &fileBase) const;

    AccountStore *mAccounts;
    ProductCatalogue *mCatalogue;
};
