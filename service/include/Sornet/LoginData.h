#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT LoginData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(long user_id READ getUser_id WRITE setUser_id)
    Q_PROPERTY(QString user_name READ getUser_name WRITE setUser_name)
    Q_PROPERTY(int type READ getType WRITE setType)
    Q_PROPERTY(QString token READ getToken WRITE setToken)
    Q_PROPERTY(QString token_outtime READ getToken_outtime WRITE setToken_outtime)

public:
    explicit LoginData(QObject *parent = nullptr);
    LoginData(const LoginData &other);
    LoginData &operator=(const LoginData &other);
    bool operator==(const LoginData &other) const;
    bool operator!=(const LoginData &other) const { return !(*this == other); }

    long getUser_id() const { return mUser_id; }
    void setUser_id(long value) { mUser_id = value; }
    QString getUser_name() const { return mUser_name; }
    void setUser_name(const QString &value) { mUser_name = value; }
    int getType() const { return mType; }
    void setType(int value) { mType = value; }
    QString getToken() const { return mToken; }
    void setToken(const QString &value) { mToken = value; }
    QString getToken_outtime() const { return mToken_outtime; }
    void setToken_outtime(const QString &value) { mToken_outtime = value; }

private:
    long mUser_id = 0;
    QString mUser_name;
    int mType = 0;
    QString mToken;
    QString mToken_outtime;
};

Q_DECLARE_METATYPE(LoginData)
