#include <Sornet/UserInfoData.h>

UserInfoData::UserInfoData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("data"));
}

UserInfoData::UserInfoData(const UserInfoData &other)
    : QObject()
    , mAddress(other.mAddress)
    , mCity(other.mCity)
    , mCompany(other.mCompany)
    , mCountry(other.mCountry)
    , mCountry_id(other.mCountry_id)
    , mEmail(other.mEmail)
    , mFax(other.mFax)
    , mUser_name(other.mUser_name)
    , mFirst_name(other.mFirst_name)
    , mLast_name(other.mLast_name)
    , mMiddle_name(other.mMiddle_name)
    , mNick_name(other.mNick_name)
    , mProvince(other.mProvince)
    , mTelphone(other.mTelphone)
    , mZip(other.mZip)
    , mLast_date(other.mLast_date)
    , mLast_ip(other.mLast_ip)
    , mReg_ip(other.mReg_ip)
    , mLast_time(other.mLast_time)
    , mReg_date(other.mReg_date)
{
    setObjectName(QStringLiteral("data"));
}

UserInfoData &UserInfoData::operator=(const UserInfoData &other)
{
    mAddress = other.mAddress;
    mCity = other.mCity;
    mCompany = other.mCompany;
    mCountry = other.mCountry;
    mCountry_id = other.mCountry_id;
    mEmail = other.mEmail;
    mFax = other.mFax;
    mUser_name = other.mUser_name;
    mFirst_name = other.mFirst_name;
    mLast_name = other.mLast_name;
    mMiddle_name = other.mMiddle_name;
    mNick_name = other.mNick_name;
    mProvince = other.mProvince;
    mTelphone = other.mTelphone;
    mZip = other.mZip;
    mLast_date = other.mLast_date;
    mLast_ip = other.mLast_ip;
    mReg_ip = other.mReg_ip;
    mLast_time = other.mLast_time;
    mReg_date = other.mReg_date;
    return *this;
}

bool UserInfoData::operator==(const UserInfoData &other) const
{
    return mAddress == other.mAddress
        && mCity == other.mCity
        && mCompany == other.mCompany
        && mCountry == other.mCountry
        && mCountry_id == other.mCountry_id
        && mEmail == other.mEmail
        && mFax == other.mFax
        && mUser_name == other.mUser_name
        && mFirst_name == other.mFirst_name
        && mLast_name == other.mLast_name
        && mMiddle_name == other.mMiddle_name
        && mNick_name == other.mNick_name
        && mProvince == other.mProvince
        && mTelphone == other.mTelphone
        && mZip == other.mZip
        && mLast_date == other.mLast_date
        && mLast_ip == other.mLast_ip
        && mReg_ip == other.mReg_ip
        && mLast_time == other.mLast_time
        && mReg_date == other.mReg_date;
}
