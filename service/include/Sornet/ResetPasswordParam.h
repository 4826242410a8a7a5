#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ResetPasswordParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString yzm READ getYzm WRITE setYzm)
    Q_PROPERTY(QString email READ getEmail WRITE setEmail)
    Q_PROPERTY(QString password READ getPassword WRITE setPassword)

public:
    explicit ResetPasswordParam(QObject *parent = nullptr);
    ResetPasswordParam(const ResetPasswordParam &other);
    ResetPasswordParam &operator=(const ResetPasswordParam &other);

    QString getYzm() const { return mYzm; }
    void setYzm(const QString &value) { mYzm = value; }
    QString getEmail() const { return mEmail; }
    void setEmail(const QString &value) { mEmail = value; }
    QString getPassword() const { return mPassword; }
    void setPassword(const QString &value) { mPassword = value; }

private:
    QString mYzm;
    QString mEmail;
    QString mPassword;
};
