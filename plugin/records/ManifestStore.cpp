#include "ManifestStore.h"

#include "AppPaths.h"
#include "RecordsLog.h"
#include "VersionOrder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QUrl>

namespace {
// Names that every file system takes as they are, and no '@', which
// separates the folder from the version.
QString encode(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "-._"));
}

QString decode(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toLatin1());
}
} // namespace

ManifestStore::ManifestStore(const QString &folder)
    : mFolder(folder.isEmpty() ? AppPaths::dataFile(QStringLiteral("Manifests")) : folder)
{
}

QString ManifestStore::cardFolder(const QString &serial) const
{
    return mFolder + QLatin1Char('/') + encode(serial);
}

bool ManifestStore::save(const InstallManifest &manifest)
{
    if (manifest.serial.isEmpty() || manifest.isNull())
        return false;
    const QString dir = cardFolder(manifest.serial);
    const QString path = dir + QLatin1Char('/') + encode(manifest.folder) + QLatin1Char('@') + encode(manifest.version)
                         + QStringLiteral(".json");
    QSaveFile file(path);
    if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(manifest.toJson()).toJson(QJsonDocument::Compact)) < 0 || !file.commit()) {
        qCDebug(lcRecords).noquote() << "manifest not written:" << path << file.errorString();
        return false;
    }
    for (const Stored &old : load(manifest.serial, manifest.folder)) {
        if (QFileInfo(old.path).fileName() != QFileInfo(path).fileName())
            QFile::remove(old.path);
    }
    return true;
}

QList<ManifestStore::Stored> ManifestStore::load(const QString &serial, const QString &folder) const
{
    QList<Stored> found;
    if (serial.isEmpty())
        return found;
    const QDir dir(cardFolder(serial));
    for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        // A card's folders, like the card, ignore letter case.
        if (decode(name.section(QLatin1Char('@'), 0, 0)).compare(folder, Qt::CaseInsensitive) != 0)
            continue;
        QFile file(dir.filePath(name));
        InstallManifest manifest;
        if (file.open(QIODevice::ReadOnly))
            manifest = InstallManifest::fromJson(QJsonDocument::fromJson(file.readAll()).object());
        if (manifest.isNull()) {
            qCDebug(lcRecords).noquote() << "not a manifest:" << file.fileName();
            continue;
        }
        found.append({file.fileName(), manifest});
    }
    return found;
}

InstallManifest ManifestStore::find(const QString &serial, const QString &folder, const QString &version) const
{
    for (const Stored &stored : load(serial, folder)) {
        if (VersionOrder::same(stored.manifest.version, version))
            return stored.manifest;
    }
    return InstallManifest();
}

InstallManifest ManifestStore::any(const QString &serial, const QString &folder) const
{
    const QList<Stored> stored = load(serial, folder);
    return stored.isEmpty() ? InstallManifest() : stored.first().manifest;
}
