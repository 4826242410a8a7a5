#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// Writes a zip archive in memory: stored or deflated entries, folder
// entries, UTF-8 names and per-entry modification times. Enough for the
// archives the card installer unpacks, without any external tool.
class ZipBuilder
{
public:
    enum class Method { Store, Deflate };

    explicit ZipBuilder(Method method = Method::Deflate);

    void addFile(const QString &path, const QByteArray &data, const QDateTime &modified);
    // A folder entry; the trailing '/' is added when missing.
    void addDirectory(const QString &path, const QDateTime &modified);

    QByteArray build() const;

private:
    struct Entry
    {
        QByteArray name;
        QByteArray data;
        QDateTime modified;
        bool directory = false;
    };

    Method mMethod;
    QVector<Entry> mEntries;
};
