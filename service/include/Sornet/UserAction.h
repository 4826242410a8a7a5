#pragma once

#include <Sornet/BaseAction.h>
#include <Sornet/CAPTCHAParam.h>
#include <Sornet/CAPTCHAResponse.h>
#include <Sornet/CheckUserParam.h>
#include <Sornet/CheckUserResponse.h>
#include <Sornet/CountryListParam.h>
#include <Sornet/CountryListResponse.h>
#include <Sornet/GetUserInfoParam.h>
#include <Sornet/GetUserInfoResponse.h>
#include <Sornet/LoginParam.h>
#include <Sornet/LoginResponse.h>
#include <Sornet/ModifyPasswordParam.h>
#include <Sornet/ModifyPasswordResponse.h>
#include <Sornet/ModifyUserInfoParam.h>
#include <Sornet/ModifyUserInfoResponse.h>
#include <Sornet/RegisterUserParam.h>
#include <Sornet/RegisterUserResponse.h>
#include <Sornet/ResetPasswordParam.h>
#include <Sornet/ResetPasswordResponse.h>
#include <Sornet/sornet_export.h>

// The account endpoints of the user centre. Each call blocks and returns
// 200, another HTTP status or -1; the response is filled only on 200.
class SORNET_EXPORT UserAction : public BaseAction
{
    Q_OBJECT

public:
    explicit UserAction(QObject *parent = nullptr);

    int login(LoginResponse &response, LoginParam &param);
    int registerUser(RegisterUserResponse &response, RegisterUserParam &param);
    int checkUser(CheckUserResponse &response, CheckUserParam &param);
    int sendCAPTCHA(CAPTCHAResponse &response, CAPTCHAParam &param);
    int resetPassword(ResetPasswordResponse &response, ResetPasswordParam &param);
    int modifyPassword(ModifyPasswordResponse &response, ModifyPasswordParam &param);
    int getUserInfo(GetUserInfoResponse &response, GetUserInfoParam &param);
    int modifyUserInfo(ModifyUserInfoResponse &response, ModifyUserInfoParam &param);
    int getCountryList(CountryListResponse &response, CountryListParam &param);

    // The country-list answer parser: 200, or -1 on unreadable JSON.
    // Appends to the response's list.
    static int parseCountryList(CountryListResponse &response, const QString &body);
};
