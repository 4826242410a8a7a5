#include <Sornet/ModifyPasswordParam.h>

ModifyPasswordParam::ModifyPasswordParam(QObject *parent)
    : BaseParam(parent)
{
}

ModifyPasswordParam::ModifyPasswordParam(const ModifyPasswordParam &other)
    : BaseParam(other)
    , mPassword(other.mPassword)
    , mOld_password(other.mOld_password)
{
}

ModifyPasswordParam &ModifyPasswordParam::operator=(const ModifyPasswordParam &other)
{
    BaseParam::operator=(other);
    mPassword = other.mPassword;
    mOld_password = other.mOld_password;
    return *this;
}
