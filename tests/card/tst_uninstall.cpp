// Uninstall jobs: deletion with progress, stop, pause and the HOME rule.
#include "Catalogue.h"
#include "TestEnv.h"
#include "UninstallRunnable.h"
#include "Vehicles.h"

#include <QDir>
#include <QFileInfo>
#include <QSemaphore>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <memory>

#include <unistd.h>

namespace {
struct JobEvents
{
    QStringList order;
    QList<uint> progress;
    bool finished = false;
    bool ok = false;
};
} // namespace

class TestUninstall : public QObject
{
    Q_OBJECT

    QString makeCard()
    {
        const QString root = mEnv.makeDir(QStringLiteral("home/u/CARD%1").arg(++mCards)) + QLatin1Char('/');
        TestEnv::writeFile(root + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM");
        mCard = Card(root);
        return root;
    }

    static void writeFiles(const QString &dir, int n, int size)
    {
        for (int i = 0; i < n; ++i)
            TestEnv::writeFile(dir + QStringLiteral("f%1.dat").arg(i, 6, 10, QLatin1Char('0')), QByteArray(size, 'x'));
    }

    // Queues one job on the pool, its signals reaching this thread queued
    // as they reach the page.
    UninstallRunnable *start(const QString &path, JobEvents &events, const VehicleData *scanned = nullptr)
    {
        auto *job = scanned ? new UninstallRunnable(mCard, *scanned) : new UninstallRunnable(mCard, path, path);
        connect(job, &UninstallRunnable::SignalUninstallStarted, this,
                [&events, path](const QString &id) { events.order << QStringLiteral("started") << (id == path ? QString() : id); });
        connect(job, &UninstallRunnable::SignalUninstallProgress, this,
                [&events](const QString &, uint p) { events.progress << p; });
        connect(job, &UninstallRunnable::SignalUninstallFinished, this, [&events](const QString &, bool ok) {
            events.order << QStringLiteral("finished");
            events.finished = true;
            events.ok = ok;
        });
        return job;
    }

    // Runs one job on the pool and waits for its end.
    JobEvents runToEnd(const QString &path, const VehicleData *scanned = nullptr)
    {
        auto events = std::make_shared<JobEvents>();
        UninstallRunnable *job = start(path, *events, scanned);
        // Keeps the record alive for signals still in the queue.
        connect(job, &UninstallRunnable::SignalUninstallFinished, this, [events] {});
        mPool.start(job);
        if (!QTest::qWaitFor([&] { return events->finished; }, 10000))
            qWarning("job did not finish");
        return *events;
    }

    TestEnv mEnv;
    Card mCard;
    QThreadPool mPool;
    int mCards = 0;

private slots:
    void init() { mPool.setMaxThreadCount(1); }

    void deletesWithProgressAndEmptyParents()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/DEMO/");
        writeFiles(vehicle, 4, 25);
        QVERIFY(QFile::remove(root + QStringLiteral("sn.txt"))); // an otherwise empty card
        const JobEvents events = runToEnd(vehicle);
        QVERIFY(events.ok);
        QCOMPARE(events.progress, (QList<uint>{25, 50, 75, 100}));
        QCOMPARE(events.order, (QStringList{QStringLiteral("started"), QString(), QStringLiteral("finished")}));
        // The area and Vehicles/ went with it; the card itself stays.
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("Vehicles")));
        QVERIFY(QFileInfo(root).isDir());
    }

    void siblingsKeepTheirParents()
    {
        const QString root = makeCard();
        writeFiles(root + QStringLiteral("Vehicles/EU/A/sub/"), 2, 3);
        writeFiles(root + QStringLiteral("Vehicles/EU/B/"), 1, 3);
        QVERIFY(runToEnd(root + QStringLiteral("Vehicles/EU/A/")).ok);
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("Vehicles/EU/A")));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("Vehicles/EU/B/f000000.dat")));
    }

    void nothingToDelete_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("files");
        QTest::newRow("zero-length files") << QStringLiteral("Vehicles/EU/ZERO/") << 3;
        QTest::newRow("empty directory") << QStringLiteral("Vehicles/EU/EMPTY/") << 0;
        QTest::newRow("missing directory") << QStringLiteral("Vehicles/EU/GONE/") << -1;
        QTest::newRow("empty path") << QString() << -1;
    }

    void nothingToDelete()
    {
        QFETCH(QString, relative);
        QFETCH(int, files);
        const QString root = makeCard();
        const QString dir = relative.isEmpty() ? QString() : root + relative;
        if (files >= 0) {
            QDir().mkpath(dir);
            writeFiles(dir, files, 0);
        }
        const JobEvents events = runToEnd(dir);
        QVERIFY(events.finished);
        QVERIFY(!events.ok);
        QVERIFY(events.progress.isEmpty());
        if (files >= 0)
            QCOMPARE(QDir(dir).entryList(QDir::Files).size(), files);
    }

    void pathNamingAFile()
    {
        const QString root = makeCard();
        const QString file = root + QStringLiteral("Vehicles/EU/lonely.bin");
        TestEnv::writeFile(file, "x");
        Vehicles vehicles(mCard);
        QVERIFY(vehicles.DeleteDirectory(file));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("Vehicles/EU")));
    }

    void stopInTheMiddle()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/DEMO/");
        writeFiles(vehicle, 4, 25);
        JobEvents events;
        UninstallRunnable *job = start(vehicle, events);
        // Runs on the worker, right after the second file was counted.
        connect(job, &UninstallRunnable::SignalUninstallProgress, job, [job](const QString &, uint p) {
            if (p == 50)
                job->OnStop(1);
        }, Qt::DirectConnection);
        mPool.start(job);
        QTRY_VERIFY(events.finished);
        QVERIFY(!events.ok);
        QCOMPARE(events.progress, (QList<uint>{25, 50}));
        QCOMPARE(QDir(vehicle).entryList(QDir::Files),
                 (QStringList{QStringLiteral("f000002.dat"), QStringLiteral("f000003.dat")}));
    }

    void pauseBlocksBeforeTheNextFile()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/DEMO/");
        writeFiles(vehicle, 4, 25);
        JobEvents events;
        UninstallRunnable *job = start(vehicle, events);
        QSemaphore reached;
        QSemaphore goOn;
        connect(job, &UninstallRunnable::SignalUninstallProgress, job, [&](const QString &, uint p) {
            if (p == 25) {
                reached.release();
                goOn.acquire();
            }
        }, Qt::DirectConnection);
        mPool.start(job);
        QVERIFY(reached.tryAcquire(1, 10000));
        job->OnStop(0); // pause, held by this thread
        goOn.release();
        // The first file goes; the worker then waits before the second.
        QTRY_VERIFY(!QFileInfo::exists(vehicle + QStringLiteral("f000000.dat")));
        QTest::qWait(100);
        QVERIFY(QFileInfo::exists(vehicle + QStringLiteral("f000001.dat")));
        QVERIFY(!events.finished);
        job->OnSuspend();
        QTRY_VERIFY(events.finished);
        QVERIFY(events.ok);
        QCOMPARE(events.progress, (QList<uint>{25, 50, 75, 100}));
    }

    // Pause and resume requests keep arriving from this thread while jobs
    // end on the pool: none may reach a catalogue that is going away, leave
    // a job waiting, or deadlock the two threads.
    void requestsRacingTheEndOfAJob()
    {
        const QString root = makeCard();
        for (int round = 0; round < 60; ++round) {
            const QString vehicle = root + QStringLiteral("Vehicles/EU/R%1/").arg(round);
            writeFiles(vehicle, 1 + round % 3, 10);
            auto *job = new UninstallRunnable(mCard, vehicle, vehicle);
            job->setAutoDelete(false);
            std::atomic<bool> ended{false};
            std::atomic<bool> ok{false};
            connect(job, &UninstallRunnable::SignalUninstallFinished, job, [&](const QString &, bool result) {
                ok = result;
                ended = true;
            }, Qt::DirectConnection);
            mPool.start(job);
            while (!ended) {
                job->OnStop(round % 2 ? 0 : 2);
                job->OnSuspend();
            }
            QVERIFY(mPool.waitForDone(10000));
            QVERIFY(ok);
            QVERIFY(!QFileInfo::exists(vehicle));
            delete job;
        }
    }

    // Files vanishing under the job (the card pulled out) end it with a
    // failure, not a crash or a success.
    void cardGoneMidUninstall()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/GONE/");
        writeFiles(vehicle, 4, 25);
        JobEvents events;
        UninstallRunnable *job = start(vehicle, events);
        connect(job, &UninstallRunnable::SignalUninstallProgress, job, [&](const QString &, uint p) {
            if (p == 50)
                QDir(root).removeRecursively();
        }, Qt::DirectConnection);
        mPool.start(job);
        QTRY_VERIFY(events.finished);
        QVERIFY(!events.ok);
        QVERIFY(!events.progress.contains(100u));
    }

    void progressRepeatsAreDropped()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/MANY/");
        writeFiles(vehicle, 450, 1);
        const JobEvents events = runToEnd(vehicle);
        QVERIFY(events.ok);
        QVERIFY(events.progress.size() <= 101);
        QCOMPARE(events.progress.last(), 100u);
        for (int i = 1; i < events.progress.size(); ++i)
            QVERIFY(events.progress.at(i) > events.progress.at(i - 1));
    }

    // A job made from a scanned record takes the scan's size instead of
    // measuring every file again, and its progress counts files; what
    // changed on the card since the scan still decides.
    void scannedRecord_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("ok");
        QTest::newRow("as scanned") << QString() << true;
        QTest::newRow("grown since") << QStringLiteral("grown") << true;
        QTest::newRow("emptied since") << QStringLiteral("emptied") << false;
    }
    void scannedRecord()
    {
        QFETCH(QString, change);
        QFETCH(bool, ok);
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/SCANNED/");
        writeFiles(vehicle, 300, 10);
        VehicleData scanned;
        scanned.mDirPath = vehicle;
        scanned.mSize = CalcSize(mCard, vehicle, scanned.mFileCount);
        if (change == QLatin1String("grown"))
            writeFiles(vehicle + QStringLiteral("More/"), 50, 10);
        if (change == QLatin1String("emptied")) {
            for (const QString &name : QDir(vehicle).entryList(QDir::Files))
                QVERIFY(QFile::resize(vehicle + name, 0));
        }
        const JobEvents events = runToEnd(vehicle, &scanned);
        QCOMPARE(events.ok, ok);
        QCOMPARE(QFileInfo::exists(vehicle), !ok);
        if (!ok) {
            QVERIFY(events.progress.isEmpty());
            return;
        }
        QCOMPARE(events.progress.last(), 100u);
        for (int i = 1; i < events.progress.size(); ++i)
            QVERIFY(events.progress.at(i) > events.progress.at(i - 1));
        // Every file moves the bar, but the receiver is not sent a report
        // for each whole percent of a job this quick.
        QVERIFY2(events.progress.size() < 20, qPrintable(QString::number(events.progress.size())));
    }

    void smallFilesAfterABigOneStillReachTheEnd()
    {
        const QString root = makeCard();
        const QString vehicle = root + QStringLiteral("Vehicles/EU/BIG/");
        QDir().mkpath(vehicle);
        QFile big(vehicle + QStringLiteral("a-big.dat"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(64) << 20)); // sparse
        big.close();
        writeFiles(vehicle, 4, 1);
        // A single-precision running total would stop growing at 64 MiB.
        const JobEvents events = runToEnd(vehicle);
        QVERIFY(events.ok);
        QCOMPARE(events.progress, (QList<uint>{99, 100}));
    }

    void homeKeepsAllButVersionAndProgramFiles()
    {
        const QString root = makeCard();
        const QString home = root + QStringLiteral("Vehicles/HOME/");
        TestEnv::writeFile(home + QStringLiteral("version.txt"), "V1");
        TestEnv::writeFile(home + QStringLiteral("HOME.bin"), "bin");
        TestEnv::writeFile(home + QStringLiteral("EXTRA.BIN"), "bin");
        TestEnv::writeFile(home + QStringLiteral("settings.dat"), "keep");
        TestEnv::writeFile(home + QStringLiteral("Config/user.cfg"), "keep");
        // A vehicle inside a card mounted below /home/... is not HOME.
        const QString vehicle = root + QStringLiteral("Vehicles/EU/DEMO/");
        writeFiles(vehicle, 2, 5);
        // Nor is a vehicle's own folder whose name holds "home".
        writeFiles(vehicle + QStringLiteral("Res/HomeScreen/"), 2, 5);

        Vehicles vehicles(mCard);
        QVERIFY(vehicles.DeleteDirectory(home));
        QCOMPARE(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("Config"), QStringLiteral("settings.dat")}));
        QVERIFY(QFileInfo::exists(home + QStringLiteral("Config/user.cfg")));

        QVERIFY(vehicles.DeleteDirectory(vehicle));
        QVERIFY(!QFileInfo::exists(vehicle));
    }

    void linksAreRemovedNotFollowed()
    {
        const QString root = makeCard();
        const QString outside = mEnv.makeDir(QStringLiteral("outside")) + QLatin1Char('/');
        TestEnv::writeFile(outside + QStringLiteral("precious.dat"), QByteArray(1000, 'p'));
        TestEnv::writeFile(outside + QStringLiteral("deep/more.dat"), "p");
        const QString vehicle = root + QStringLiteral("Vehicles/EU/LINKED/");
        writeFiles(vehicle, 2, 50);
        QVERIFY(::symlink(QFile::encodeName(outside).constData(),
                          QFile::encodeName(vehicle + QStringLiteral("a-dir-link")).constData()) == 0);
        QVERIFY(::symlink(QFile::encodeName(outside + QStringLiteral("precious.dat")).constData(),
                          QFile::encodeName(vehicle + QStringLiteral("a-file-link")).constData()) == 0);

        const JobEvents events = runToEnd(vehicle);
        QVERIFY(events.ok);
        QCOMPARE(events.progress, (QList<uint>{50, 100}));
        QVERIFY(!QFileInfo::exists(vehicle));
        QCOMPARE(TestEnv::readFile(outside + QStringLiteral("precious.dat")).size(), 1000);
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("deep/more.dat")));

        // A job naming the link itself removes only the link.
        const QString link = root + QStringLiteral("link-to-outside");
        QVERIFY(::symlink(QFile::encodeName(outside).constData(), QFile::encodeName(link).constData()) == 0);
        Vehicles vehicles(mCard);
        QVERIFY(vehicles.DeleteDirectory(link + QLatin1Char('/')));
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("precious.dat")));
    }
};

QTEST_MAIN(TestUninstall)
#include "tst_uninstall.moc"
