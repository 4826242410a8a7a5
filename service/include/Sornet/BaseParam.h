#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

// Token and user id of the signed-in user; every request made on that user's behalf starts with them.
class SORNET_EXPORT BaseParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString token READ getToken WRITE setToken)
    Q_PROPERTY(long user_id READ getUser_id WRITE setUser_id)

public:
    explicit BaseParam(QObject *parent = nullptr);
    BaseParam(const BaseParam &other);
    BaseParam &operator=(const BaseParam &other);

    QString getToken() const { return mToken; }
    void setToken(const QString &value) { mToken = value; }
    long getUser_id() const { return mUser_id; }
    void setUser_id(long value) { mUser_id = value; }

private:
    QString mToken;
    long mUser_id = 0;
};
