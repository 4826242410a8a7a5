#include <Sornet/LoginResponse.h>

LoginResponse::LoginResponse(QObject *parent)
    : BaseResponse(parent)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

LoginResponse::LoginResponse(const LoginResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

LoginResponse &LoginResponse::operator=(const LoginResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
