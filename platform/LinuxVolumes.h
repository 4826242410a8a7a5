#pragma once

#include "RemovableClassifier.h"
#include "Volumes.h"

#include <QStringList>

class QFileSystemWatcher;
class QSocketNotifier;
class QTimer;

// Volumes from /proc/self/mountinfo, classified through sysfs, plus the
// simulated removable volumes of OSTREL_REMOVABLE_ROOTS: every directory
// directly inside one of those ':'-separated folders counts as a card.
class LinuxVolumes : public Volumes
{
    Q_OBJECT
public:
    explicit LinuxVolumes(QObject *parent = nullptr);
    // Another mount table and sysfs tree, for tests.
    LinuxVolumes(const QString &mountInfoPath, const QString &sysRoot, QObject *parent = nullptr);
    ~LinuxVolumes() override;

    QList<VolumeInfo> mounted() const override;
    bool space(const QString &root, qint64 *freeBytes, qint64 *totalBytes) const override;

    // Stops watching (the platform object outlives the application object).
    void stop();

    // The fallback re-scan period; the mount table normally announces changes.
    void setRescanInterval(int ms);
    QStringList simulatedFolders() const { return mSimulatedFolders; }

public slots:
    // Compares the volumes with the last scan and reports the difference.
    void rescan();

protected:
    void startWatching() override;

private:
    QList<VolumeInfo> mountedFromTable() const;
    QList<VolumeInfo> simulated() const;
    void watchSimulatedFolders();

    QString mMountInfoPath;
    RemovableClassifier mClassifier;
    QStringList mSimulatedFolders;
    QList<VolumeInfo> mKnown;
    int mRescanMs = 2000;
    int mMountInfoFd = -1;
    QSocketNotifier *mNotifier = nullptr;
    QTimer *mTimer = nullptr;
    QFileSystemWatcher *mWatcher = nullptr;
};
