#include <Sornet/ResetPasswordParam.h>

ResetPasswordParam::ResetPasswordParam(QObject *parent)
    : QObject(parent)
{
}

ResetPasswordParam::ResetPasswordParam(const ResetPasswordParam &other)
    : QObject()
    , mYzm(other.mYzm)
    , mEmail(other.mEmail)
    , mPassword(other.mPassword)
{
}

ResetPasswordParam &ResetPasswordParam::operator=(const ResetPasswordParam &other)
{
    mYzm = other.mYzm;
    mEmail = other.mEmail;
    mPassword = other.mPassword;
    return *this;
}
