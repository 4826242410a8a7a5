// The jobs behind an upgrade: the install pool of three, stopping it, and
// the URL query against the stand-in service.
#include "DownloadRunnable.h"
#include "FakePlatform.h"
#include "InstallTestSupport.h"
#include "JobDispatcher.h"
#include "StandInService.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

using namespace InstallTest;

// Records what the install jobs report, as their owner hears it.
class Recorder : public QObject
{
    Q_OBJECT
public:
    QList<bool> results;
    int running = 0;
    int mostRunning = 0;

    void watch(InstallRunnable *job)
    {
        connect(job, &InstallRunnable::installStarted, this, [this] { mostRunning = qMax(mostRunning, ++running); });
        connect(job, &InstallRunnable::installFinished, this, [this](long, bool result) {
            results.append(result);
            --running;
        });
    }
};

class TestInstallJobs : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    FakePlatform mPlatform;
    StandInService mService;
    QString mCard;

    QString archive(const QString &name, const QByteArray &bytes)
    {
        const QString path = mEnv.root() + QLatin1Char('/') + name;
        TestEnv::writeFile(path, bytes);
        return path;
    }

    static GetDownloadURLParam queryFor(long id)
    {
        GetDownloadURLParam p;
        p.setToken(QStringLiteral("token-alice"));
        p.setUser_id(1001);
        p.setId(id);
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        return p;
    }

    // Jobs held where the test wants them: the pool busy while they are
    // dispatched, then each waiting in its start signal until `go`.
    struct Gate
    {
        QSemaphore busy;
        QSemaphore inside;
        QSemaphore go;
        QMutex mutex;
        QList<long> order;
    };

    // Four installs queued at once, the fourth with a patch's priority.
    void runFour(JobDispatcher &jobs, Recorder &recorder, Gate &gate, const QString &name)
    {
        for (int i = 0; i < 3; ++i)
            jobs.pool()->start([&gate] { gate.busy.acquire(); });
        for (int id = 1; id <= 4; ++id) {
            const QString path = archive(name + QString::number(id),
                                         archiveOf({file(name.toUtf8() + '/' + QByteArray::number(id))}));
            auto *job = new InstallRunnable(id, path);
            job->setCard(Card(mCard));
            recorder.watch(job);
            connect(job, &InstallRunnable::installStarted, job, [&gate](long started) {
                QMutexLocker lock(&gate.mutex);
                gate.order.append(started);
                lock.unlock();
                gate.inside.release();
                gate.go.acquire();
            }, Qt::DirectConnection);
            jobs.run(job, id == 4 ? 4 : 0);
        }
        gate.busy.release(3);
        QTRY_COMPARE(gate.inside.available(), 3);
        QTest::qWait(50);
        QCOMPARE(gate.inside.available(), 3); // the fourth waits
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mService.start());
        mService.exportEnvironment();
        mCard = mEnv.makeDir(QStringLiteral("card")) + QLatin1Char('/');
        QVERIFY(TestEnv::writeFile(mCard + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM"));
        mPlatform.fakeVolumes().add(mCard);
    }

    void init() { QVERIFY(mService.reset()); }

    // Four installs at once: three run, the fourth starts when one has
    // ended; a patch goes first.
    void poolRunsThree()
    {
        Recorder recorder;
        JobDispatcher jobs;
        Gate gate;
        runFour(jobs, recorder, gate, QStringLiteral("POOL"));
        QList<long> first = gate.order;
        std::sort(first.begin(), first.end());
        QCOMPARE(first, QList<long>({1, 2, 4}));
        gate.go.release(4);
        QTRY_COMPARE(recorder.results, QList<bool>({true, true, true, true}));
        QCOMPARE(gate.order.last(), 3L);
        QCOMPARE(recorder.mostRunning, 3);
        QDir(mCard + QStringLiteral("POOL")).removeRecursively();
    }

    // The queued install dropped, the running ones cancelled and unheard:
    // the card as before.
    void stopInstalls()
    {
        Recorder recorder;
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCard);
        {
            JobDispatcher jobs;
            Gate gate;
            runFour(jobs, recorder, gate, QStringLiteral("STOP"));
            QPointer<InstallRunnable> queued;
            for (const QPointer<InstallRunnable> &job : jobs.jobs()) {
                if (job && job->id() == 3)
                    queued = job;
            }
            QVERIFY(queued);
            jobs.stopInstalls();
            gate.go.release(4);
            QVERIFY(queued.isNull());
            jobs.pool()->waitForDone();
        }
        QCoreApplication::processEvents();
        QVERIFY(recorder.results.isEmpty()); // disconnected
        QCOMPARE(TestEnv::snapshot(mCard), before);
    }

    // Two packages that each fit the card but not together, installed at
    // once: the second waits for the first and then fits, where both used
    // to start and run out of space. One that does not fit even alone fails
    // at once for want of space.
    void parallelInstallsShareTheSpace()
    {
        const QString card = mEnv.makeDir(QStringLiteral("small")) + QLatin1Char('/');
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=16400k"), QStringLiteral("tmpfs"), card})
            != 0)
            QSKIP("no small file system can be mounted here");
        const auto unmount = qScopeGuard([card] { QProcess::execute(QStringLiteral("umount"), {card}); });
        const QByteArray old(4 << 20, 'o');
        QVERIFY(TestEnv::writeFile(card + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM"));
        QList<InstallRunnable *> jobs;
        QSemaphore started; // at the big file
        QMutex mutex;
        QList<InstallRunnable::Failure> failures;
        auto job = [&](const QByteArray &name, int megabytes) {
            const QString folder = card + QStringLiteral("Vehicles/EU/") + QString::fromLatin1(name) + QLatin1Char('/');
            TestEnv::writeFile(folder + QStringLiteral("A.bin"), old);
            TestEnv::writeFile(folder + QStringLiteral("version.txt"), "V1");
            const QByteArray dir = "Vehicles/EU/" + name + '/';
            auto *install = new InstallRunnable(
                jobs.size(), archive(QString::fromLatin1(name) + QStringLiteral(".zip"),
                                     archiveOf({file(dir + "version.txt", "V2"),
                                                file(dir + "A.bin", QByteArray(megabytes << 20, 'n'))})));
            install->setAutoDelete(false);
            install->setCard(Card(card));
            install->setOldVersionFolder(folder);
            install->setDeleteOldFirst(true);
            // Past the space check, the big file still to write: wait (a
            // while) for the other to get here too.
            connect(
                install, &InstallRunnable::installProgress, install,
                [&](long, qint64 done, qint64) {
                    if (done != 1)
                        return;
                    started.release();
                    started.tryAcquire(2, 1000);
                    started.release(2);
                },
                Qt::DirectConnection);
            connect(
                install, &InstallRunnable::installFinished, install,
                [&, install](long, bool, QString) {
                    QMutexLocker lock(&mutex);
                    failures.append(install->failure());
                },
                Qt::DirectConnection);
            jobs.append(install);
        };
        job("A", 5);
        job("B", 5);
        QThreadPool pool;
        for (InstallRunnable *install : qAsConst(jobs))
            pool.start(install);
        QVERIFY(pool.waitForDone(30000));
        QCOMPARE(failures,
                 QList<InstallRunnable::Failure>({InstallRunnable::Failure::None, InstallRunnable::Failure::None}));
        for (const char *name : {"A", "B"})
            QCOMPARE(TestEnv::readFile(card + QStringLiteral("Vehicles/EU/%1/version.txt").arg(QLatin1String(name))),
                     QByteArray("V2"));

        failures.clear();
        job("C", 9);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(card);
        jobs.last()->run();
        QCOMPARE(failures, QList<InstallRunnable::Failure>({InstallRunnable::Failure::Space}));
        QCOMPARE(TestEnv::snapshot(card), before);
        QVERIFY2(jobs.last()->errorString().contains(QLatin1String("space")), qPrintable(jobs.last()->errorString()));
        qDeleteAll(jobs);
    }

    void urlQuery_data()
    {
        QTest::addColumn<long>("id");
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QVariantList>("expected"); // empty: no report
        const QJsonObject none;
        const QString path = QStringLiteral("/KvaApi/soft/download");
        QTest::newRow("address") << 10L << none << false << QVariantList{10, 200, 1, QStringLiteral("benz_V12.30.zip")};
        QTest::newRow("service refuses") << 999L << none << false << QVariantList{999, 200, -1421, QString()};
        QTest::newRow("transport failure") << 10L << QJsonObject{{QStringLiteral("path"), path}, {QStringLiteral("status"), 500}}
                                           << false << QVariantList{10, 500, -1, QString()};
        QTest::newRow("cancelled") << 10L << none << true << QVariantList{};
    }

    void urlQuery()
    {
        QFETCH(long, id);
        QFETCH(QJsonObject, fault);
        QFETCH(bool, cancel);
        QFETCH(QVariantList, expected);
        if (!fault.isEmpty())
            QVERIFY(mService.setFault(fault));
        QPointer<DownloadRunnable> query = new DownloadRunnable;
        query->setParam(queryFor(id));
        QSignalSpy finished(query.data(), &DownloadRunnable::finished);
        if (cancel)
            query->cancel();
        query->start();
        QTRY_VERIFY(query.isNull()); // deletes itself once its thread has ended
        if (expected.isEmpty()) {
            QCOMPARE(finished.size(), 0);
            QVERIFY(mService.requestsTo(QStringLiteral("/KvaApi/soft/download")).isEmpty());
            return;
        }
        QCOMPARE(finished.size(), 1);
        QVariantList got = finished.first();
        if (!got.at(3).toString().isEmpty())
            got[3] = QUrl(got.at(3).toString()).fileName();
        QCOMPARE(got.at(0).value<long>(), id);
        QCOMPARE(got.mid(1), expected.mid(1));
    }
};

QTEST_GUILESS_MAIN(TestInstallJobs)
#include "tst_installjobs.moc"
