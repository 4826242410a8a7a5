#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the text of /proc/<pid>/mountinfo. Pure: no file access, so it can be
// fed canned text.
class MountInfoParser
{
public:
    struct Entry
    {
        int mountId = -1;
        int parentId = -1;
        int major = -1;
        int minor = -1;
        QString root;            // the part of the file system mounted here
        QString mountPoint;      // escapes such as \040 already decoded
        QString mountOptions;
        QStringList optionalFields; // "shared:1", "master:2", ...
        QString fsType;
        QString source;          // "/dev/sdb1", "tmpfs", ...
        QString superOptions;

        QString majorMinor() const
        {
            return QString::number(major) + QLatin1Char(':') + QString::number(minor);
        }
    };

    // Every well-formed line, in file order; malformed lines are skipped.
    static QList<Entry> parse(const QByteArray &text);
    // One line without its line break; false when it is malformed.
    static bool parseLine(const QByteArray &line, Entry *entry);
    // Decodes the kernel's octal escapes (\040 blank, \011 tab, \012 newline,
    // \134 backslash) and reads the result as UTF-8.
    static QString unescape(const QByteArray &field);
};
