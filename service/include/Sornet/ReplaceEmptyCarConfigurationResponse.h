#pragma once

#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ReplaceEmptyCarConfigurationResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit ReplaceEmptyCarConfigurationResponse(QObject *parent = nullptr);
    ReplaceEmptyCarConfigurationResponse(const ReplaceEmptyCarConfigurationResponse &other);
    ReplaceEmptyCarConfigurationResponse &operator=(const ReplaceEmptyCarConfigurationResponse &other);
};

Q_DECLARE_METATYPE(ReplaceEmptyCarConfigurationResponse)
