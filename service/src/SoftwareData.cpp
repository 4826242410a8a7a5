#include <Sornet/SoftwareData.h>

SoftwareData::SoftwareData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("data"));
}

SoftwareData::SoftwareData(const SoftwareData &other)
    : QObject()
    , mId(other.mId)
    , mLang_code(other.mLang_code)
    , mLanguages(other.mLanguages)
    , mPackage_type(other.mPackage_type)
    , mRelease_date(other.mRelease_date)
    , mSoft_id(other.mSoft_id)
    , mSoft_name(other.mSoft_name)
    , mSoft_size(other.mSoft_size)
    , mSoft_type(other.mSoft_type)
    , mUpdate_tips(other.mUpdate_tips)
    , mVersion(other.mVersion)
    , mPatch_version(other.mPatch_version)
    , mVersion_history(other.mVersion_history)
{
    setObjectName(QStringLiteral("data"));
}

SoftwareData &SoftwareData::operator=(const SoftwareData &other)
{
    mId = other.mId;
    mLang_code = other.mLang_code;
    mLanguages = other.mLanguages;
    mPackage_type = other.mPackage_type;
    mRelease_date = other.mRelease_date;
    mSoft_id = other.mSoft_id;
    mSoft_name = other.mSoft_name;
    mSoft_size = other.mSoft_size;
    mSoft_type = other.mSoft_type;
    mUpdate_tips = other.mUpdate_tips;
    mVersion = other.mVersion;
    mPatch_version = other.mPatch_version;
    mVersion_history = other.mVersion_history;
    return *this;
}

bool SoftwareData::operator==(const SoftwareData &other) const
{
    return mId == other.mId
        && mLang_code == other.mLang_code
        && mLanguages == other.mLanguages
        && mPackage_type == other.mPackage_type
        && mRelease_date == other.mRelease_date
        && mSoft_id == other.mSoft_id
        && mSoft_name == other.mSoft_name
        && mSoft_size == other.mSoft_size
        && mSoft_type == other.mSoft_type
        && mUpdate_tips == other.mUpdate_tips
        && mVersion == other.mVersion
        && mPatch_version == other.mPatch_version
        && mVersion_history == other.mVersion_history;
}
