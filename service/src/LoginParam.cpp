#include <Sornet/LoginParam.h>

LoginParam::LoginParam(QObject *parent)
    : QObject(parent)
{
}

LoginParam::LoginParam(const LoginParam &other)
    : QObject()
    , mUser_name(other.mUser_name)
    , mPassword(other.mPassword)
{
}

LoginParam &LoginParam::operator=(const LoginParam &other)
{
    mUser_name = other.mUser_name;
    mPassword = other.mPassword;
    return *this;
}
