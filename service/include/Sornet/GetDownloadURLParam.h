#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetDownloadURLParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(long id READ getId WRITE setId)
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)

public:
    explicit GetDownloadURLParam(QObject *parent = nullptr);
    GetDownloadURLParam(const GetDownloadURLParam &other);
    GetDownloadURLParam &operator=(const GetDownloadURLParam &other);

    long getId() const { return mId; }
    void setId(long value) { mId = value; }
    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }

private:
    long mId = 0;
    QString mSerial_number;
};
