#include <Sornet/CheckUserResponse.h>

CheckUserResponse::CheckUserResponse(QObject *parent)
    : BaseResponse(parent)
{
}

CheckUserResponse::CheckUserResponse(const CheckUserResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

CheckUserResponse &CheckUserResponse::operator=(const CheckUserResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
