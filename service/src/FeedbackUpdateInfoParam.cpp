#include <Sornet/FeedbackUpdateInfoParam.h>

FeedbackUpdateInfoParam::FeedbackUpdateInfoParam(QObject *parent)
    : BaseParam(parent)
{
}

FeedbackUpdateInfoParam::FeedbackUpdateInfoParam(const FeedbackUpdateInfoParam &other)
    : BaseParam(other)
    , mDown_time(other.mDown_time)
    , mId(other.mId)
    , mSerial_number(other.mSerial_number)
    , mStatus(other.mStatus)
{
}

FeedbackUpdateInfoParam &FeedbackUpdateInfoParam::operator=(const FeedbackUpdateInfoParam &other)
{
    BaseParam::operator=(other);
    mDown_time = other.mDown_time;
    mId = other.mId;
    mSerial_number = other.mSerial_number;
    mStatus = other.mStatus;
    return *this;
}
