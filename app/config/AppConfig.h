#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// The embedded configuration document. A document that cannot be opened or
// parsed leaves an empty root: every integer then reads 0, every text "".
class AppConfig
{
public:
    AppConfig() = default;
    explicit AppConfig(const QString &resourcePath);

    // Walks `keys` from the root, stopping at the first empty key. Invalid
    // when a step is missing or a value on the way is not an object.
    QVariant value(const QStringList &keys) const;
    int intValue(const QStringList &keys) const;
    QString textValue(const QStringList &keys) const;

    QString path() const { return mPath; }
    bool isEmpty() const { return mRoot.isEmpty(); }

private:
    QString mPath;
    QJsonObject mRoot;
};
