#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CountryListParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString language_code READ getLanguage_code WRITE setLanguage_code)

public:
    explicit CountryListParam(QObject *parent = nullptr);
    CountryListParam(const CountryListParam &other);
    CountryListParam &operator=(const CountryListParam &other);

    QString getLanguage_code() const { return mLanguage_code; }
    void setLanguage_code(const QString &value) { mLanguage_code = value; }

private:
    QString mLanguage_code;
};
