#pragma once

#include <QByteArray>
#include <QString>

// What the first answer said about a file that is being downloaded, kept
// in a small file beside the temporary one: its strong ETag, its
// Last-Modified date and its complete length. A resume asks the server for
// the rest of exactly this version and checks that the answer is about it.
struct ResumeRecord
{
    QByteArray etag;         // strong only; a weak tag cannot guard a range
    QByteArray lastModified;
    qint64 length = -1;      // -1 when the server did not say

    // Something that can tell this version from another one.
    bool canVouch() const { return !etag.isEmpty() || !lastModified.isEmpty() || length >= 0; }
    // The If-Range value: the ETag, else the date, else nothing.
    QByteArray ifRange() const { return etag.isEmpty() ? lastModified : etag; }

    static QString pathFor(const QString &temporaryPath);
    // false when there is no readable record.
    bool load(const QString &path);
    // Written whole or not at all, so a killed process never leaves half a record.
    bool save(const QString &path) const;
    static void remove(const QString &path);
};
