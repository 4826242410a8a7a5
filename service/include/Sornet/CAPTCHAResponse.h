#pragma once

#include <QString>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CAPTCHAResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QString data READ getData WRITE setData)

public:
    explicit CAPTCHAResponse(QObject *parent = nullptr);
    CAPTCHAResponse(const CAPTCHAResponse &other);
    CAPTCHAResponse &operator=(const CAPTCHAResponse &other);

    QString getData() const { return mData; }
    void setData(const QString &value) { mData = value; }

private:
    QString mData;
};
