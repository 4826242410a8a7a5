#include "FakeSysfs.h"

#include <QDir>
#include <QFile>

namespace {
bool write(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}
} // namespace

bool FakeSysfs::addDisk(const QString &devicePath, const QString &disk, const QString &majorMinor,
                        bool removable, const QStringList &partitions, const QString &mmcType)
{
    const QString r = root();
    const QString device = r + QStringLiteral("/devices/") + devicePath;
    const QString diskDir = device + QStringLiteral("/block/") + disk;
    bool ok = QDir().mkpath(diskDir) && QDir().mkpath(r + QStringLiteral("/dev/block"))
        && QDir().mkpath(r + QStringLiteral("/class/block"))
        && write(diskDir + QStringLiteral("/removable"), removable ? "1\n" : "0\n")
        && QFile::link(diskDir, r + QStringLiteral("/dev/block/") + majorMinor)
        && QFile::link(diskDir, r + QStringLiteral("/class/block/") + disk);
    if (ok && !mmcType.isEmpty()) {
        ok = write(device + QStringLiteral("/type"), mmcType.toLatin1() + '\n')
            && QFile::link(device, diskDir + QStringLiteral("/device"));
    }
    const QStringList mm = majorMinor.split(QLatin1Char(':'));
    int minor = mm.value(1).toInt();
    for (const QString &part : partitions) {
        const QString partDir = diskDir + QLatin1Char('/') + part;
        const QString partMm = mm.value(0) + QLatin1Char(':') + QString::number(++minor);
        // The kernel gives partitions removable = 0 whatever the disk says.
        ok = ok && QDir().mkpath(partDir) && write(partDir + QStringLiteral("/partition"), "1\n")
            && write(partDir + QStringLiteral("/removable"), "0\n")
            && QFile::link(partDir, r + QStringLiteral("/dev/block/") + partMm)
            && QFile::link(partDir, r + QStringLiteral("/class/block/") + part);
    }
    return ok;
}
