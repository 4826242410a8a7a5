// The background scan, size calculation and the stop and pause controls.
#include "CardLogCapture.h"
#include "Catalogue.h"
#include "SampleCardGenerator.h"
#include "ScanVehicleThread.h"
#include "StagingRepair.h"
#include "SwapJournal.h"
#include "TestEnv.h"
#include "Vehicles.h"

#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

class TestScan : public QObject
{
    Q_OBJECT

    QString makeCard(const QString &name, int vehicles, bool extras = false)
    {
        SampleCardGenerator::Options options;
        options.vehicles = vehicles;
        options.filesPerVehicle = 6;
        options.extras = extras;
        const QString root = mEnv.makeDir(name) + QLatin1Char('/');
        SampleCardGenerator generator(options);
        if (!generator.generate(root))
            qFatal("cannot write the sample card");
        return root;
    }

    static bool isSorted(const QList<VehicleData> &list)
    {
        for (int i = 1; i < list.size(); ++i) {
            if (VehicleLessThan(list.at(i), list.at(i - 1)))
                return false;
        }
        return true;
    }

    TestEnv mEnv;

private slots:
    void everyVehicleReportedBeforeTheEnd()
    {
        const QString root = makeCard(QStringLiteral("fifty"), 50);
        ScanVehicleThread thread{Card(root)};
        QStringList events;
        QList<int> seen;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleStarted, this,
                [&] { events << QStringLiteral("started"); });
        // The worker waits on every vehicle until the list has been read here.
        connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, this,
                [&] { seen << thread.GetDatas()->mDatas.size(); }, Qt::BlockingQueuedConnection);
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] {
            events << QStringLiteral("finished %1").arg(seen.size());
        });
        thread.start();
        QTRY_COMPARE(events, (QStringList{QStringLiteral("started"), QStringLiteral("finished 50")}));
        QVERIFY(thread.wait(10000));
        QList<int> expected;
        for (int i = 1; i <= 50; ++i)
            expected << i;
        QCOMPARE(seen, expected);
        QCOMPARE(thread.GetDatas()->mDatas.size(), 50);
        QVERIFY(isSorted(thread.GetDatas()->mDatas));
    }

    void stopKeepsASortedPartialList()
    {
        const QString root = makeCard(QStringLiteral("stopped"), 20);
        CardLogCapture log;
        ScanVehicleThread thread{Card(root)};
        int progress = 0;
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, this, [&] {
            if (++progress == 3)
                thread.OnStop(1);
        }, Qt::BlockingQueuedConnection);
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QVERIFY(progress >= 3 && progress < 20);
        QCOMPARE(thread.GetDatas()->mDatas.size(), progress);
        QVERIFY(isSorted(thread.GetDatas()->mDatas));
        QVERIFY(log.count(QStringLiteral("return2")) >= 1);

        // A new run starts with a fresh, unstopped catalogue.
        finished = false;
        progress = -1000;
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QCOMPARE(thread.GetDatas()->mDatas.size(), 20);
    }

    // A stop sent at once after start() must not miss the run the thread
    // has not set up yet (the page stops a fresh scan when it closes); a
    // stop sent while nothing runs must not cut short the next run.
    void stopRightAfterStartEndsThatRun()
    {
        const QString root = makeCard(QStringLiteral("early"), 20);
        ScanVehicleThread thread{Card(root)};
        int progress = 0;
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, this, [&] { ++progress; },
                Qt::BlockingQueuedConnection);
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        for (int run = 0; run < 5; ++run) {
            finished = false;
            progress = 0;
            thread.start();
            thread.OnStop(1);
            QTRY_VERIFY(finished);
            QVERIFY(thread.wait(10000));
            QVERIFY(progress < 20);
            QCOMPARE(thread.GetDatas()->mDatas.size(), progress);
        }

        thread.OnStop(1);
        finished = false;
        progress = 0;
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QCOMPARE(progress, 20);
    }

    // Destroying the thread ends its scan rather than waiting for the
    // whole card to be walked.
    void destroyingTheThreadEndsTheScan()
    {
        const QString root = makeCard(QStringLiteral("destroyed"), 200);
        std::atomic<int> progress{0};
        QSemaphore firstFound;
        QSemaphore goOn;
        std::unique_ptr<QThread> releaser;
        {
            ScanVehicleThread thread{Card(root)};
            connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, &thread, [&] {
                if (++progress == 1) {
                    firstFound.release();
                    goOn.acquire();
                }
            }, Qt::DirectConnection);
            thread.start();
            QVERIFY(firstFound.tryAcquire(1, 10000));
            // The scan goes on once the stop is seen (or after a while).
            Vehicles *catalogue = thread.GetDatas();
            releaser.reset(QThread::create([catalogue, &goOn] {
                for (int i = 0; i < 500 && !catalogue->mStop; ++i)
                    QThread::msleep(10);
                goOn.release();
            }));
            releaser->start();
        }
        releaser->wait();
        QVERIFY(progress < 200);
    }

    // The card pulled out mid-scan: what was found stays, the rest is
    // skipped, and the scan still ends normally.
    void cardGoneMidScan()
    {
        const QString root = makeCard(QStringLiteral("pulled"), 10);
        ScanVehicleThread thread{Card(root)};
        int progress = 0;
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, this, [&] {
            if (++progress == 2)
                QVERIFY(QDir(root).removeRecursively());
        }, Qt::BlockingQueuedConnection);
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QCOMPARE(progress, 2);
        QCOMPARE(thread.GetDatas()->mDatas.size(), 2);
    }

    void newPathTakesEffectAtTheNextRun()
    {
        const QString first = makeCard(QStringLiteral("first"), 4);
        const QString second = makeCard(QStringLiteral("second"), 2, true);
        ScanVehicleThread thread{Card(first)};
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleProgress, this,
                [&] { thread.SetPath(Card(second)); }, Qt::BlockingQueuedConnection);
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QCOMPARE(thread.GetDatas()->mDatas.size(), 4);
        for (const VehicleData &v : qAsConst(thread.GetDatas()->mDatas))
            QVERIFY(v.mDirPath.startsWith(first));

        finished = false;
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QCOMPARE(thread.GetDatas()->mDatas.size(), 4); // 2 vehicles, HOME and Public
        QVERIFY(thread.GetDatas()->mDatas.first().mDirPath.startsWith(second));
    }

    void missingScanRootFinishesEmpty()
    {
        ScanVehicleThread thread{Card(mEnv.root() + QStringLiteral("/no-card"))};
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        QVERIFY(thread.GetDatas()->mDatas.isEmpty());
    }

    void unfinishedSwapIsUndoneBeforeTheListing_data()
    {
        QTest::addColumn<bool>("held");
        QTest::newRow("left by a killed install: undone") << false;
        QTest::newRow("held by a running install: left alone") << true;
    }

    // An install killed after moving the old HOME's version file aside and
    // placing one new file: the scan lists the old version, whole, unless
    // the staging folder is still locked by a running install.
    void unfinishedSwapIsUndoneBeforeTheListing()
    {
        QFETCH(bool, held);
        const QString root =
            mEnv.makeDir(held ? QStringLiteral("swap-held") : QStringLiteral("swap")) + QLatin1Char('/');
        const QString job = root + QLatin1String(StagingRepair::kStagingFolder) + QStringLiteral("/77-1/");
        QVERIFY(TestEnv::writeFile(root + QStringLiteral("Vehicles/HOME/HOME.bin"), "program"));
        QVERIFY(TestEnv::writeFile(job + QStringLiteral("aside/Vehicles/HOME/version.txt"), "V1.00"));
        QVERIFY(TestEnv::writeFile(root + QStringLiteral("Vehicles/HOME/new.txt"), "new"));
        QVERIFY(TestEnv::writeFile(job + QStringLiteral("new/Vehicles/HOME/version.txt"), "V2.00"));
        const QByteArray staged = QByteArray(StagingRepair::kStagingFolder) + "/77-1/";
        SwapJournal journal;
        journal.add(SwapJournal::Kind::Aside, "Vehicles/HOME/version.txt", staged + "aside/Vehicles/HOME/version.txt");
        journal.add(SwapJournal::Kind::Place, staged + "new/Vehicles/HOME/new.txt", "Vehicles/HOME/new.txt");
        journal.add(SwapJournal::Kind::Place, staged + "new/Vehicles/HOME/version.txt", "Vehicles/HOME/version.txt");
        const int jobFd = ::open(QFile::encodeName(job).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(jobFd >= 0 && journal.write(jobFd));
        if (held)
            QVERIFY(StagingRepair::lockShared(jobFd));
        else
            ::close(jobFd);

        ScanVehicleThread thread{Card(root)};
        bool finished = false;
        connect(&thread, &ScanVehicleThread::SignalScanVehicleFinished, this, [&] { finished = true; });
        thread.start();
        QTRY_VERIFY(finished);
        QVERIFY(thread.wait(10000));
        const QList<VehicleData> &listed = thread.GetDatas()->mDatas;
        QCOMPARE(listed.size(), held ? 0 : 1);
        QCOMPARE(QFileInfo::exists(job), held);
        if (held) {
            ::close(jobFd);
            return;
        }
        QCOMPARE(listed.first().mVersion, QStringLiteral("V1.00"));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("Vehicles/HOME/new.txt")));
        QVERIFY(!QFileInfo::exists(root + QLatin1String(StagingRepair::kStagingFolder)));
    }

    void calcSize_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("logLines");
        const QString base = mEnv.makeDir(QStringLiteral("sizes"));
        TestEnv::writeFile(base + QStringLiteral("/file.bin"), QByteArray(1234, 'x'));
        QDir().mkpath(base + QStringLiteral("/empty"));
        TestEnv::writeFile(base + QStringLiteral("/tree/a.txt"), QByteArray(10, 'a'));
        TestEnv::writeFile(base + QStringLiteral("/tree/sub/b.txt"), QByteArray(20, 'b'));
        TestEnv::writeFile(base + QStringLiteral("/tree/sub/deeper/c.txt"), QByteArray());
        TestEnv::writeFile(base + QStringLiteral("/outside/big.dat"), QByteArray(5000, 'o'));
        QVERIFY(::symlink("../../outside", QFile::encodeName(base + QStringLiteral("/tree/sub/link-dir")).constData()) == 0);
        QVERIFY(::symlink("../outside/big.dat", QFile::encodeName(base + QStringLiteral("/tree/link-file")).constData()) == 0);
        QVERIFY(::symlink("tree", QFile::encodeName(base + QStringLiteral("/tree-link")).constData()) == 0);

        QTest::newRow("file") << base + QStringLiteral("/file.bin") << quint64(1234) << 1 << 0;
        QTest::newRow("empty directory") << base + QStringLiteral("/empty/") << quint64(0) << 0 << 0;
        QTest::newRow("missing directory") << base + QStringLiteral("/gone/") << quint64(0) << 0 << 1;
        QTest::newRow("tree with links to outside") << base + QStringLiteral("/tree/") << quint64(30) << 3 << 0;
        QTest::newRow("path that is a link") << base + QStringLiteral("/tree-link") << quint64(0) << 0 << 1;
        QTest::newRow("empty path") << QString() << quint64(0) << -7 << 0;
    }

    void calcSize()
    {
        QFETCH(QString, path);
        QFETCH(int, logLines);
        CardLogCapture log;
        int count = -7;
        QTEST(CalcSize(path, count), "bytes");
        QTEST(count, "count");
        QCOMPARE(log.count(QStringLiteral("CalcSize 方法，文件夹路径不存在，错误路径：")), logLines);

        Vehicles vehicles;
        count = -7;
        QTEST(vehicles.CalcSize(path, count), "bytes");
        QTEST(count, "count");
    }

    void stoppedCalcSizeReturnsNothing()
    {
        const QString root = makeCard(QStringLiteral("stopsize"), 2);
        CardLogCapture log;
        Vehicles vehicles;
        vehicles.OnStop(1);
        int count = -7;
        QCOMPARE(vehicles.CalcSize(root, count), quint64(0));
        QCOMPARE(count, -7);
        QCOMPARE(log.count(QStringLiteral("return3")), 1);
    }

    // Pauses hold a worker before its next file; a stop ends a pause.
    void pauseAndResume_data()
    {
        QTest::addColumn<bool>("stopWhilePaused");
        QTest::newRow("resumed") << false;
        QTest::newRow("stopped") << true;
    }
    void pauseAndResume()
    {
        QFETCH(bool, stopWhilePaused);
        const QString root = mEnv.makeDir(QStringLiteral("paused%1").arg(int(stopWhilePaused))) + QLatin1Char('/');
        const QString vehicle = root + QStringLiteral("Vehicles/EU/CAR/");
        for (int i = 0; i < 3; ++i)
            QVERIFY(TestEnv::writeFile(vehicle + QStringLiteral("f%1.dat").arg(i), "data"));
        Vehicles vehicles{Card(root)};
        vehicles.OnSuspend(); // resuming without a pause changes nothing
        vehicles.OnStop(0);
        vehicles.OnStop(2); // a second pause changes nothing
        QVERIFY(vehicles.isPaused());

        std::atomic<bool> done{false};
        bool ok = false;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            ok = vehicles.DeleteDirectory(vehicle);
            done = true;
        }));
        worker->start();
        QTest::qWait(100);
        QVERIFY(!done);
        QVERIFY(QFileInfo::exists(vehicle + QStringLiteral("f0.dat")));
        if (stopWhilePaused)
            vehicles.OnStop(1);
        else
            vehicles.OnSuspend();
        QVERIFY(worker->wait(10000));
        QVERIFY(!vehicles.isPaused());
        QCOMPARE(vehicles.isStopped(), stopWhilePaused);
        QCOMPARE(ok, !stopWhilePaused);
        QCOMPARE(QFileInfo::exists(vehicle + QStringLiteral("f0.dat")), stopWhilePaused);

        // Destroyed during a pause: nothing is left held.
        auto paused = std::make_unique<Vehicles>();
        paused->OnStop(0);
        paused.reset();
    }
};

QTEST_MAIN(TestScan)
#include "tst_scan.moc"
