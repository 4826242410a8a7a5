#pragma once

#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/LoginData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT LoginResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit LoginResponse(QObject *parent = nullptr);
    LoginResponse(const LoginResponse &other);
    LoginResponse &operator=(const LoginResponse &other);

    LoginData getData() const { return mData; }
    void setData(const LoginData &value) { mData = value; }

private:
    LoginData mData;
};

Q_DECLARE_METATYPE(LoginResponse)
