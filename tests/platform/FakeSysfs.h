#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A sysfs-like tree in a temporary folder: block devices under devices/,
// linked from dev/block/<major:minor> and class/block/<name> as the kernel
// lays them out.
class FakeSysfs
{
public:
    bool isValid() const { return mDir.isValid(); }
    QString root() const { return mDir.path(); }

    // A whole disk at devices/<devicePath>/block/<disk> with its partitions
    // numbered on from `majorMinor`; `mmcType` gives an mmc card's type.
    bool addDisk(const QString &devicePath, const QString &disk, const QString &majorMinor,
                 bool removable, const QStringList &partitions = {}, const QString &mmcType = QString());

private:
    QTemporaryDir mDir;
};
