#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetAllCarListAndLanguageListParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(QString lang_name READ getLang_name WRITE setLang_name)
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)

public:
    explicit GetAllCarListAndLanguageListParam(QObject *parent = nullptr);
    GetAllCarListAndLanguageListParam(const GetAllCarListAndLanguageListParam &other);
    GetAllCarListAndLanguageListParam &operator=(const GetAllCarListAndLanguageListParam &other);

    QString getLang_name() const { return mLang_name; }
    void setLang_name(const QString &value) { mLang_name = value; }
    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }

private:
    QString mLang_name;
    QString mSerial_number;
};
