#include <Sornet/ProductBean.h>

ProductBean::ProductBean(QObject *parent)
    : QObject(parent)
{
}

ProductBean::ProductBean(const ProductBean &other)
    : QObject()
    , mImg_url(other.mImg_url)
    , mLanguages(other.mLanguages)
    , mPro_code(other.mPro_code)
    , mPro_id(other.mPro_id)
    , mPro_name(other.mPro_name)
    , mPro_type(other.mPro_type)
    , mReg_date(other.mReg_date)
    , mSerial_number(other.mSerial_number)
{
}

ProductBean &ProductBean::operator=(const ProductBean &other)
{
    mImg_url = other.mImg_url;
    mLanguages = other.mLanguages;
    mPro_code = other.mPro_code;
    mPro_id = other.mPro_id;
    mPro_name = other.mPro_name;
    mPro_type = other.mPro_type;
    mReg_date = other.mReg_date;
    mSerial_number = other.mSerial_number;
    return *this;
}

bool ProductBean::operator==(const ProductBean &other) const
{
    return mImg_url == other.mImg_url
        && mLanguages == other.mLanguages
        && mPro_code == other.mPro_code
        && mPro_id == other.mPro_id
        && mPro_name == other.mPro_name
        && mPro_type == other.mPro_type
        && mReg_date == other.mReg_date
        && mSerial_number == other.mSerial_number;
}
