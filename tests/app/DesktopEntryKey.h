#pragma once

#include <QRegularExpression>
#include <QString>

// The value of `key` in a desktop entry's text (empty when it has none).
inline QString keyOf(const QString &entry, const QString &key)
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(entry).captured(1);
}
