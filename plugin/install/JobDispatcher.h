#pragma once

#include "InstallRunnable.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

// The install pool of an upgrade: at most three installs at once, the rest
// waiting in priority order. Jobs are deleted on the dispatcher's thread
// only (a queued job that is dropped at once, a finished one through its
// event loop), so whoever started a job may cancel it at any moment.
class JobDispatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxInstalls = 3;

    explicit JobDispatcher(QObject *parent = nullptr);
    ~JobDispatcher() override;

    QThreadPool *pool() { return &mPool; }

    // Queues `job`; higher priorities run first.
    void run(InstallRunnable *job, int priority);
    // Queued jobs are dropped; running ones are cancelled and leave the
    // card as it was.
    void stopInstalls();
    // The jobs queued or running (and those just ended, until deleted).
    QList<QPointer<InstallRunnable>> jobs() const { return mJobs; }

private:
    QThreadPool mPool;
    QList<QPointer<InstallRunnable>> mJobs;
};
