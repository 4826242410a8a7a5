#include "Package.h"

#include "DownloadFile.h"
#include "VehicleData.h"

#include <Sornet/SoftwareData.h>

#include <QCryptographicHash>

namespace {
qint64 sizeOf(const SoftwareData &record)
{
    bool ok = false;
    const qint64 size = record.getSoft_size().trimmed().toLongLong(&ok);
    return ok && size > 0 ? size : 0;
}

// A piece of a file name: letters, digits, dots, dashes; at most `max`.
QString fileNamePart(const QString &text, int max)
{
    QString out;
    for (const QChar c : text) {
        if (out.size() >= max)
            break;
        const bool plain =
            (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') || c == QLatin1Char('-');
        out += plain ? c : QLatin1Char('_');
    }
    return out;
}
} // namespace

Package::Kind Package::kind() const
{
    if (softId.compare(QLatin1String("Ostrel"), Qt::CaseInsensitive) == 0)
        return Kind::Program;
    if (softId.compare(QLatin1String("COMTXTLIB"), Qt::CaseInsensitive) == 0)
        return Kind::TextLibrary;
    // A folder whose name holds "home" is the scanner's own software.
    if (softId.contains(QLatin1String("home"), Qt::CaseInsensitive))
        return Kind::Home;
    return Kind::Vehicle;
}

QString Package::folderName() const
{
    return kind() == Kind::TextLibrary ? QStringLiteral("Public") : softId;
}

QString Package::identity() const
{
    return QStringLiteral("%1 %2 %3").arg(id).arg(softId, version);
}

QString Package::downloadPath() const
{
    const QByteArray hash = QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256).toHex().left(8);
    // The program's installer is a Debian package whatever the address
    // calls it: the desktop is told the kind of file by its name, and the
    // address must not choose it (".desktop" would be run as a launcher).
    const QString extension = kind() == Kind::Program ? QStringLiteral(".deb") : QStringLiteral(".zip");
    return DownloadFile::downloadDir() + QString::number(id) + QLatin1Char('-') + fileNamePart(version, 40)
           + QLatin1Char('-') + QString::fromLatin1(hash) + extension + QStringLiteral(".tmp");
}

Package Package::fromRecord(const SoftwareData &record, const Card &card, const QList<VehicleData> &catalogue)
{
    Package p;
    p.id = record.getId();
    p.softId = record.getSoft_id();
    p.name = record.getSoft_name();
    p.version = record.getVersion();
    p.type = record.getSoft_type();
    p.size = sizeOf(record);
    p.card = card;
    if (p.kind() == Kind::Program)
        return p;
    // The first record of that name in the catalogue is what the list
    // showed as installed; its folder gives way to the new version.
    const QString folder = p.folderName();
    for (const VehicleData &installed : catalogue) {
        if (installed.mDirName.compare(folder, Qt::CaseInsensitive) != 0)
            continue;
        if (!installed.mDirPath.isEmpty() && card.contains(installed.mDirPath)) {
            p.installedFolder = card.relativePath(installed.mDirPath);
            p.installedVersion = installed.mVersion;
        }
        break;
    }
    return p;
}

Package Package::patchOf(const SoftwareData &patch, const Package &base)
{
    Package p = fromRecord(patch, base.card, {});
    // A patch goes over its package's folder; it replaces none of its own.
    p.baseId = base.id;
    p.baseVersion = base.version;
    if (p.softId.isEmpty())
        p.softId = base.softId;
    return p;
}

UpgradeItem UpgradeItem::fromRecord(const SoftwareData &record, const Card &card, const QList<VehicleData> &catalogue)
{
    UpgradeItem item;
    item.package = Package::fromRecord(record, card, catalogue);
    if (!record.getPatch_version().isEmpty())
        item.patch = Package::patchOf(record.getPatch_version().first(), item.package);
    return item;
}
