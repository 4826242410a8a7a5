#include <Sornet/BaseResponse.h>

BaseResponse::BaseResponse(QObject *parent)
    : QObject(parent)
{
}

BaseResponse::BaseResponse(const BaseResponse &other)
    : QObject()
    , mCode(other.mCode)
    , mMessage(other.mMessage)
    , mSuccess(other.mSuccess)
{
}

BaseResponse &BaseResponse::operator=(const BaseResponse &other)
{
    mCode = other.mCode;
    mMessage = other.mMessage;
    mSuccess = other.mSuccess;
    return *this;
}
