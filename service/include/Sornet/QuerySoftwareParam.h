#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT QuerySoftwareParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(QString serial_number READ getSerial_number WRITE setSerial_number)
    Q_PROPERTY(QString lang_code READ getLang_code WRITE setLang_code)
    Q_PROPERTY(QString default_lang_code READ getDefault_lang_code WRITE setDefault_lang_code)

public:
    explicit QuerySoftwareParam(QObject *parent = nullptr);
    QuerySoftwareParam(const QuerySoftwareParam &other);
    QuerySoftwareParam &operator=(const QuerySoftwareParam &other);

    QString getSerial_number() const { return mSerial_number; }
    void setSerial_number(const QString &value) { mSerial_number = value; }
    QString getLang_code() const { return mLang_code; }
    void setLang_code(const QString &value) { mLang_code = value; }
    QString getDefault_lang_code() const { return mDefault_lang_code; }
    void setDefault_lang_code(const QString &value) { mDefault_lang_code = value; }

private:
    QString mSerial_number;
    QString mLang_code;
    QString mDefault_lang_code;
};
