#include <Sornet/ProductData.h>

ProductData::ProductData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("data"));
}

ProductData::ProductData(const ProductData &other)
    : QObject()
    , mLists(other.mLists)
    , mPage_index(other.mPage_index)
    , mPage_nums(other.mPage_nums)
{
    setObjectName(QStringLiteral("data"));
}

ProductData &ProductData::operator=(const ProductData &other)
{
    mLists = other.mLists;
    mPage_index = other.mPage_index;
    mPage_nums = other.mPage_nums;
    return *this;
}

bool ProductData::operator==(const ProductData &other) const
{
    return mLists == other.mLists
        && mPage_index == other.mPage_index
        && mPage_nums == other.mPage_nums;
}
