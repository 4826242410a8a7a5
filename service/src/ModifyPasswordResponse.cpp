#include <Sornet/ModifyPasswordResponse.h>

ModifyPasswordResponse::ModifyPasswordResponse(QObject *parent)
    : BaseResponse(parent)
{
}

ModifyPasswordResponse::ModifyPasswordResponse(const ModifyPasswordResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

ModifyPasswordResponse &ModifyPasswordResponse::operator=(const ModifyPasswordResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
