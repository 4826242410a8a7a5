#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CarData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(long id READ getId WRITE setId)
    Q_PROPERTY(QString softId READ getSoftId WRITE setSoftId)
    Q_PROPERTY(QString langName READ getLangName WRITE setLangName)

public:
    explicit CarData(QObject *parent = nullptr);
    CarData(const CarData &other);
    CarData &operator=(const CarData &other);
    bool operator==(const CarData &other) const;
    bool operator!=(const CarData &other) const { return !(*this == other); }

    long getId() const { return mId; }
    void setId(long value) { mId = value; }
    QString getSoftId() const { return mSoftId; }
    void setSoftId(const QString &value) { mSoftId = value; }
    QString getLangName() const { return mLangName; }
    void setLangName(const QString &value) { mLangName = value; }

private:
    long mId = 0;
    QString mSoftId;
    QString mLangName;
};

Q_DECLARE_METATYPE(CarData)
