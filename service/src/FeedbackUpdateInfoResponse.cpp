#include <Sornet/FeedbackUpdateInfoResponse.h>

FeedbackUpdateInfoResponse::FeedbackUpdateInfoResponse(QObject *parent)
    : BaseResponse(parent)
{
}

FeedbackUpdateInfoResponse::FeedbackUpdateInfoResponse(const FeedbackUpdateInfoResponse &other)
    : BaseResponse(other)
{
}

FeedbackUpdateInfoResponse &FeedbackUpdateInfoResponse::operator=(const FeedbackUpdateInfoResponse &other)
{
    BaseResponse::operator=(other);
    return *this;
}
