#include <Sornet/GetAllCarListAndLanguageListResponse.h>

GetAllCarListAndLanguageListResponse::GetAllCarListAndLanguageListResponse(QObject *parent)
    : BaseResponse(parent)
{
}

GetAllCarListAndLanguageListResponse::GetAllCarListAndLanguageListResponse(const GetAllCarListAndLanguageListResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

GetAllCarListAndLanguageListResponse &GetAllCarListAndLanguageListResponse::operator=(const GetAllCarListAndLanguageListResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
