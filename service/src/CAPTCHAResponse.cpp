#include <Sornet/CAPTCHAResponse.h>

CAPTCHAResponse::CAPTCHAResponse(QObject *parent)
    : BaseResponse(parent)
{
}

CAPTCHAResponse::CAPTCHAResponse(const CAPTCHAResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

CAPTCHAResponse &CAPTCHAResponse::operator=(const CAPTCHAResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
