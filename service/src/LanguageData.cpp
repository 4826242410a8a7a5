#include <Sornet/LanguageData.h>

LanguageData::LanguageData(QObject *parent)
    : QObject(parent)
{
}

LanguageData::LanguageData(const LanguageData &other)
    : QObject()
    , mName(other.mName)
    , mCode(other.mCode)
{
}

LanguageData &LanguageData::operator=(const LanguageData &other)
{
    mName = other.mName;
    mCode = other.mCode;
    return *this;
}

bool LanguageData::operator==(const LanguageData &other) const
{
    return mName == other.mName
        && mCode == other.mCode;
}
