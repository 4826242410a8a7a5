#include "InstallManifest.h"

#include <QHash>
#include <QJsonArray>

namespace {
constexpr int kFormat = 1;
}

void InstallManifest::overlay(const InstalledFiles &newer)
{
    QHash<QString, int> at;
    for (int i = 0; i < files.size(); ++i)
        at.insert(files.at(i).path.toCaseFolded(), i);
    for (const InstalledFile &file : newer) {
        const auto it = at.constFind(file.path.toCaseFolded());
        if (it != at.constEnd()) {
            files[it.value()] = file;
        } else {
            at.insert(file.path.toCaseFolded(), files.size());
            files.append(file);
        }
    }
}

QJsonObject InstallManifest::toJson() const
{
    QJsonArray list;
    for (const InstalledFile &file : files) {
        list.append(QJsonObject{{QStringLiteral("path"), file.path},
                                {QStringLiteral("size"), double(file.size)},
                                {QStringLiteral("crc32"), QStringLiteral("%1").arg(file.crc, 8, 16, QLatin1Char('0'))},
                                {QStringLiteral("mtime"), double(file.mtime)}});
    }
    return QJsonObject{{QStringLiteral("format"), kFormat},
                       {QStringLiteral("serial"), serial},
                       {QStringLiteral("softId"), softId},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("folder"), folder},
                       {QStringLiteral("version"), version},
                       {QStringLiteral("installed"), installed.toUTC().toString(Qt::ISODateWithMs)},
                       {QStringLiteral("files"), list}};
}

InstallManifest InstallManifest::fromJson(const QJsonObject &json)
{
    InstallManifest m;
    if (json.value(QStringLiteral("format")).toInt() != kFormat)
        return m;
    m.serial = json.value(QStringLiteral("serial")).toString();
    m.softId = json.value(QStringLiteral("softId")).toString();
    m.name = json.value(QStringLiteral("name")).toString();
    m.version = json.value(QStringLiteral("version")).toString();
    m.installed = QDateTime::fromString(json.value(QStringLiteral("installed")).toString(), Qt::ISODateWithMs);
    for (const QJsonValue &value : json.value(QStringLiteral("files")).toArray()) {
        const QJsonObject o = value.toObject();
        bool crcOk = false;
        InstalledFile file;
        file.path = o.value(QStringLiteral("path")).toString();
        file.size = quint64(o.value(QStringLiteral("size")).toDouble(-1));
        file.crc = o.value(QStringLiteral("crc32")).toString().toUInt(&crcOk, 16);
        file.mtime = qint64(o.value(QStringLiteral("mtime")).toDouble());
        if (file.path.isEmpty() || !crcOk || o.value(QStringLiteral("size")).toDouble(-1) < 0)
            return InstallManifest(); // a record that cannot be checked against
        m.files.append(file);
    }
    m.folder = json.value(QStringLiteral("folder")).toString();
    return m;
}
