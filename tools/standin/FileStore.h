#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <mutex>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>

// The archives behind "/files/<name>". A file comes from, in this order:
// a run-time replacement, the fixture (embedded base64, text, a generated
// byte pattern, a zip described entry by entry, or a "source" file next
// to the fixture), or a file of that name in the --files folder or the fixture's
// "files_dir". Content is shared and immutable once handed out, so a
// replacement never changes a transfer that is already running. A folder's
// file is mapped, not read, as a web server sends it: rewrite it in place
// only while no transfer of it runs.
//
// Every version of a file carries the validators a web server would send:
// a strong ETag that changes with each new content, and a modification
// time that moves forward by at least a second, so a client that resumes
// with either can tell when the file changed under it.
class FileStore
{
public:
    // Bytes held in memory, or a folder's file mapped as it is on disk, as a
    // web server sends it without copying it first.
    using Content = std::shared_ptr<const std::string_view>;
    static Content share(const QByteArray &data);
    static Content mapFile(const QString &path); // null when it cannot be read

    struct Version
    {
        Content content; // null when unknown
        QByteArray etag;  // quoted, strong
        QDateTime modified;
    };

    FileStore(const QJsonObject &fixture, const QString &fixtureDir, const QString &filesDir);

    // Problems met while building the fixture's files; empty when all is well.
    QStringList errors() const { return mErrors; }

    Version version(const QString &name) const;
    Content content(const QString &name) const; // null when unknown
    qint64 size(const QString &name) const;     // -1 when unknown

    bool replace(const QString &name, const QByteArray &data);
    void reset(); // forget replacements

    // The deterministic byte pattern behind {"generate": {"size", "seed"}}.
    static QByteArray patternBytes(qint64 size, quint32 seed);
    static bool isPlainName(const QString &name);

private:
    bool buildEntry(const QJsonObject &spec, QByteArray *out, QString *error) const;
    bool buildZip(const QJsonObject &spec, QByteArray *out, QString *error) const;
    bool entryBytes(const QJsonObject &spec, QByteArray *out, QString *error) const;
    Version fromFolder(const QString &dir, const QString &name) const;
    Version newVersion(const QByteArray &data, bool replacement);

    QString mFixtureDir;
    QStringList mFolders;
    QHash<QString, Version> mFixtureFiles;
    QStringList mErrors;

    mutable std::mutex mMutex;
    QHash<QString, Version> mReplaced;
    quint64 mNextTag = 1;       // these two are guarded by mMutex after construction
    QDateTime mLastModified;
};
