#include <Sornet/CountryListResponse.h>

CountryListResponse::CountryListResponse(QObject *parent)
    : BaseResponse(parent)
{
}

CountryListResponse::CountryListResponse(const CountryListResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

CountryListResponse &CountryListResponse::operator=(const CountryListResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
