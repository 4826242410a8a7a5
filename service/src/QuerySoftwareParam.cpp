#include <Sornet/QuerySoftwareParam.h>

QuerySoftwareParam::QuerySoftwareParam(QObject *parent)
    : BaseParam(parent)
{
}

QuerySoftwareParam::QuerySoftwareParam(const QuerySoftwareParam &other)
    : BaseParam(other)
    , mSerial_number(other.mSerial_number)
    , mLang_code(other.mLang_code)
    , mDefault_lang_code(other.mDefault_lang_code)
{
}

QuerySoftwareParam &QuerySoftwareParam::operator=(const QuerySoftwareParam &other)
{
    BaseParam::operator=(other);
    mSerial_number = other.mSerial_number;
    mLang_code = other.mLang_code;
    mDefault_lang_code = other.mDefault_lang_code;
    return *this;
}
