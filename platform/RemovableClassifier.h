#pragma once

#include "MountInfoParser.h"

#include <QString>

// Decides which mounted file systems are volumes and which of those sit on
// removable media, by looking at sysfs below a root folder (normally /sys;
// tests hand in a tree of their own).
class RemovableClassifier
{
public:
    explicit RemovableClassifier(const QString &sysRoot = QStringLiteral("/sys"));

    QString sysRoot() const { return mSysRoot; }

    // Kernel-internal file systems (proc, tmpfs, cgroup2, overlay, ...).
    static bool isPseudoFileSystem(const QString &fsType);
    // Shares reached over a network or a host channel (nfs, cifs, sshfs, 9p, ...).
    static bool isNetworkFileSystem(const QString &fsType);
    // "/", "/boot", "/usr", "/home", ...: never a removable volume.
    static bool isSystemMountPoint(const QString &mountPoint);

    // A real file system mounted at its own root (bind mounts of a sub-folder
    // are not volumes).
    bool isVolume(const MountInfoParser::Entry &entry) const;
    // A volume on removable media and not a system mount point.
    bool isRemovable(const MountInfoParser::Entry &entry) const;

    // `device` is "major:minor", "/dev/sdb1" or a bare name "sdb1".
    bool isRemovableDevice(const QString &device) const;

private:
    // The device's folder below /sys/devices, symbolic links resolved; empty
    // when sysfs does not know the device.
    QString deviceFolder(const QString &device) const;
    QString readAttribute(const QString &path) const;

    QString mSysRoot;
};
