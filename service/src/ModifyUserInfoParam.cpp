#include <Sornet/ModifyUserInfoParam.h>

ModifyUserInfoParam::ModifyUserInfoParam(QObject *parent)
    : BaseParam(parent)
{
}

ModifyUserInfoParam::ModifyUserInfoParam(const ModifyUserInfoParam &other)
    : BaseParam(other)
    , mAddress(other.mAddress)
    , mCity(other.mCity)
    , mCompany(other.mCompany)
    , mCountry_id(other.mCountry_id)
    , mEmail(other.mEmail)
    , mFax(other.mFax)
    , mFirst_name(other.mFirst_name)
    , mLast_name(other.mLast_name)
    , mMiddle_name(other.mMiddle_name)
    , mNick_name(other.mNick_name)
    , mProvince(other.mProvince)
    , mTelphone(other.mTelphone)
    , mZip(other.mZip)
{
}

ModifyUserInfoParam &ModifyUserInfoParam::operator=(const ModifyUserInfoParam &other)
{
    BaseParam::operator=(other);
    mAddress = other.mAddress;
    mCity = other.mCity;
    mCompany = other.mCompany;
    mCountry_id = other.mCountry_id;
    mEmail = other.mEmail;
    mFax = other.mFax;
    mFirst_name = other.mFirst_name;
    mLast_name = other.mLast_name;
    mMiddle_name = other.mMiddle_name;
    mNick_name = other.mNick_name;
    mProvince = other.mProvince;
    mTelphone = other.mTelphone;
    mZip = other.mZip;
    return *this;
}
