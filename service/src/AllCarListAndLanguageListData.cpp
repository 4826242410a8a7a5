#include <Sornet/AllCarListAndLanguageListData.h>

AllCarListAndLanguageListData::AllCarListAndLanguageListData(QObject *parent)
    : QObject(parent)
{
}

AllCarListAndLanguageListData::AllCarListAndLanguageListData(const AllCarListAndLanguageListData &other)
    : QObject()
    , mCarList(other.mCarList)
    , mLanguageList(other.mLanguageList)
{
}

AllCarListAndLanguageListData &AllCarListAndLanguageListData::operator=(const AllCarListAndLanguageListData &other)
{
    mCarList = other.mCarList;
    mLanguageList = other.mLanguageList;
    return *this;
}

bool AllCarListAndLanguageListData::operator==(const AllCarListAndLanguageListData &other) const
{
    return mCarList == other.mCarList
        && mLanguageList == other.mLanguageList;
}
