#pragma once

#include <QString>
#include <Sornet/BaseResponse.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ModifyPasswordResponse : public BaseResponse
{
    Q_OBJECT
    Q_PROPERTY(QString data READ getData WRITE setData)

public:
    explicit ModifyPasswordResponse(QObject *parent = nullptr);
    ModifyPasswordResponse(const ModifyPasswordResponse &other);
    ModifyPasswordResponse &operator=(const ModifyPasswordResponse &other);

    QString getData() const { return mData; }
    void setData(const QString &value) { mData = value; }

private:
    QString mData;
};
