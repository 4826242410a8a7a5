#include <Sornet/ResetPasswordResponse.h>

ResetPasswordResponse::ResetPasswordResponse(QObject *parent)
    : BaseResponse(parent)
{
}

ResetPasswordResponse::ResetPasswordResponse(const ResetPasswordResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

ResetPasswordResponse &ResetPasswordResponse::operator=(const ResetPasswordResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
