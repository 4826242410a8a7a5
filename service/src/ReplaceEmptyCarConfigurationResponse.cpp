#include <Sornet/ReplaceEmptyCarConfigurationResponse.h>

ReplaceEmptyCarConfigurationResponse::ReplaceEmptyCarConfigurationResponse(QObject *parent)
    : BaseResponse(parent)
{
}

ReplaceEmptyCarConfigurationResponse::ReplaceEmptyCarConfigurationResponse(const ReplaceEmptyCarConfigurationResponse &other)
    : BaseResponse(other)
{
}

ReplaceEmptyCarConfigurationResponse &ReplaceEmptyCarConfigurationResponse::operator=(const ReplaceEmptyCarConfigurationResponse &other)
{
    BaseResponse::operator=(other);
    return *this;
}
