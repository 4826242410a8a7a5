#pragma once

#include <QByteArray>
#include <QString>

// Files that hold a secret (the sign-in token, the remembered sign-in):
// readable and writable by their owner only, from the first byte on, so
// that another user of the computer never gets a moment to open them.
class PrivateFile
{
public:
    // Replaces `path` with `bytes` at once: a new file of mode 0600 beside
    // it, written, flushed and renamed over it. False (and `path` as it
    // was) when any step fails.
    static bool write(const QString &path, const QByteArray &bytes);

    // For a file another writer fills (the settings writer keeps the mode
    // of the file it replaces): makes it empty with mode 0600 when it does
    // not exist, and narrows it to 0600 when it does. False when it is not
    // a plain file of this user, or cannot be made.
    static bool prepare(const QString &path);

    // Creates `path` with mode 0600 and nothing in it; false when it
    // exists already or cannot be made. Never follows a link.
    static bool create(const QString &path);

    // The data folder: made with mode 0700 when it does not exist.
    static bool makePrivateFolder(const QString &path);
};
