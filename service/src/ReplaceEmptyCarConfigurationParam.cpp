#include <Sornet/ReplaceEmptyCarConfigurationParam.h>

ReplaceEmptyCarConfigurationParam::ReplaceEmptyCarConfigurationParam(QObject *parent)
    : BaseParam(parent)
{
}

ReplaceEmptyCarConfigurationParam::ReplaceEmptyCarConfigurationParam(const ReplaceEmptyCarConfigurationParam &other)
    : BaseParam(other)
    , mSerial_number(other.mSerial_number)
    , mCarId(other.mCarId)
    , mLanguages(other.mLanguages)
{
}

ReplaceEmptyCarConfigurationParam &ReplaceEmptyCarConfigurationParam::operator=(const ReplaceEmptyCarConfigurationParam &other)
{
    BaseParam::operator=(other);
    mSerial_number = other.mSerial_number;
    mCarId = other.mCarId;
    mLanguages = other.mLanguages;
    return *this;
}
