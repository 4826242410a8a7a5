#pragma once

#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT CheckUserParam : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString user_name READ getUser_name WRITE setUser_name)

public:
    explicit CheckUserParam(QObject *parent = nullptr);
    CheckUserParam(const CheckUserParam &other);
    CheckUserParam &operator=(const CheckUserParam &other);

    QString getUser_name() const { return mUser_name; }
    void setUser_name(const QString &value) { mUser_name = value; }

private:
    QString mUser_name;
};
