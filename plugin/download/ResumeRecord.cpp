#include "ResumeRecord.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

QString ResumeRecord::pathFor(const QString &temporaryPath)
{
    return temporaryPath + QStringLiteral(".resume");
}

bool ResumeRecord::load(const QString &path)
{
    *this = ResumeRecord();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(64 * 1024));
    if (!doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    etag = o.value(QStringLiteral("etag")).toString().toLatin1();
    lastModified = o.value(QStringLiteral("last_modified")).toString().toLatin1();
    length = qint64(o.value(QStringLiteral("length")).toDouble(-1));
    if (length < -1)
        length = -1;
    return true;
}

bool ResumeRecord::save(const QString &path) const
{
    const QJsonObject o{{QStringLiteral("etag"), QString::fromLatin1(etag)},
                        {QStringLiteral("last_modified"), QString::fromLatin1(lastModified)},
                        {QStringLiteral("length"), double(length)}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(o).toJson(QJsonDocument::Compact));
    return file.commit();
}

void ResumeRecord::remove(const QString &path)
{
    QFile::remove(path);
}
