#include <Sornet/QueryProductParam.h>

QueryProductParam::QueryProductParam(QObject *parent)
    : BaseParam(parent)
{
}

QueryProductParam::QueryProductParam(const QueryProductParam &other)
    : BaseParam(other)
{
}

QueryProductParam &QueryProductParam::operator=(const QueryProductParam &other)
{
    BaseParam::operator=(other);
    return *this;
}
