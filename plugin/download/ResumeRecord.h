#pragma once

#include <QByteArray>
#include <QString>

// What is known about a file in the download folder, kept in a small file
// beside it: whose archive it is (the caller's identity and the address it
// was asked for), the strong ETag and Last-Modified date of the first
// answer, and the complete length. A resume asks the server for the rest of
// exactly this version and checks that the answer is about it; a finished
// archive is taken as downloaded only when its record names the package
// asked for.
struct ResumeRecord
{
    QString identity;        // opaque text of the caller, e.g. package and version
    QString address;         // the address as asked for, before any redirect
    QByteArray etag;         // strong only; a weak tag cannot guard a range
    QByteArray lastModified;
    qint64 length = -1;      // -1 when the server did not say

    // A validator that If-Range can carry. Without one a server may answer
    // a range of another file of the same length, so nothing is resumed.
    bool canVouch() const { return !etag.isEmpty() || !lastModified.isEmpty(); }
    // The If-Range value: the ETag, else the date, else nothing.
    QByteArray ifRange() const { return etag.isEmpty() ? lastModified : etag; }
    bool isFor(const QString &whose, const QString &from) const { return identity == whose && address == from; }

    // The record of a partial file: "<temporary>.resume".
    static QString pathFor(const QString &temporaryPath);
    // The record of a finished archive: hidden beside it (".<name>.resume"),
    // so that a listing of the folder shows archives only.
    static QString finishedPathFor(const QString &finalPath);
    // The archive a finished record belongs to, or an empty string when
    // `recordPath` is not a finished record's name.
    static QString archiveOf(const QString &recordPath);

    // false when there is no readable record.
    bool load(const QString &path);
    // Written whole or not at all, so a killed process never leaves half a record.
    bool save(const QString &path) const;
    static void remove(const QString &path);
};
