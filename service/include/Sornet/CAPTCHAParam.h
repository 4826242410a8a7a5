#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CAPTCHAParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString email READ getEmail WRITE setEmail)
    Q_PROPERTY(int type READ getType WRITE setType)

public:
    explicit CAPTCHAParam(QObject *parent = nullptr);
    CAPTCHAParam(const CAPTCHAParam &other);
    CAPTCHAParam &operator=(const CAPTCHAParam &other);

    QString getEmail() const { return mEmail; }
    void setEmail(const QString &value) { mEmail = value; }
    int getType() const { return mType; }
    void setType(int value) { mType = value; }

private:
    QString mEmail;
    int mType = 1;
};
