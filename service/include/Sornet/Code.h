#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

// Every result the service or the transport can give, with its message.
// Service texts are translated when the object is built; HTTP reason
// phrases stay in English.
class SORNET_EXPORT Code : public QObject
{
    Q_OBJECT

public:
    explicit Code(QObject *parent = nullptr);

    // Empty for a value that is not in the table.
    QString getMessageByCode(int code) const;

    static constexpr int CODE_SUCCESS = 1;
    static constexpr int CODE_ERROR_LOGIN = -1;
    static constexpr int CODE_ERROR_TOKEN = -100;
    static constexpr int CODE_ERROR_TOKEN_OVERTIME = -101;
    static constexpr int CODE_ERROR_SIGNATURE_VERIFICATION = -102;
    static constexpr int CODE_ERROR_SERVER = -500;
    static constexpr int CODE_ERROR_SERVER_EXCEPTION = -1000;
    static constexpr int CODE_ERROR_PARAM_MISSING = -1001;
    static constexpr int CODE_ERROR_SESSION_TIME_OUT = -1002;
    static constexpr int CODE_ERROR_REQUEST = -1003;
    static constexpr int CODE_ERROR_PARAM_REDUPLICATE = -1010;
    static constexpr int CODE_ERROR_EMAIL_FORMAT = -1200;
    static constexpr int CODE_ERROR_VERIFICATION_CODE_SEND = -1210;
    static constexpr int CODE_ERROR_VERIFICATION_CODE = -1220;
    static constexpr int CODE_ERROR_JSON_EXCEPTION = -1230;
    static constexpr int CODE_ERROR_REGISTRATION = -1300;
    static constexpr int CODE_ERROR_NAME_OR_PASSWORD_LENGTH = -1301;
    static constexpr int CODE_ERROR_USER_EXISTS = -1302;
    static constexpr int CODE_ERROR_USER_NOT_EXISTS = -1310;
    static constexpr int CODE_ERROR_PASSWORD = -1311;
    static constexpr int CODE_ERROR_USER_DISABLE = -1312;
    static constexpr int CODE_ERROR_USER_AUDITING = -1313;
    static constexpr int CODE_ERROR_RESET_PASSWORD = -1320;
    static constexpr int CODE_ERROR_PASSWORD_LENGTH = -1321;
    static constexpr int CODE_ERROR_MODIFY_PASSWORD = -1330;
    static constexpr int CODE_ERROR_MODIFY_EMAIL = -1340;
    static constexpr int CODE_ERROR_MODIFY_EMAIL2 = -1341;
    static constexpr int CODE_ERROR_MODIFY_USER_INFO = -1350;
    static constexpr int CODE_ERROR_NO_SN_PARAM = -1400;
    static constexpr int CODE_ERROR_SN_NOT_BELONGING_TO_USER = -1401;
    static constexpr int CODE_ERROR_SN_NOT_EXISTS = -1402;
    static constexpr int CODE_ERROR_SN_UNRELATED_ORDER = -1403;
    static constexpr int CODE_ERROR_SN_CONFIG_EXCEPTION = -1404;
    static constexpr int CODE_ERROR_NO_LANGUAGE_PARAM = -1406;
    static constexpr int CODE_ERROR_NOT_SUPPORT_LANGUAGE = -1407;
    static constexpr int CODE_ERROR_PRODUCT_PACKAGE_UNRELATED_SOFTWARE = -1414;
    static constexpr int CODE_ERROR_AUTO_CHANGE_CONFIG = -1415;
    static constexpr int CODE_ERROR_NOT_CONTAIN_EMPTY = -1418;
    static constexpr int CODE_ERROR_EMPTY_SOFT_ID = -1420;
    static constexpr int CODE_ERROR_INQUIRY_SOFT_INFO = -1421;
    static constexpr int CODE_ERROR_DELETE_PRODUCT = -1424;
    static constexpr int CODE_ERROR_FILL_IN_INFO = -1800;
    static constexpr int CODE_ERROR_VERIFICATION_CODE2 = -1801;
    static constexpr int CODE_ERROR_EMAIL_FORMAT2 = -1802;
    static constexpr int CODE_ERROR_EMAIL_USED = -1803;
    static constexpr int CODE_ERROR_APPLICATION = -1804;
    static constexpr int CODE_ERROR_EMPTY_EMAIL = -1900;
    static constexpr int CODE_ERROR_EMAIL_FORMAT3 = -1901;

    static constexpr int CODE_ERROR_NETWORK_100 = 100;
    static constexpr int CODE_ERROR_NETWORK_101 = 101;
    static constexpr int CODE_ERROR_NETWORK_200 = 200;
    static constexpr int CODE_ERROR_NETWORK_201 = 201;
    static constexpr int CODE_ERROR_NETWORK_202 = 202;
    static constexpr int CODE_ERROR_NETWORK_203 = 203;
    static constexpr int CODE_ERROR_NETWORK_204 = 204;
    static constexpr int CODE_ERROR_NETWORK_205 = 205;
    static constexpr int CODE_ERROR_NETWORK_206 = 206;
    static constexpr int CODE_ERROR_NETWORK_300 = 300;
    static constexpr int CODE_ERROR_NETWORK_301 = 301;
    static constexpr int CODE_ERROR_NETWORK_302 = 302;
    static constexpr int CODE_ERROR_NETWORK_303 = 303;
    static constexpr int CODE_ERROR_NETWORK_304 = 304;
    static constexpr int CODE_ERROR_NETWORK_305 = 305;
    static constexpr int CODE_ERROR_NETWORK_307 = 307;
    static constexpr int CODE_ERROR_NETWORK_400 = 400;
    static constexpr int CODE_ERROR_NETWORK_401 = 401;
    static constexpr int CODE_ERROR_NETWORK_403 = 403;
    static constexpr int CODE_ERROR_NETWORK_404 = 404;
    static constexpr int CODE_ERROR_NETWORK_405 = 405;
    static constexpr int CODE_ERROR_NETWORK_406 = 406;
    static constexpr int CODE_ERROR_NETWORK_407 = 407;
    static constexpr int CODE_ERROR_NETWORK_408 = 408;
    static constexpr int CODE_ERROR_NETWORK_409 = 409;
    static constexpr int CODE_ERROR_NETWORK_410 = 410;
    static constexpr int CODE_ERROR_NETWORK_411 = 411;
    static constexpr int CODE_ERROR_NETWORK_412 = 412;
    static constexpr int CODE_ERROR_NETWORK_413 = 413;
    static constexpr int CODE_ERROR_NETWORK_414 = 414;
    static constexpr int CODE_ERROR_NETWORK_416 = 416;
    static constexpr int CODE_ERROR_NETWORK_500 = 500;
    static constexpr int CODE_ERROR_NETWORK_501 = 501;
    static constexpr int CODE_ERROR_NETWORK_502 = 502;
    static constexpr int CODE_ERROR_NETWORK_503 = 503;
    static constexpr int CODE_ERROR_NETWORK_504 = 504;
    static constexpr int CODE_ERROR_NETWORK_505 = 505;

private:
    void init(const QList<QPair<int, QString>> &texts);

    QMap<int, QString> mMessages;
};
