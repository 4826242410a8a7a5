#pragma once

#include <QString>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ModifyUserInfoResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QString data READ getData WRITE setData)

public:
    explicit ModifyUserInfoResponse(QObject *parent = nullptr);
    ModifyUserInfoResponse(const ModifyUserInfoResponse &other);
    ModifyUserInfoResponse &operator=(const ModifyUserInfoResponse &other);

    QString getData() const { return mData; }
    void setData(const QString &value) { mData = value; }

private:
    QString mData;
};
