#pragma once

#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT RegisterUserResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit RegisterUserResponse(QObject *parent = nullptr);
    RegisterUserResponse(const RegisterUserResponse &other);
    RegisterUserResponse &operator=(const RegisterUserResponse &other);
};
