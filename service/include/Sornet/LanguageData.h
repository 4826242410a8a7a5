#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT LanguageData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ getName WRITE setName)
    Q_PROPERTY(QString code READ getCode WRITE setCode)

public:
    explicit LanguageData(QObject *parent = nullptr);
    LanguageData(const LanguageData &other);
    LanguageData &operator=(const LanguageData &other);
    bool operator==(const LanguageData &other) const;
    bool operator!=(const LanguageData &other) const { return !(*this == other); }

    QString getName() const { return mName; }
    void setName(const QString &value) { mName = value; }
    QString getCode() const { return mCode; }
    void setCode(const QString &value) { mCode = value; }

private:
    QString mName;
    QString mCode;
};

Q_DECLARE_METATYPE(LanguageData)
