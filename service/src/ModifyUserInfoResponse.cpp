#include <Sornet/ModifyUserInfoResponse.h>

ModifyUserInfoResponse::ModifyUserInfoResponse(QObject *parent)
    : BaseResponse(parent)
{
}

ModifyUserInfoResponse::ModifyUserInfoResponse(const ModifyUserInfoResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

ModifyUserInfoResponse &ModifyUserInfoResponse::operator=(const ModifyUserInfoResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
