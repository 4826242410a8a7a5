#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ReplaceEmptyCarConfigurationParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)
    Q_PROPERTY(QString carId READ getCarId WRITE setCarId)
    Q_PROPERTY(QString languages READ getLanguages WRITE setLanguanges)

public:
    explicit ReplaceEmptyCarConfigurationParam(QObject *parent = nullptr);
    ReplaceEmptyCarConfigurationParam(const ReplaceEmptyCarConfigurationParam &other);
    ReplaceEmptyCarConfigurationParam &operator=(const ReplaceEmptyCarConfigurationParam &other);

    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }
    QString getCarId() const { return mCarId; }
    void setCarId(const QString &value) { mCarId = value; }
    QString getLanguages() const { return mLanguages; }
    void setLanguanges(const QString &value) { mLanguages = value; }

private:
    QString mSerial_number;
    QString mCarId;
    QString mLanguages;
};
