#pragma once

#include <QString>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ResetPasswordResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QString data READ getData WRITE setData)

public:
    explicit ResetPasswordResponse(QObject *parent = nullptr);
    ResetPasswordResponse(const ResetPasswordResponse &other);
    ResetPasswordResponse &operator=(const ResetPasswordResponse &other);

    QString getData() const { return mData; }
    void setData(const QString &value) { mData = value; }

private:
    QString mData;
};
