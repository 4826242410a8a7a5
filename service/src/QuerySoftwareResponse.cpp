#include <Sornet/QuerySoftwareResponse.h>

QuerySoftwareResponse::QuerySoftwareResponse(QObject *parent)
    : BaseResponse(parent)
{
}

QuerySoftwareResponse::QuerySoftwareResponse(const QuerySoftwareResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
}

QuerySoftwareResponse &QuerySoftwareResponse::operator=(const QuerySoftwareResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}

void QuerySoftwareResponse::clear()
{
    setCode(0);
    setMessage(QString());
    setSuccess(false);
    mData.clear();
}
