#pragma once

#include <QMetaType>
#include <QString>

// One mounted file system as the volume layer sees it.
struct VolumeInfo
{
    QString root;      // mount point with a trailing slash, e.g. "/media/alice/SCANNER/"
    QString device;    // block device ("/dev/sdb1") or the simulated folder
    QString fsType;    // "vfat", "exfat", ...
    QString label;     // volume label, may be empty
    bool removable = false;

    bool operator==(const VolumeInfo &o) const
    {
        return root == o.root && device == o.device && fsType == o.fsType
            && label == o.label && removable == o.removable;
    }
    bool operator!=(const VolumeInfo &o) const { return !(*this == o); }
};

Q_DECLARE_METATYPE(VolumeInfo)
