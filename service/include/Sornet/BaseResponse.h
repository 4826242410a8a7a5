#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

// The envelope every answer of the service carries; code 1 means success.
class SORNET_EXPORT BaseResponse : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int code READ getCode WRITE setCode)
    Q_PROPERTY(QString message READ getMessage WRITE setMessage)
    Q_PROPERTY(bool success READ isSuccess WRITE setSuccess)

public:
    explicit BaseResponse(QObject *parent = nullptr);
    BaseResponse(const BaseResponse &other);
    BaseResponse &operator=(const BaseResponse &other);

    int getCode() const { return mCode; }
    void setCode(int value) { mCode = value; }
    QString getMessage() const { return mMessage; }
    void setMessage(const QString &value) { mMessage = value; }
    bool isSuccess() const { return mSuccess; }
    void setSuccess(bool value) { mSuccess = value; }

private:
    int mCode = 0;
    QString mMessage;
    bool mSuccess = false;
};
