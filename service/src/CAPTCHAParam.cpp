#include <Sornet/CAPTCHAParam.h>

CAPTCHAParam::CAPTCHAParam(QObject *parent)
    : QObject(parent)
{
}

CAPTCHAParam::CAPTCHAParam(const CAPTCHAParam &other)
    : QObject()
    , mEmail(other.mEmail)
    , mType(other.mType)
{
}

CAPTCHAParam &CAPTCHAParam::operator=(const CAPTCHAParam &other)
{
    mEmail = other.mEmail;
    mType = other.mType;
    return *this;
}
