#pragma once

#include "Card.h"
#include "DirWalker.h"
#include "VehicleData.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <cstdint>
#include <vector>

// The vehicle catalogue of one card, and the deletion of vehicle
// directories. Every path it is given lies below its card; nothing beyond
// the card root is ever reached. Stop and pause requests arrive on the
// controlling thread while a worker scans or deletes.
class Vehicles : public QObject
{
    Q_OBJECT
public:
    // Without a card only the last component of a path is guarded, and
    // linked vehicles cannot be resolved.
    explicit Vehicles(QObject *parent = nullptr);
    explicit Vehicles(const Card &card, QObject *parent = nullptr);
    ~Vehicles() override;

    Card card() const { return mCard; }

    // Scans the tree below `path` (normally the card's "Vehicles/") and
    // appends every vehicle found to mDatas.
    bool ScanVehicles(const QString &path, bool withSize);

    // Stoppable size calculation: 0 as soon as a stop is seen.
    quint64 CalcSize(const QString &path, int &count);

    // Deletes `path` file by file with progress by bytes; true when all was
    // deleted.
    bool DeleteDirectory(const QString &path);
    // The same for a vehicle the scan measured: its size comes from the
    // record instead of a second stat of every file, and the progress counts
    // files, each worth the average file. A record scanned without sizes is
    // deleted as above.
    bool DeleteDirectory(const VehicleData &scanned);

    // Requests from the controlling thread. A pause holds the worker before
    // its next file until resume(); a stop ends the work at the next step
    // and also ends a pause, so the worker can see it. Both are idempotent.
    void pause();
    void resume();
    void stop();
    bool isPaused() const { return mSuspend; }
    bool isStopped() const { return mStop; }

    std::atomic<bool> mStop{false};
    std::atomic<bool> mSuspend{false};
    QString mCurrentPath;
    QList<VehicleData> mDatas;

public slots:
    // Code 1 stops, any other code pauses.
    void OnStop(int code);
    // Ends a pause.
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
        bool byFiles = false; // sizes not read: count files
    };

    // `scannedBytes` 0: the sizes are read from the card.
    bool deleteTree(const QString &path, quint64 scannedBytes);
    bool scan(int fd, const QString &dir, bool withSize, int depth);
    bool DeleteRecursive(int fd, std::vector<DirWalker::Entry> &entries, const QString &dirPath, Progress &progress,
                         bool sort);
    void waitWhilePaused();
    void removeEmptyParents(const QString &dirPath);
    // Order of a vehicle folder's top-level entries in a deletion: 0 for
    // anything, 1 for its text resources, 2 for version.txt, Names.txt and
    // the program files.
    static int deletionRank(const DirWalker::Entry &e);

    // A paused worker waits on mResumed; mMutex guards the pause flag.
    QMutex mMutex;
    QWaitCondition mResumed;
    Card mCard;
    QString mLanguageCode;
};
