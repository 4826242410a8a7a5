#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT LoginParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString user_name READ getUser_name WRITE setUser_name)
    Q_PROPERTY(QString password READ getPassword WRITE setPassword)

public:
    explicit LoginParam(QObject *parent = nullptr);
    LoginParam(const LoginParam &other);
    LoginParam &operator=(const LoginParam &other);

    QString getUser_name() const { return mUser_name; }
    void setUser_name(const QString &value) { mUser_name = value; }
    QString getPassword() const { return mPassword; }
    void setPassword(const QString &value) { mPassword = value; }

private:
    QString mUser_name;
    QString mPassword;
};
