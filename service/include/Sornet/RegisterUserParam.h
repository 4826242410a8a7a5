#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

// First name, last name and phone are kept for the form but the service is not sent them.
class SORNET_EXPORT RegisterUserParam : public QObject
{
    Q_OBJECT

public:
    explicit RegisterUserParam(QObject *parent = nullptr);
    RegisterUserParam(const RegisterUserParam &other);
    RegisterUserParam &operator=(const RegisterUserParam &other);

    int getCountry_id() const { return mCountry_id; }
    void setCountry_id(int value) { mCountry_id = value; }
    QString getEmail() const { return mEmail; }
    void setEmail(const QString &value) { mEmail = value; }
    QString getFirst_name() const { return mFirst_name; }
    void setFirst_name(const QString &value) { mFirst_name = value; }
    QString getLast_name() const { return mLast_name; }
    void setLast_name(const QString &value) { mLast_name = value; }
    QString getPassword() const { return mPassword; }
    void setPassword(const QString &value) { mPassword = value; }
    QString getPhone() const { return mPhone; }
    void setPhone(const QString &value) { mPhone = value; }
    QString getUser_name() const { return mUser_name; }
    void setUser_name(const QString &value) { mUser_name = value; }
    QString getCAPTCHA() const { return mCAPTCHA; }
    void setCAPTCHA(const QString &value) { mCAPTCHA = value; }

private:
    int mCountry_id = 0;
    QString mEmail;
    QString mFirst_name;
    QString mLast_name;
    QString mPassword;
    QString mPhone;
    QString mUser_name;
    QString mCAPTCHA;
};
