#pragma once

#include "DownloadRunnable.h"
#include "InstallRunnable.h"
#include "VehicleData.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QThreadPool>
#include <Sornet/SoftwareData.h>

// The jobs of the download page: the URL queries, the install pool (at most
// three installs at once, the patch of a chain ahead of the others), the
// chain records of a package and its patch, the dispatch of a finished
// download, and stopping everything when the page is left or the card is
// pulled. Results reach the page through its slots onFinished(long, int,
// int, QString), onInstallStarted(long), onInstallFinished(long, bool,
// QString) and onInstallProgress(long, qint64, qint64).
//
// Jobs are deleted on the page's thread only (a queued job that is dropped
// at once, a finished one through its event loop), so the page may cancel a
// job it still holds at any moment.
class JobDispatcher : public QObject
{
    Q_OBJECT

public:
    enum class Dispatch {
        SelfUpdate,        // this program's own installer, handed to the desktop
        SelfUpdateRefused, // ... which could not open it
        NoCard,            // no card to install onto: the row fails
        Started            // an install job is in the pool
    };

    explicit JobDispatcher(QObject *page);
    ~JobDispatcher() override;

    QThreadPool *pool() { return &mPool; }

    // Starts the URL query for the row `param.getId()`.
    DownloadRunnable *startUrlQuery(const GetDownloadURLParam &param);
    DownloadRunnable *urlQuery(long id) const { return mQueries.value(id); }
    void forgetUrlQuery(long id) { mQueries.remove(id); }

    // A package and its patch: downloaded, then installed, one after the other.
    void addChain(long baseId, long patchId) { mChains.insert(baseId, qMakePair(baseId, patchId)); }
    void clearChains() { mChains.clear(); }
    // The chain `id` belongs to, as its base or its patch.
    bool chainOf(long id, long *baseId, long *patchId) const;

    // A download of row `id` finished with the file `filePath`. `card` is
    // the page's own card (null once it was pulled): an install never
    // goes to whatever other card happens to be in. `rows` are the page's
    // software records, `catalogue` the card's from the last scan;
    // `expectation` what the archive must hold (none: not checked).
    Dispatch dispatch(long id, const QString &filePath, const Card &card, const QList<SoftwareData> &rows,
                      const QList<VehicleData> &catalogue,
                      const ArchiveExpectation &expectation = ArchiveExpectation());
    InstallRunnable *installJob(long id) const { return mInstalls.value(id); }
    void forgetInstall(long id) { mInstalls.remove(id); }

    // Downloads are stopped silently (each download class with a stop()),
    // URL queries abandoned, queued installs dropped and running ones
    // cancelled; all are forgotten.
    template<class Download> void stopEverything(QMap<long, QPointer<Download>> &downloads)
    {
        for (const QPointer<Download> &download : qAsConst(downloads)) {
            if (download) {
                QObject::disconnect(download, nullptr, nullptr, nullptr);
                download->stop();
            }
        }
        downloads.clear();
        stopQueriesAndInstalls();
    }
    void stopQueriesAndInstalls();

private:
    QObject *mPage;
    QThreadPool mPool;
    QMap<long, QPointer<DownloadRunnable>> mQueries;
    QMap<long, QPointer<InstallRunnable>> mInstalls;
    QList<QPointer<InstallRunnable>> mAllInstalls;
    QMap<long, QPair<long, long>> mChains;
};
