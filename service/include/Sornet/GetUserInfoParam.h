#pragma once

#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetUserInfoParam : public BaseParam
{
    Q_OBJECT

public:
    explicit GetUserInfoParam(QObject *parent = nullptr);
    GetUserInfoParam(const GetUserInfoParam &other);
    GetUserInfoParam &operator=(const GetUserInfoParam &other);
};
