#pragma once

#include "DirWalker.h"
#include "VehicleData.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

// The vehicle catalogue of one card, and the deletion of vehicle
// directories. Stop and pause requests arrive on the controlling thread
// while a worker scans or deletes.
class Vehicles : public QObject
{
    Q_OBJECT
public:
    explicit Vehicles(QObject *parent = nullptr);
    ~Vehicles() override;

    // Scans the tree below `path` (normally card root + "Vehicles/") and
    // appends every vehicle found to mDatas. The card root is the folder
    // holding "Vehicles/" unless given.
    bool ScanVehicles(const QString &path, bool withSize, const QString &cardRoot = QString());

    // Stoppable size calculation: 0 as soon as a stop is seen.
    quint64 CalcSize(const QString &path, int &count);

    // Deletes `path` file by file with progress; true when all was deleted.
    bool DeleteDirectory(const QString &path);

    std::atomic<bool> mStop{false};
    std::atomic<bool> mSuspend{false};
    QMutex mMutex;
    QString mCurrentPath;
    QList<VehicleData> mDatas;

public slots:
    void OnStop(int code);
    void OnSuspend();

signals:
    void SignalSizeChanged(uint64_t size, float percentage);
    void SignalNumChanged(uint64_t count, float percentage);

private:
    struct Progress
    {
        quint64 totalBytes = 0;
        quint64 deletedBytes = 0;
        quint64 totalFiles = 0;
        quint64 deletedFiles = 0;
    };

    bool scan(int fd, const QString &dir, bool withSize, int depth);
    bool DeleteRecursive(int fd, std::vector<DirWalker::Entry> &entries, const QString &dirPath, Progress &progress,
                         bool sort);
    void waitWhilePaused();
    void removeEmptyParents(const QString &dirPath, const QString &cardRoot);
    // The card root `path` lies below: the scanned card's, else from the path.
    QString rootFor(const QString &path) const;
    // Order of a vehicle folder's top-level entries in a deletion: 0 for
    // anything, 1 for its text resources, 2 for version.txt, Names.txt and
    // the program files.
    static int deletionRank(const DirWalker::Entry &e);

    QString mCardRoot;
    QString mLanguageCode;
};
