#pragma once

#include <QString>
#include <Sornet/BaseParam.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT ModifyPasswordParam : public BaseParam
{
    Q_OBJECT
    Q_PROPERTY(QString password READ getPassword WRITE setPassword)
    Q_PROPERTY(QString old_password READ getOld_password WRITE setOld_password)

public:
    explicit ModifyPasswordParam(QObject *parent = nullptr);
    ModifyPasswordParam(const ModifyPasswordParam &other);
    ModifyPasswordParam &operator=(const ModifyPasswordParam &other);

    QString getPassword() const { return mPassword; }
    void setPassword(const QString &value) { mPassword = value; }
    QString getOld_password() const { return mOld_password; }
    void setOld_password(const QString &value) { mOld_password = value; }

private:
    QString mPassword;
    QString mOld_password;
};
