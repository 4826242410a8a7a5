#include <Sornet/BaseParam.h>

BaseParam::BaseParam(QObject *parent)
    : QObject(parent)
{
}

BaseParam::BaseParam(const BaseParam &other)
    : QObject()
    , mToken(other.mToken)
    , mUser_id(other.mUser_id)
{
}

BaseParam &BaseParam::operator=(const BaseParam &other)
{
    mToken = other.mToken;
    mUser_id = other.mUser_id;
    return *this;
}
