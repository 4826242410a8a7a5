#pragma once

#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CheckUserResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(bool data READ isData WRITE setData)

public:
    explicit CheckUserResponse(QObject *parent = nullptr);
    CheckUserResponse(const CheckUserResponse &other);
    CheckUserResponse &operator=(const CheckUserResponse &other);

    bool isData() const { return mData; }
    void setData(bool value) { mData = value; }

private:
    bool mData = false;
};
