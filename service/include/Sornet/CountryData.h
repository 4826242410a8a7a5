#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CountryData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id READ getId WRITE setId)
    Q_PROPERTY(QString name READ getName WRITE setName)

public:
    explicit CountryData(QObject *parent = nullptr);
    CountryData(const CountryData &other);
    CountryData &operator=(const CountryData &other);
    bool operator==(const CountryData &other) const;
    bool operator!=(const CountryData &other) const { return !(*this == other); }

    int getId() const { return mId; }
    void setId(int value) { mId = value; }
    QString getName() const { return mName; }
    void setName(const QString &value) { mName = value; }

private:
    int mId = 0;
    QString mName;
};

Q_DECLARE_METATYPE(CountryData)
