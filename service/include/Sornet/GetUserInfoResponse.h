#pragma once

#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/UserInfoData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetUserInfoResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit GetUserInfoResponse(QObject *parent = nullptr);
    GetUserInfoResponse(const GetUserInfoResponse &other);
    GetUserInfoResponse &operator=(const GetUserInfoResponse &other);

    UserInfoData getData() const { return mData; }
    void setData(const UserInfoData &value) { mData = value; }

private:
    UserInfoData mData;
};

Q_DECLARE_METATYPE(GetUserInfoResponse)
