#include <Sornet/GetDownloadURLResponse.h>

GetDownloadURLResponse::GetDownloadURLResponse(QObject *parent)
    : BaseResponse(parent)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

GetDownloadURLResponse::GetDownloadURLResponse(const GetDownloadURLResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

GetDownloadURLResponse &GetDownloadURLResponse::operator=(const GetDownloadURLResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}
