#include "AppConfig.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

AppConfig::AppConfig(const QString &resourcePath)
    : mPath(resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error == QJsonParseError::NoError && !doc.isNull() && doc.isObject())
        mRoot = doc.object();
}

QVariant AppConfig::value(const QStringList &keys) const
{
    QJsonValue current = mRoot;
    bool any = false;
    for (const QString &key : keys) {
        if (key.isEmpty())
            break;
        if (!current.isObject())
            return QVariant();
        const QJsonObject obj = current.toObject();
        const auto it = obj.constFind(key);
        if (it == obj.constEnd())
            return QVariant();
        current = it.value();
        any = true;
    }
    if (!any)
        return QVariant();
    return current.toVariant();
}

int AppConfig::intValue(const QStringList &keys) const
{
    const QVariant v = value(keys);
    return v.isValid() ? v.toInt() : 0;
}

QString AppConfig::textValue(const QStringList &keys) const
{
    const QVariant v = value(keys);
    return v.isValid() ? v.toString() : QString();
}
