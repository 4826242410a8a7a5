#pragma once

#include "VolumeInfo.h"

#include <QList>
#include <QObject>

// Mounted volumes, their space, and notice of arrivals and removals.
// The Linux implementation reads /proc/self/mountinfo; tests inject a fake
// through Platform.
class Volumes : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Volumes() override;

    // Every real volume (pseudo and system file systems excluded), removable
    // or not, in mount order. Never contains "/" as a removable volume.
    virtual QList<VolumeInfo> mounted() const = 0;

    // Free and total bytes of the volume holding `root`; false when it
    // cannot be measured (both outputs are then 0).
    virtual bool space(const QString &root, qint64 *freeBytes, qint64 *totalBytes) const = 0;

    // Begins watching; arrivals and removals are reported from then on,
    // on the thread that owns this object. Every monitor in the process
    // calls it; only the first call starts anything.
    void start();
    bool isStarted() const { return mStarted; }

signals:
    void volumeArrived(const VolumeInfo &volume);
    void volumeRemoved(const VolumeInfo &volume);

protected:
    virtual void startWatching() = 0;

private:
    bool mStarted = false;
};
