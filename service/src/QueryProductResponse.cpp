#include <Sornet/QueryProductResponse.h>

QueryProductResponse::QueryProductResponse(QObject *parent)
    : BaseResponse(parent)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

QueryProductResponse::QueryProductResponse(const QueryProductResponse &other)
    : BaseResponse(other)
    , mData(other.mData)
{
    // The generic mapper finds the payload as the child named "data".
    mData.setParent(this);
}

QueryProductResponse &QueryProductResponse::operator=(const QueryProductResponse &other)
{
    BaseResponse::operator=(other);
    mData = other.mData;
    return *this;
}

void QueryProductResponse::clear()
{
    setCode(0);
    setMessage(QString());
    setSuccess(false);
    mData.setPage_index(0);
    mData.setPage_nums(0);
    mData.getLists().clear();
}
