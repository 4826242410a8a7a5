#include <Sornet/GetDownloadURLParam.h>

GetDownloadURLParam::GetDownloadURLParam(QObject *parent)
    : BaseParam(parent)
{
}

GetDownloadURLParam::GetDownloadURLParam(const GetDownloadURLParam &other)
    : BaseParam(other)
    , mId(other.mId)
    , mSerial_number(other.mSerial_number)
{
}

GetDownloadURLParam &GetDownloadURLParam::operator=(const GetDownloadURLParam &other)
{
    BaseParam::operator=(other);
    mId = other.mId;
    mSerial_number = other.mSerial_number;
    return *this;
}
