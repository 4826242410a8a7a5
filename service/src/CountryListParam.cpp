#include <Sornet/CountryListParam.h>

CountryListParam::CountryListParam(QObject *parent)
    : QObject(parent)
{
}

CountryListParam::CountryListParam(const CountryListParam &other)
    : QObject()
    , mLanguage_code(other.mLanguage_code)
{
}

CountryListParam &CountryListParam::operator=(const CountryListParam &other)
{
    mLanguage_code = other.mLanguage_code;
    return *this;
}
