#include "JobDispatcher.h"

#include "InstallLog.h"
#include "Platform.h"

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

JobDispatcher::JobDispatcher(QObject *page)
    : QObject(page)
    , mPage(page)
{
    mPool.setMaxThreadCount(3);
}

JobDispatcher::~JobDispatcher()
{
    stopQueriesAndInstalls();
    mPool.waitForDone();
    // Their deletion was still waiting for the event loop.
    for (const QPointer<InstallRunnable> &job : qAsConst(mAllInstalls))
        delete job.data();
}

DownloadRunnable *JobDispatcher::startUrlQuery(const GetDownloadURLParam &param)
{
    auto *query = new DownloadRunnable;
    query->setParam(param);
    connect(query, SIGNAL(finished(long, int, int, QString)), mPage, SLOT(onFinished(long, int, int, QString)));
    mQueries.insert(param.getId(), query);
    query->start();
    return query;
}

bool JobDispatcher::chainOf(long id, long *baseId, long *patchId) const
{
    for (auto it = mChains.cbegin(); it != mChains.cend(); ++it) {
        if (it->first == id || it->second == id) {
            *baseId = it->first;
            *patchId = it->second;
            return true;
        }
    }
    return false;
}

JobDispatcher::Dispatch JobDispatcher::dispatch(long id, const QString &filePath, const Card &card,
                                                const QList<SoftwareData> &rows, const QList<VehicleData> &catalogue,
                                                const ArchiveExpectation &expectation)
{
    const SoftwareData *row = nullptr;
    for (const SoftwareData &r : rows) {
        if (r.getId() == id) {
            row = &r;
            break;
        }
    }
    if (row && row->getSoft_id().compare(QLatin1String("Ostrel"), Qt::CaseInsensitive) == 0) {
        // The program's own installer: the desktop opens it with the
        // application it has for it (never started as a program from here).
        const bool opened = Platform::instance()->openWithDefaultApplication(filePath);
        qCDebug(lcInstall).noquote() << "self update:" << filePath << opened;
        return opened ? Dispatch::SelfUpdate : Dispatch::SelfUpdateRefused;
    }
    if (card.isNull())
        return Dispatch::NoCard;

    auto *job = new InstallRunnable(id, filePath);
    job->setCard(card);
    job->setExpectation(expectation);
    long baseId = 0;
    long patchId = 0;
    const bool chained = chainOf(id, &baseId, &patchId);
    job->setDeleteArchive(!chained || id == patchId);
    if ((!chained || id == baseId) && row) {
        for (const VehicleData &record : catalogue) {
            if (record.mDirName.compare(row->getSoft_id(), Qt::CaseInsensitive) != 0)
                continue;
            if (!record.mDirPath.isEmpty() && record.mVersion != row->getVersion()) {
                job->setOldVersionFolder(record.mDirPath);
                job->setDeleteOldFirst(true);
            }
            break;
        }
    }
    connect(job, SIGNAL(installStarted(long)), mPage, SLOT(onInstallStarted(long)));
    connect(job, SIGNAL(installFinished(long, bool, QString)), mPage, SLOT(onInstallFinished(long, bool, QString)));
    connect(job, SIGNAL(installProgress(long, qint64, qint64)), mPage, SLOT(onInstallProgress(long, qint64, qint64)));
    job->setAutoDelete(false);
    mInstalls.insert(id, job);
    mAllInstalls.append(job);
    mAllInstalls.removeAll(nullptr);
    mPool.start(new PoolTask(job), chained && id == patchId ? 4 : 0);
    return Dispatch::Started;
}

void JobDispatcher::stopQueriesAndInstalls()
{
    for (const QPointer<DownloadRunnable> &query : qAsConst(mQueries)) {
        if (query)
            query->abandon();
    }
    mQueries.clear();
    // Jobs not started yet are dropped (and deleted); running ones notice
    // the flag between chunks and leave the card as it was.
    mPool.clear();
    mPool.waitForDone(0);
    for (const QPointer<InstallRunnable> &job : qAsConst(mInstalls)) {
        if (job) {
            QObject::disconnect(job, nullptr, nullptr, nullptr);
            job->cancel();
        }
    }
    mInstalls.clear();
}
