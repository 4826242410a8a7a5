#pragma once

#include "Volumes.h"

#include <QHash>

// Volumes under the test's control: add, remove and size them by hand.
class FakeVolumes : public Volumes
{
    Q_OBJECT
public:
    using Volumes::Volumes;

    QList<VolumeInfo> mounted() const override { return mVolumes; }
    bool space(const QString &root, qint64 *freeBytes, qint64 *totalBytes) const override;

    // Adds (and announces, once started) a volume.
    void add(const VolumeInfo &volume);
    void add(const QString &root, bool removable = true, qint64 freeBytes = 512, qint64 totalBytes = 1536);
    // Removes (and announces) the volume at `root`.
    void remove(const QString &root);
    void setSpace(const QString &root, qint64 freeBytes, qint64 totalBytes);
    // A volume whose space query fails.
    void setSpaceFails(const QString &root);

protected:
    void startWatching() override { }

private:
    struct Space
    {
        qint64 free = 0;
        qint64 total = 0;
        bool ok = true;
    };
    QList<VolumeInfo> mVolumes;
    QHash<QString, Space> mSpace;
};
