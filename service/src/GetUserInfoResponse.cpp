#include <Sornet/GetUserInfoResponse.h>

GetUserInfoResponse::GetUserInfoResponse(QObject *parent)
    : BaseResponse(parent)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

GetUserInfoResponse::GetUserInfoResponse(const GetUserInfoResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

GetUserInfoResponse &GetUserInfoResponse::operator=(const GetUserInfoResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
