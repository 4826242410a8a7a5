#include "UDiskMonitor.h"

#include "CardLog.h"
#include "Platform.h"
#include "VolumeInfo.h"
#include "Volumes.h"

UDiskMonitor::UDiskMonitor(QWidget *parent)
    : QWidget(parent)
{
    if (Platform *platform = Platform::instance()) {
        if (Volumes *volumes = platform->volumes()) {
            connect(volumes, &Volumes::volumeArrived, this, &UDiskMonitor::onArrived);
            connect(volumes, &Volumes::volumeRemoved, this, &UDiskMonitor::onRemoved);
            volumes->start();
        }
    }
}

bool UDiskMonitor::nativeEventFilter(const QByteArray &eventType, void *message, long *result)
{
    return QWidget::nativeEvent(eventType, message, result);
}

bool UDiskMonitor::IsNetworkFileSystem(const QString &fsType)
{
    static const char *const kNetwork[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs",
                                           "9p", "ceph", "glusterfs", "davfs", "fuse.sshfs",
                                           "fuse.davfs", "fuse.rclone", "fuse.glusterfs"};
    const QString type = fsType.toLower();
    for (const char *n : kNetwork) {
        if (type == QLatin1String(n))
            return true;
    }
    return false;
}

void UDiskMonitor::onArrived(const VolumeInfo &volume)
{
    if (IsNetworkFileSystem(volume.fsType) || !volume.removable)
        return;
    qCDebug(lcCard).noquote() << "DeviceAdded: " << volume.root;
    emit DeviceAdded(volume.root);
}

void UDiskMonitor::onRemoved(const VolumeInfo &volume)
{
    if (IsNetworkFileSystem(volume.fsType))
        return;
    qCDebug(lcCard).noquote() << "DeviceRemoved: " << volume.root;
    emit DeviceRemoved(volume.root);
}
