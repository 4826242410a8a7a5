#include <Sornet/CountryData.h>

CountryData::CountryData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("CountryData"));
}

CountryData::CountryData(const CountryData &other)
    : QObject()
    , mId(other.mId)
    , mName(other.mName)
{
    setObjectName(QStringLiteral("CountryData"));
}

CountryData &CountryData::operator=(const CountryData &other)
{
    mId = other.mId;
    mName = other.mName;
    return *this;
}

bool CountryData::operator==(const CountryData &other) const
{
    return mId == other.mId
        && mName == other.mName;
}
