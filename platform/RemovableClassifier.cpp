#include "RemovableClassifier.h"

#include "PlatformLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const char *const kPseudo[] = {
    "proc", "sysfs", "tmpfs", "devtmpfs", "cgroup", "cgroup2", "overlay", "squashfs", "autofs",
    "debugfs", "tracefs", "securityfs", "pstore", "bpf", "fusectl", "configfs", "mqueue",
    "hugetlbfs", "devpts", "binfmt_misc", "nsfs", "ramfs", "efivarfs", "rootfs", "rpc_pipefs",
    "selinuxfs", "nfsd", "aufs", "sockfs", "pipefs", "anon_inodefs", "functionfs", "fuse",
    "zonefs", "erofs", "cramfs", "none",
};

const char *const kNetwork[] = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "9p", "afs", "ceph", "glusterfs", "davfs",
    "ncpfs", "coda", "lustre", "virtiofs", "vboxsf", "vmhgfs", "ocfs2", "gfs2",
};

const char *const kSystemPoints[] = {
    "/", "/boot", "/boot/efi", "/efi", "/usr", "/usr/local", "/var", "/var/log", "/var/tmp",
    "/home", "/tmp", "/opt", "/srv", "/root", "/snap", "/swap", "/nix", "/etc",
};

bool inList(const QString &value, const char *const *begin, const char *const *end)
{
    for (auto it = begin; it != end; ++it) {
        if (value == QLatin1String(*it))
            return true;
    }
    return false;
}

QString withoutTrailingSlash(const QString &path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}
} // namespace

RemovableClassifier::RemovableClassifier(const QString &sysRoot)
    : mSysRoot(withoutTrailingSlash(sysRoot))
{
}

bool RemovableClassifier::isPseudoFileSystem(const QString &fsType)
{
    if (inList(fsType, std::begin(kPseudo), std::end(kPseudo)))
        return true;
    // User-space file systems without a block device (gvfs, portals, lxcfs);
    // "fuseblk" (ntfs-3g, exfat-fuse on a stick) is a real one.
    return fsType.startsWith(QLatin1String("fuse.")) && !isNetworkFileSystem(fsType);
}

bool RemovableClassifier::isNetworkFileSystem(const QString &fsType)
{
    QString type = fsType;
    if (type.startsWith(QLatin1String("fuse.")))
        type = type.mid(5);
    return inList(type, std::begin(kNetwork), std::end(kNetwork));
}

bool RemovableClassifier::isSystemMountPoint(const QString &mountPoint)
{
    const QString p = withoutTrailingSlash(mountPoint);
    if (inList(p, std::begin(kSystemPoints), std::end(kSystemPoints)))
        return true;
    static const char *const kSystemTrees[] = {"/boot/", "/proc/", "/sys/", "/dev/", "/usr/", "/snap/"};
    for (const char *tree : kSystemTrees) {
        if (p.startsWith(QLatin1String(tree)))
            return true;
    }
    return p == QLatin1String("/proc") || p == QLatin1String("/sys") || p == QLatin1String("/dev");
}

bool RemovableClassifier::isVolume(const MountInfoParser::Entry &entry) const
{
    return entry.root == QLatin1String("/") && !isPseudoFileSystem(entry.fsType)
        && !isNetworkFileSystem(entry.fsType);
}

bool RemovableClassifier::isRemovable(const MountInfoParser::Entry &entry) const
{
    if (!isVolume(entry) || isSystemMountPoint(entry.mountPoint))
        return false;
    // Major 0 marks anonymous devices (btrfs subvolumes, fuse): no disk behind.
    if (entry.major > 0 && isRemovableDevice(entry.majorMinor()))
        return true;
    return entry.source.startsWith(QLatin1String("/dev/")) && isRemovableDevice(entry.source);
}

bool RemovableClassifier::isRemovableDevice(const QString &device) const
{
    const QString folder = deviceFolder(device);
    if (folder.isEmpty())
        return false;

    // A partition's flags live on its whole disk, the parent folder.
    QString disk = folder;
    if (QFileInfo::exists(folder + QStringLiteral("/partition")))
        disk = QFileInfo(folder).path();

    if (readAttribute(disk + QStringLiteral("/removable")) == QLatin1String("1")
        || readAttribute(folder + QStringLiteral("/removable")) == QLatin1String("1"))
        return true;

    // Card readers often report removable = 0; the bus tells instead.
    const QString relative = disk.mid(QFileInfo(mSysRoot).canonicalFilePath().size());
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    static const QRegularExpression usbBus(QStringLiteral("^usb\\d+$"));
    for (const QString &part : parts) {
        if (usbBus.match(part).hasMatch())
            return true;
    }
    // An SD card in an mmc slot; "MMC" is soldered-in eMMC, not removable.
    return readAttribute(disk + QStringLiteral("/device/type")) == QLatin1String("SD");
}

QString RemovableClassifier::deviceFolder(const QString &device) const
{
    static const QRegularExpression majorMinor(QStringLiteral("^\\d+:\\d+$"));
    QString link;
    if (majorMinor.match(device).hasMatch()) {
        link = mSysRoot + QStringLiteral("/dev/block/") + device;
    } else {
        const QString name = QFileInfo(device).fileName();
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
            return QString();
        link = mSysRoot + QStringLiteral("/class/block/") + name;
    }
    const QString folder = QFileInfo(link).canonicalFilePath();
    // The link must resolve inside this sysfs tree.
    if (folder.isEmpty() || !folder.startsWith(QFileInfo(mSysRoot).canonicalFilePath() + QLatin1Char('/'))) {
        qCDebug(lcPlatform) << "no sysfs entry for" << device;
        return QString();
    }
    return folder;
}

QString RemovableClassifier::readAttribute(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(64)).trimmed();
}
