#include "ResumeRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QLatin1String Suffix(".resume");
const QLatin1String PartialSuffix(".tmp.resume");
} // namespace

QString ResumeRecord::pathFor(const QString &temporaryPath)
{
    return temporaryPath + Suffix;
}

QString ResumeRecord::finishedPathFor(const QString &finalPath)
{
    const QFileInfo archive(finalPath);
    return archive.path() + QStringLiteral("/.") + archive.fileName() + Suffix;
}

QString ResumeRecord::archiveOf(const QString &recordPath)
{
    const QFileInfo record(recordPath);
    const QString name = record.fileName();
    if (!name.startsWith(QLatin1Char('.')) || !name.endsWith(Suffix) || name.endsWith(PartialSuffix)
        || name.size() <= 1 + Suffix.size())
        return QString();
    return record.path() + QLatin1Char('/') + name.mid(1, name.size() - 1 - Suffix.size());
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
    identity = o.value(QStringLiteral("identity")).toString();
    address = o.value(QStringLiteral("address")).toString();
    etag = o.value(QStringLiteral("etag")).toString().toLatin1();
    lastModified = o.value(QStringLiteral("last_modified")).toString().toLatin1();
    length = qint64(o.value(QStringLiteral("length")).toDouble(-1));
    if (length < -1)
        length = -1;
    return true;
}

bool ResumeRecord::save(const QString &path) const
{
    const QJsonObject o{{QStringLiteral("identity"), identity},
                        {QStringLiteral("address"), address},
                        {QStringLiteral("etag"), QString::fromLatin1(etag)},
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
