#include <Sornet/LoginData.h>

LoginData::LoginData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("data"));
}

LoginData::LoginData(const LoginData &other)
    : QObject()
    , mUser_id(other.mUser_id)
    , mUser_name(other.mUser_name)
    , mType(other.mType)
    , mToken(other.mToken)
    , mToken_outtime(other.mToken_outtime)
{
    setObjectName(QStringLiteral("data"));
}

LoginData &LoginData::operator=(const LoginData &other)
{
    mUser_id = other.mUser_id;
    mUser_name = other.mUser_name;
    mType = other.mType;
    mToken = other.mToken;
    mToken_outtime = other.mToken_outtime;
    return *this;
}

bool LoginData::operator==(const LoginData &other) const
{
    return mUser_id == other.mUser_id
        && mUser_name == other.mUser_name
        && mType == other.mType
        && mToken == other.mToken
        && mToken_outtime == other.mToken_outtime;
}
