#include "JobDispatcher.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr int InstallNice = 5;

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
        // Installs mostly wait for the card; the window and the transfers
        // must never wait for them to get a core.
        ::setpriority(PRIO_PROCESS, pid_t(::syscall(SYS_gettid)), InstallNice);
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
