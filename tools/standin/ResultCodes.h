#pragma once

#include <QString>

// The service's result codes and the message text it sends with each.
class ResultCodes
{
public:
    enum : int {
        Success = 1,
        LoginFailed = -1,
        TokenInvalid = -100,
        TokenExpired = -101,
        ServerError = -500,
        ParamMissing = -1001,
        RequestError = -1003,
        EmailFormat = -1200,
        VerificationCodeSend = -1210,
        VerificationCode = -1220,
        NameOrPasswordLength = -1301,
        UserExists = -1302,
        UserNotExists = -1310,
        WrongPassword = -1311,
        UserDisabled = -1312,
        UserAuditing = -1313,
        ResetPassword = -1320,
        PasswordLength = -1321,
        ModifyPassword = -1330,
        ModifyEmail = -1340,
        ModifyUserInfo = -1350,
        NoSerialNumber = -1400,
        SerialNotOwned = -1401,
        SerialNotExists = -1402,
        SerialConfig = -1404,
        NoLanguage = -1406,
        LanguageNotSupported = -1407,
        NoNeedToReconfigure = -1418,
        EmptySoftId = -1420,
        SoftwareInquiry = -1421,
        EmptyEmail = -1900,
        EmailFormat3 = -1901,
    };

    // The message for a code; "Request error!" for one the service never uses.
    static QString message(int code);
};
