#include <Sornet/CheckUserParam.h>

CheckUserParam::CheckUserParam(QObject *parent)
    : QObject(parent)
{
}

CheckUserParam::CheckUserParam(const CheckUserParam &other)
    : QObject()
    , mUser_name(other.mUser_name)
{
}

CheckUserParam &CheckUserParam::operator=(const CheckUserParam &other)
{
    mUser_name = other.mUser_name;
    return *this;
}
