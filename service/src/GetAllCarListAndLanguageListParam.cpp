#include <Sornet/GetAllCarListAndLanguageListParam.h>

GetAllCarListAndLanguageListParam::GetAllCarListAndLanguageListParam(QObject *parent)
    : BaseParam(parent)
{
}

GetAllCarListAndLanguageListParam::GetAllCarListAndLanguageListParam(const GetAllCarListAndLanguageListParam &other)
    : BaseParam(other)
    , mLang_name(other.mLang_name)
    , mSerial_number(other.mSerial_number)
{
}

GetAllCarListAndLanguageListParam &GetAllCarListAndLanguageListParam::operator=(const GetAllCarListAndLanguageListParam &other)
{
    BaseParam::operator=(other);
    mLang_name = other.mLang_name;
    mSerial_number = other.mSerial_number;
    return *this;
}
