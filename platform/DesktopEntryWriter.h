#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Writes freedesktop.org desktop entries (launchers, autostart entries).
class DesktopEntryWriter
{
public:
    // The Exec value for one program without arguments: quoted, with the
    // characters that are special inside quotes, field codes and the value
    // escapes handled. Empty when the path cannot be expressed (line breaks
    // or other control characters).
    static QString execValue(const QString &program);

    // Appends Icon= the application icon beside the program, when there is
    // one and its path can be written (no control characters).
    static void addIcon(QList<QPair<QString, QString>> &keys);

    // "[Desktop Entry]" followed by the keys in order.
    static QByteArray render(const QList<QPair<QString, QString>> &keys);
};
