#include <Sornet/RegisterUserParam.h>

RegisterUserParam::RegisterUserParam(QObject *parent)
    : QObject(parent)
{
}

RegisterUserParam::RegisterUserParam(const RegisterUserParam &other)
    : QObject()
    , mCountry_id(other.mCountry_id)
    , mEmail(other.mEmail)
    , mFirst_name(other.mFirst_name)
    , mLast_name(other.mLast_name)
    , mPassword(other.mPassword)
    , mPhone(other.mPhone)
    , mUser_name(other.mUser_name)
    , mCAPTCHA(other.mCAPTCHA)
{
}

RegisterUserParam &RegisterUserParam::operator=(const RegisterUserParam &other)
{
    mCountry_id = other.mCountry_id;
    mEmail = other.mEmail;
    mFirst_name = other.mFirst_name;
    mLast_name = other.mLast_name;
    mPassword = other.mPassword;
    mPhone = other.mPhone;
    mUser_name = other.mUser_name;
    mCAPTCHA = other.mCAPTCHA;
    return *this;
}
