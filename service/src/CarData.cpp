#include <Sornet/CarData.h>

CarData::CarData(QObject *parent)
    : QObject(parent)
{
}

CarData::CarData(const CarData &other)
    : QObject()
    , mId(other.mId)
    , mSoftId(other.mSoftId)
    , mLangName(other.mLangName)
{
}

CarData &CarData::operator=(const CarData &other)
{
    mId = other.mId;
    mSoftId = other.mSoftId;
    mLangName = other.mLangName;
    return *this;
}

bool CarData::operator==(const CarData &other) const
{
    return mId == other.mId
        && mSoftId == other.mSoftId
        && mLangName == other.mLangName;
}
