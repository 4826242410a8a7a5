#include "JobDispatcher.h"

namespace {
// Runs an install job in the pool. The job itself is deleted on its own
// thread: at once when it is dropped from the queue, else after its last
// signal, through the event loop.
class PoolTask : public QRunnable
{
public:
    explicit PoolTask(InstallRunnable *job)
        : mJob(job)
    {
    }
    ~PoolTask() override
    {
        if (!mRan)
            delete mJob;
    }
    void run() override
    {
        mRan = true;
        mJob->run();
        mJob->deleteLater();
    }

private:
    InstallRunnable *mJob;
    bool mRan = false;
};
} // namespace

JobDispatcher::JobDispatcher(QObject *parent)
    : QObject(parent)
{
    mPool.setMaxThreadCount(MaxInstalls);
}

JobDispatcher::~JobDispatcher()
{
    stopInstalls();
    mPool.waitForDone();
    // Their deletion was still waiting for the event loop.
    for (const QPointer<InstallRunnable> &job : qAsConst(mJobs))
        delete job.data();
}

void JobDispatcher::run(InstallRunnable *job, int priority)
{
    job->setAutoDelete(false);
    mJobs.removeAll(nullptr);
    mJobs.append(job);
    mPool.start(new PoolTask(job), priority);
}

void JobDispatcher::stopInstalls()
{
    // Jobs not started yet are dropped (and deleted); running ones notice
    // the flag between chunks and leave the card as it was.
    mPool.clear();
    for (const QPointer<InstallRunnable> &job : qAsConst(mJobs)) {
        if (job) {
            QObject::disconnect(job, nullptr, nullptr, nullptr);
            job->cancel();
        }
    }
    mJobs.removeAll(nullptr);
}
