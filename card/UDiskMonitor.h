#pragma once

#include <QAbstractNativeEventFilter>
#include <QString>
#include <QWidget>

struct VolumeInfo;

// Turns volume arrivals and removals into two signals carrying the root.
class UDiskMonitor : public QWidget, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit UDiskMonitor(QWidget *parent = nullptr);

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // Network file systems are never cards and are never reported.
    static bool IsNetworkFileSystem(const QString &fsType);

signals:
    void DeviceAdded(QString root);
    void DeviceRemoved(QString root);

private:
    void onArrived(const VolumeInfo &volume);
    void onRemoved(const VolumeInfo &volume);
};
