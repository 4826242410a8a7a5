#include <Sornet/GetUserInfoParam.h>

GetUserInfoParam::GetUserInfoParam(QObject *parent)
    : BaseParam(parent)
{
}

GetUserInfoParam::GetUserInfoParam(const GetUserInfoParam &other)
    : BaseParam(other)
{
}

GetUserInfoParam &GetUserInfoParam::operator=(const GetUserInfoParam &other)
{
    BaseParam::operator=(other);
    return *this;
}
