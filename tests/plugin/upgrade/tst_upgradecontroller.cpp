// The upgrade controller against the stand-in service, with real archives
// and card folders behind the fake volume layer: a package keeps its
// identity from the list to the card (look-alike addresses, archives that
// are not the package's), chains of a package and its patch, retries that
// resume, a pulled card, and how refusals are told.
#include "AppSettings.h"
#include "ArchiveInstall.h"
#include "DownloadFile.h"
#include "FakePlatform.h"
#include "InstallTestSupport.h"
#include "JobDispatcher.h"
#include "ManifestStore.h"
#include "SampleCardGenerator.h"
#include "StandInService.h"
#include "UpdateHistory.h"
#include "BatchTexts.h"
#include "UpgradeController.h"
#include "Vehicles.h"

#include <Sornet/Code.h>
#include <Sornet/SoftwareData.h>

#include <QCryptographicHash>
#include <QDir>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

using namespace InstallTest;

namespace {
const auto fault = &StandInService::fault;
const QString Alice = QStringLiteral("ABCDEFGHIJKLM");
const QString LookAlike = QStringLiteral("SAMENAMES0001");

} // namespace

class TestUpgradeController : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    StandInService mService;
    std::unique_ptr<FakePlatform> mPlatform;
    std::unique_ptr<UpgradeController> mController;
    QString mCard;
    int mCards = 0;
    QStringList mNotices;

    Card card(const QString &serial) const { return Card(mCard, serial); }

    // A card with `serial` and, for the look-alike product, Car A V0.90
    // and Car B V1.50 installed.
    void makeCard(const QString &serial)
    {
        mCard = mEnv.makeDir(QStringLiteral("cards/%1").arg(++mCards)) + QLatin1Char('/');
        if (serial == Alice) {
            SampleCardGenerator::Options options;
            options.serial = Alice;
            options.vehicles = 2;
            QVERIFY(SampleCardGenerator(options).generate(mCard));
        } else {
            QVERIFY(TestEnv::writeFile(mCard + QStringLiteral("sn.txt"), serial.toLatin1()));
            QVERIFY(listedVehicle(QStringLiteral("Vehicles/EU/CARA/"), "V0.90"));
            QVERIFY(listedVehicle(QStringLiteral("Vehicles/EU/CARB/"), "V1.50"));
        }
        mPlatform->fakeVolumes().add(mCard, true, 100LL << 30, 200LL << 30);
    }

    // A vehicle the card's catalogue lists.
    bool listedVehicle(const QString &folder, const QByteArray &version) const
    {
        return writeVehicle(mCard + folder, version) && TestEnv::writeFile(mCard + folder + QStringLiteral("Names.txt"), "{}");
    }

    // The package as the list makes it, with what the card holds of it now.
    Package package(long id, const char *softId, const char *version) const
    {
        SoftwareData record;
        record.setId(id);
        record.setSoft_id(QLatin1String(softId));
        record.setSoft_name(QLatin1String(softId));
        record.setVersion(QLatin1String(version));
        record.setSoft_size(QStringLiteral("10000"));
        const Card here(mCard);
        Vehicles catalogue(here);
        catalogue.ScanVehicles(here.vehiclesPath(), false);
        return Package::fromRecord(record, here, catalogue.mDatas);
    }

    static UpgradeItem item(const Package &p, Package patch = Package())
    {
        UpgradeItem i;
        i.package = p;
        if (!patch.isNull()) {
            patch.baseId = p.id;
            patch.baseVersion = p.version;
            i.patch = patch;
        }
        return i;
    }

    // Runs a batch to its end.
    bool run(const QList<UpgradeItem> &items, const QString &serial)
    {
        QSignalSpy ended(mController.get(), &UpgradeController::batchEnded);
        mController->setBatch(items, card(serial));
        mController->start();
        return ended.count() > 0 || ended.wait(30000);
    }
    bool retry()
    {
        QSignalSpy ended(mController.get(), &UpgradeController::batchEnded);
        mController->retry();
        return ended.wait(30000);
    }

    QString stateOf(int row) const { return DownloadBatch::stateText(mController->batch().row(row).state); }
    QString reasonOf(int row) const { return mController->batch().row(row).reason; }
    int requests(const char *path) const { return mService.requestsTo(QLatin1String(path)).size(); }
    QByteArray onCard(const char *path) const { return TestEnv::readFile(mCard + QLatin1String(path)); }
    static QStringList downloads() { return QDir(DownloadFile::downloadDir()).entryList(QDir::Files); }

    // Holds the install of `id` inside its first entry, in its pool thread,
    // until `go` is released.
    struct Gate
    {
        QSemaphore inside, go;
    };
    // Outlives the pool tasks that wait on it, which may still be leaving
    // acquire() when the helper below has returned.
    QSemaphore mBusy;
    bool holdInstall(Gate &gate, long id)
    {
        JobDispatcher *jobs = mController->dispatcher();
        // The pool is kept busy until the install is queued behind it.
        for (int i = 0; i < JobDispatcher::MaxInstalls; ++i)
            jobs->pool()->start([this] { mBusy.acquire(); });
        InstallRunnable *job = nullptr;
        const auto queued = [&] {
            for (const QPointer<InstallRunnable> &j : jobs->jobs()) {
                if (j && j->id() == id)
                    job = j;
            }
            return job != nullptr;
        };
        if (!QTest::qWaitFor(queued, 20000)) {
            mBusy.release(JobDispatcher::MaxInstalls);
            return false;
        }
        connect(job, &InstallRunnable::installProgress, jobs, [&gate](long, qint64 done) {
            if (done == 1) {
                gate.inside.release();
                gate.go.acquire();
            }
        }, Qt::DirectConnection);
        mBusy.release(JobDispatcher::MaxInstalls);
        return QTest::qWaitFor([&gate] { return gate.inside.available() == 1; }, 20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mService.start());
        mService.exportEnvironment();
    }

    void init()
    {
        mController.reset();
        mPlatform.reset();
        mPlatform.reset(new FakePlatform);
        AppSettings::setSignedInUser(QStringLiteral("token-alice"), 1001);
        AppSettings::setUninstalling(false);
        QVERIFY(mService.reset());
        QDir(DownloadFile::downloadDir()).removeRecursively();
        QDir(ManifestStore().folder()).removeRecursively();
        QFile::remove(UpdateHistory().path());
        mController.reset(new UpgradeController);
        mNotices.clear();
        connect(mController.get(), &UpgradeController::notice, this, [this](const QString &text) { mNotices << text; });
    }

    void cleanup()
    {
        mController.reset();
        mPlatform.reset();
    }

    // Two addresses that end in the same file name: a package's archive
    // kept after its patch failed is never taken for the other package's.
    void keptArchiveIsNotAnotherPackages()
    {
        makeCard(LookAlike);
        QVERIFY(mService.setFault(fault("/files/a/patch.zip", {{"status", 500}})));
        QVERIFY(run({item(package(60, "CARA", "V1.00"), package(61, "CARA", "V1.01"))}, LookAlike));
        QCOMPARE(stateOf(0), QStringLiteral("Download Failed"));
        QVERIFY(!reasonOf(0).isEmpty());
        QCOMPARE(downloads().filter(QRegularExpression(QStringLiteral("\\.zip$"))).size(), 1); // the package's archive waits for a retry
        QCOMPARE(onCard("Vehicles/EU/CARA/version.txt"), QByteArray("V0.90"));

        QVERIFY(mService.reset());
        QVERIFY(run({item(package(70, "CARB", "V2.00"))}, LookAlike));
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(requests("/files/b/pkg.zip"), 1);
        QCOMPARE(onCard("Vehicles/EU/CARB/version.txt"), QByteArray("V2.00"));
        QVERIFY(QFileInfo::exists(mCard + QStringLiteral("Vehicles/EU/CARB/CARB.bin")));
        QCOMPARE(onCard("Vehicles/EU/CARA/version.txt"), QByteArray("V0.90"));
    }

    // ... and two rows of one batch never share a file: both at once, each
    // from its own address, slowly enough to overlap.
    void lookAlikeRowsNeverShareAFile()
    {
        QVERIFY(mService.setFault(fault("/files/*", {{"chunk_size", 1000}, {"chunk_delay_ms", 5}})));
        makeCard(LookAlike);
        QVERIFY(run({item(package(60, "CARA", "V1.00")), item(package(70, "CARB", "V2.00"))}, LookAlike));
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(stateOf(1), QStringLiteral("Done"));
        QCOMPARE(onCard("Vehicles/EU/CARA/version.txt"), QByteArray("V1.00"));
        QCOMPARE(onCard("Vehicles/EU/CARB/version.txt"), QByteArray("V2.00"));
        QCOMPARE(onCard("Vehicles/EU/CARB/CARB.bin").size(), 3072);
        QCOMPARE(downloads(), QStringList());
    }

    // An archive that does not hold the package it was fetched for fails
    // its install with the reason, and the card keeps what it had.
    void archiveMustHoldItsPackage_data()
    {
        QTest::addColumn<long>("id");
        QTest::addColumn<QString>("version");
        QTest::newRow("empty archive") << 80L << QStringLiteral("V1.00");
        QTest::newRow("only a readme") << 81L << QStringLiteral("V1.00");
        QTest::newRow("another package") << 70L << QStringLiteral("V2.00");
        QTest::newRow("another version") << 60L << QStringLiteral("V1.05");
    }
    void archiveMustHoldItsPackage()
    {
        QFETCH(long, id);
        QFETCH(QString, version);
        makeCard(LookAlike);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCard);
        QVERIFY(run({item(package(id, "CARA", qPrintable(version)))}, LookAlike));
        QCOMPARE(stateOf(0), QStringLiteral("Install Failed"));
        QVERIFY2(!reasonOf(0).isEmpty(), "no reason");
        QCOMPARE(TestEnv::snapshot(mCard), before);
    }

    // The package, then its patch: fetched and installed in that order; both
    // archives go once both are on.
    void packageThenPatch()
    {
        makeCard(Alice);
        QVERIFY(run({item(package(20, "BMW", "V9.50"), package(21, "BMW", "V9.51"))}, Alice));
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QStringList order;
        for (const QJsonValue &entry : mService.requestLog()) {
            const QString path = entry.toObject().value(QStringLiteral("path")).toString();
            const QString id = QUrlQuery(entry.toObject().value(QStringLiteral("query")).toString()).queryItemValue(QStringLiteral("id"));
            order << path.section(QLatin1Char('/'), -1) + id;
        }
        QCOMPARE(order, QStringList({QStringLiteral("download20"), QStringLiteral("bmw_V9.50.zip"), QStringLiteral("download21"),
                                     QStringLiteral("bmw_V9.51_patch.zip")}));
        QCOMPARE(onCard("Vehicles/EU/BMW/version.txt"), QByteArray("V9.51"));
        QVERIFY(QFileInfo::exists(mCard + QStringLiteral("Vehicles/EU/BMW/BMW_fix.bin")));
        QCOMPARE(downloads(), QStringList());
        // Both recorded, read back; the card's manifest is the patch's, and
        // names its package's files too.
        const QList<HistoryRecord> history = UpdateHistory().recordsOf(Alice);
        QCOMPARE(history.size(), 2);
        QCOMPARE(history.at(0).from + QLatin1Char('>') + history.at(0).to, QStringLiteral("V9.50>V9.51"));
        QVERIFY(history.at(0).verified && history.at(1).verified);
        const QString folder = QStringLiteral("Vehicles/EU/BMW");
        QStringList files;
        for (const InstalledFile &file : ManifestStore().find(Alice, folder, QStringLiteral("V9.51")).files)
            files << file.path.section(QLatin1Char('/'), 3);
        QVERIFY2(files.contains(QStringLiteral("BMW.bin")) && files.contains(QStringLiteral("BMW_fix.bin")), qPrintable(files.join(QLatin1Char(' '))));
        QVERIFY(ManifestStore().find(Alice, folder, QStringLiteral("V9.50")).isNull());
    }

    // At most three rows fetch at once, in list order, a package's patch
    // before the rows after it; each next one starts when a place is free.
    void transfersTakeTurns()
    {
        makeCard(Alice);
        for (const char *slow : {"/files/home_V2.10.zip", "/files/benz_V12.30.zip"})
            QVERIFY(mService.setFault(fault(slow, {{"chunk_size", 200}, {"chunk_delay_ms", 40}})));
        QVERIFY(run({item(package(20, "BMW", "V9.50"), package(21, "BMW", "V9.51")), item(package(1, "HOME", "V2.10")),
                     item(package(10, "BENZ", "V12.30")), item(package(2, "COMTXTLIB", "V1.05"))},
                    Alice));
        QCOMPARE(mController->batch().doneCount(), 4);
        QStringList queries;
        for (const QJsonValue &entry : mService.requestsTo(QStringLiteral("/KvaApi/soft/download")))
            queries << QUrlQuery(entry.toObject().value(QStringLiteral("query")).toString()).queryItemValue(QStringLiteral("id"));
        // The first three at once, in any order; then the patch, then the last row.
        QCOMPARE(queries.size(), 5);
        QStringList first = queries.mid(0, 3);
        first.sort();
        QCOMPARE(first, QStringList({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("20")}));
        QCOMPARE(queries.mid(3), QStringList({QStringLiteral("21"), QStringLiteral("2")}));
    }

    // The package does not go on: its patch is not installed over it, both
    // archives stay, and a retry installs them without fetching again.
    void failedPackageInstallStopsItsPatch()
    {
        makeCard(Alice);
        const QString bmw = mCard + QStringLiteral("Vehicles/EU/BMW/");
        QVERIFY(TestEnv::writeFile(bmw + QStringLiteral("Res"), "in the way"));
        QVERIFY(run({item(package(20, "BMW", "V9.50"), package(21, "BMW", "V9.51"))}, Alice));
        QCOMPARE(stateOf(0), QStringLiteral("Install Failed"));
        QCOMPARE(QDir(bmw).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("Res")});
        QCOMPARE(downloads().filter(QRegularExpression(QStringLiteral("\\.zip$"))).size(), 2);

        QVERIFY(QFile::remove(bmw + QStringLiteral("Res")));
        QVERIFY(mService.clearLog());
        QVERIFY(retry());
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(requests("/files/bmw_V9.50.zip") + requests("/files/bmw_V9.51_patch.zip"), 0);
        QCOMPARE(onCard("Vehicles/EU/BMW/version.txt"), QByteArray("V9.51"));
    }

    // A row fails half-way through its transfer; a retry takes up only that
    // row and resumes its partial file.
    void retryResumesTheFailedRow()
    {
        makeCard(Alice);
        QVERIFY(mService.setFault(fault("/files/benz_V12.30.zip", {{"drop_after", 3000}, {"once", true}})));
        QVERIFY(run({item(package(1, "HOME", "V2.10")), item(package(10, "BENZ", "V12.30"))}, Alice));
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(stateOf(1), QStringLiteral("Download Failed"));
        QVERIFY(!AppSettings::isDownloading());
        QCOMPARE(mPlatform->sleepHeld, QStringList());

        QVERIFY(mService.clearLog());
        QVERIFY(retry());
        QCOMPARE(stateOf(1), QStringLiteral("Done"));
        QCOMPARE(requests("/KvaApi/soft/download"), 1);
        const QJsonArray files = mService.requestsTo(QStringLiteral("/files/benz_V12.30.zip"));
        QCOMPARE(files.size(), 1);
        const QString range = files.first().toObject().value(QStringLiteral("headers")).toObject().value(QStringLiteral("Range")).toString();
        QVERIFY2(range.startsWith(QLatin1String("bytes=")) && range != QLatin1String("bytes=0-"), qPrintable(range));
    }

    // An archive that cannot be unpacked fails its install and is removed,
    // so that a retry fetches it again instead of failing for ever.
    void brokenArchiveIsFetchedAgain()
    {
        makeCard(Alice);
        Entry program = file("Vehicles/HOME/HOME.bin", QByteArray(5000, 'h'));
        program.deflate = false;
        QByteArray broken = archiveOf({file("Vehicles/HOME/version.txt", "V2.10"), program});
        broken[broken.indexOf(QByteArray(100, 'h')) + 50] = 'x'; // stored data, checksum now wrong
        QVERIFY(mService.replaceFile(QStringLiteral("home_V2.10.zip"), broken));
        QVERIFY(run({item(package(1, "HOME", "V2.10"))}, Alice));
        QCOMPARE(stateOf(0), QStringLiteral("Install Failed"));
        QCOMPARE(downloads(), QStringList());

        QVERIFY(mService.reset());
        QVERIFY(retry());
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(requests("/files/home_V2.10.zip"), 1);
        QCOMPARE(onCard("Vehicles/HOME/version.txt"), QByteArray("V2.10"));
    }

    // The card pulled while downloading or installing: the card keeps what
    // it had; the same card back and a retry finish the row without
    // fetching again what is already here.
    void cardPulled_data()
    {
        QTest::addColumn<bool>("installing");
        QTest::newRow("while downloading") << false;
        QTest::newRow("while installing") << true;
    }
    void cardPulled()
    {
        QFETCH(bool, installing);
        makeCard(Alice);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCard);
        if (!installing)
            QVERIFY(mService.setFault(fault("/files/home_V2.10.zip", {{"chunk_size", 500}, {"chunk_delay_ms", 300}})));
        QSignalSpy ended(mController.get(), &UpgradeController::batchEnded);
        mController->setBatch({item(package(1, "HOME", "V2.10"))}, card(Alice));
        mController->start();
        Gate gate;
        if (installing)
            QVERIFY(holdInstall(gate, 1));
        else
            QTRY_COMPARE_WITH_TIMEOUT(mController->batch().row(0).state, int(DownloadBatch::Downloading), 20000);
        QCOMPARE(mPlatform->sleepHeld, QStringList{QStringLiteral("Updating vehicle software")});

        QVERIFY(!mController->cardRemoved(mCard + QStringLiteral("other/")));
        QVERIFY(mController->cardRemoved(mCard));
        gate.go.release();
        mController->dispatcher()->pool()->waitForDone();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().first().toBool(), false); // no summary for a cut-off batch
        QCOMPARE(stateOf(0), QStringLiteral("Card removed"));
        QVERIFY(!reasonOf(0).isEmpty());
        QVERIFY(!AppSettings::isDownloading());
        QCOMPARE(mPlatform->sleepHeld, QStringList());
        QCOMPARE(TestEnv::snapshot(mCard), before);

        // Where the card is: out, another in its place, that one out
        // again, the batch's own back, and in once the retry goes on.
        using CS = UpgradeController::CardState;
        QSignalSpy told(mController.get(), &UpgradeController::cardStateChanged);
        QCOMPARE(mController->cardState(), CS::Removed);
        const QString otherRoot = mCard + QStringLiteral("other/");
        QVERIFY(!mController->cardInserted(Card(otherRoot, QStringLiteral("NOPQRSTUVWXYZ"))));
        QCOMPARE(mController->cardState(), CS::Foreign);
        QCOMPARE(mController->foreignCard().serialNumber(), QStringLiteral("NOPQRSTUVWXYZ"));
        QVERIFY(!mController->cardRemoved(otherRoot));
        QCOMPARE(mController->cardState(), CS::Removed);
        QVERIFY(mController->cardInserted(card(Alice)));
        QCOMPARE(mController->cardState(), CS::Returned);
        QCOMPARE(told.size(), 3);
        QVERIFY(mService.reset());
        QVERIFY(retry());
        QCOMPARE(mController->cardState(), CS::In);
        QCOMPARE(stateOf(0), QStringLiteral("Done"));
        QCOMPARE(onCard("Vehicles/HOME/version.txt"), QByteArray("V2.10"));
        const QJsonArray files = mService.requestsTo(QStringLiteral("/files/home_V2.10.zip"));
        QCOMPARE(files.size(), installing ? 0 : 1);
        if (!installing) {
            const QString range = files.first().toObject().value(QStringLiteral("headers")).toObject().value(QStringLiteral("Range")).toString();
            QVERIFY2(range.startsWith(QLatin1String("bytes=")) && range != QLatin1String("bytes=0-"), qPrintable(range));
        }
    }

    // How a package goes onto the card: the program's own installer never
    // unchecked (see selfUpdate), nothing without a card, an older installed version gives way
    // to the new one, the same version and a patch leave the folder be.
    void installRules_data()
    {
        QTest::addColumn<QString>("softId");
        QTest::addColumn<bool>("patch");
        QTest::addColumn<bool>("withCard");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("removeOld");
        QTest::newRow("own installer") << "OSTREL" << false << true << "" << int(UpgradeJob::Failure::Archive) << false;
        QTest::newRow("no card") << "BENZ" << false << false << "V1" << int(UpgradeJob::Failure::NoCard) << false;
        QTest::newRow("older version on the card") << "BENZ" << false << true << "V1" << -1 << true;
        QTest::newRow("same version on the card") << "BENZ" << false << true << "V2" << -1 << false;
        QTest::newRow("not on the card") << "AUDI" << false << true << "" << -1 << false;
        QTest::newRow("patch") << "BENZ" << true << true << "V1" << -1 << false;
    }
    void installRules()
    {
        QFETCH(QString, softId);
        QFETCH(bool, patch);
        QFETCH(bool, withCard);
        QFETCH(QString, installed);
        QFETCH(int, failure);
        QFETCH(bool, removeOld);
        makeCard(Alice);
        if (!installed.isEmpty())
            QVERIFY(listedVehicle(QStringLiteral("Vehicles/EU/BENZ/"), installed.toLatin1()));
        Package p = package(patch ? 11 : 10, qPrintable(softId), "V2");
        if (patch)
            p.baseId = 10;
        if (!withCard)
            p.card = Card();
        const QString archive = mEnv.root() + QStringLiteral("/missing.zip"); // the install fails at once
        ArchiveInstall job(p, archive, mController->dispatcher());
        QSignalSpy finished(&job, &UpgradeJob::finished);
        job.start();
        const QList<QPointer<InstallRunnable>> jobs = mController->dispatcher()->jobs();
        QVERIFY(mPlatform->openedFiles.isEmpty());
        QCOMPARE(jobs.size(), failure >= 0 ? 0 : 1);
        if (!jobs.isEmpty()) {
            QCOMPARE(jobs.first()->targetFolder(), mCard);
            QCOMPARE(jobs.first()->deleteOldFirst(), removeOld);
            QCOMPARE(jobs.first()->oldVersionFolder(), removeOld ? mCard + p.installedFolder : QString());
        }
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        const auto result = finished.first().first().value<UpgradeJob::Result>();
        QCOMPARE(int(result.failure), failure >= 0 ? failure : int(UpgradeJob::Failure::Archive));
        mController->dispatcher()->pool()->waitForDone();
    }

    // Another card with the same serial number while a row waited for its
    // retry: nothing is installed over what the list did not show.
    void anotherCardWithTheSameSerial()
    {
        makeCard(LookAlike);
        QVERIFY(mService.setFault(fault("/files/a/pkg.zip", {{"chunk_size", 500}, {"chunk_delay_ms", 100}})));
        QSignalSpy ended(mController.get(), &UpgradeController::batchEnded);
        mController->setBatch({item(package(60, "CARA", "V1.00"))}, card(LookAlike));
        mController->start();
        QTRY_COMPARE_WITH_TIMEOUT(mController->batch().row(0).state, int(DownloadBatch::Downloading), 20000);
        QVERIFY(mController->cardRemoved(mCard));
        makeCard(LookAlike); // the other card, at another place
        QVERIFY(listedVehicle(QStringLiteral("Vehicles/EU/CARA/"), "V1.50"));
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCard);
        QVERIFY(mController->cardInserted(card(LookAlike)));
        QVERIFY(mService.reset());
        QVERIFY(retry());
        QCOMPARE(stateOf(0), QStringLiteral("Install Failed"));
        QVERIFY(!reasonOf(0).isEmpty());
        QCOMPARE(TestEnv::snapshot(mCard), before);
    }

    // Two packages of one batch with one number, or a patch with its
    // package's: their reports could not be told apart, so those rows fail
    // at once with the reason and the others go on.
    void clashingNumbersAreLeftOut()
    {
        makeCard(Alice);
        Package patch = package(20, "BMW", "V9.51");
        QVERIFY(run({item(package(20, "BMW", "V9.50"), patch), item(package(1, "HOME", "V2.10")),
                     item(package(10, "BENZ", "V12.30")), item(package(10, "BENZ", "V12.30"))},
                    Alice));
        QCOMPARE(stateOf(0), QStringLiteral("Download Failed"));
        QCOMPARE(stateOf(1), QStringLiteral("Done"));
        QCOMPARE(stateOf(2), QStringLiteral("Download Failed"));
        QCOMPARE(stateOf(3), QStringLiteral("Download Failed"));
        QVERIFY(!reasonOf(3).isEmpty());
        QCOMPARE(requests("/KvaApi/soft/download"), 1);
    }

    // An update of the program itself: only a Debian package fetched over
    // https, of the announced size (and checksum, once the service sends
    // one), kept owner-only, and handed to the desktop only after a yes.
    void selfUpdate_data()
    {
        QTest::addColumn<bool>("https");
        QTest::addColumn<bool>("debian"); // else a desktop launcher that runs a shell
        QTest::addColumn<int>("sizeDelta");
        QTest::addColumn<QString>("checksum"); // "", "right" or "wrong"
        QTest::addColumn<int>("answer");       // -1: never asked; 0 no, 1 yes
        QTest::addColumn<bool>("pulled");      // the card goes while the question is open
        QTest::newRow("launcher refused") << true << false << 0 << "" << -1 << false;
        QTest::newRow("plain http refused") << false << true << 0 << "" << -1 << false;
        QTest::newRow("other size refused") << true << true << 1 << "" << -1 << false;
        QTest::newRow("other checksum refused") << true << true << 0 << "wrong" << -1 << false;
        QTest::newRow("declined") << true << true << 0 << "" << 0 << false;
        QTest::newRow("confirmed") << true << true << 0 << "right" << 1 << false;
        QTest::newRow("confirmed, the card pulled meanwhile") << true << true << 0 << "" << 1 << true;
    }
    void selfUpdate()
    {
        QFETCH(bool, https);
        QFETCH(bool, debian);
        QFETCH(int, sizeDelta);
        QFETCH(QString, checksum);
        QFETCH(int, answer);
        QFETCH(bool, pulled);
        const auto member = [](const char *name, const QByteArray &data) -> QByteArray {
            return QByteArray(name).leftJustified(16, ' ') + QByteArray("0").leftJustified(12, ' ')
                   + QByteArray("0     0     100644  ") + QByteArray::number(data.size()).leftJustified(10, ' ') + "`\n"
                   + data + (data.size() % 2 ? "\n" : "");
        };
        const QByteArray file =
            debian ? "!<arch>\n" + member("debian-binary", "2.0\n") + member("control.tar.xz", QByteArray(33, 'c'))
                         + member("data.tar.xz", QByteArray(1000, 'd'))
                   : QByteArray("[Desktop Entry]\nType=Application\nExec=sh -c 'touch /tmp/owned'\n");
        StandInService secure;
        QVERIFY(secure.start(StandInService::tlsArguments()));
        StandInService &service = https ? secure : mService;
        service.exportEnvironment();
        const auto restore = qScopeGuard([this] {
            mService.exportEnvironment();
            qunsetenv("OSTREL_CA_BUNDLE");
        });
        QVERIFY(service.replaceFile(QStringLiteral("ostrel-update.bin"), file));
        makeCard(Alice);
        Package p = package(40, "Ostrel", "V9.99");
        p.size = file.size() + sizeDelta;
        if (!checksum.isEmpty())
            p.sha256 = checksum == QLatin1String("right")
                           ? QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex()
                           : QByteArray(64, '0');
        QStringList asked;
        connect(mController.get(), &UpgradeController::programUpdateReady, this,
                [&](const QString &name, const QString &version) {
                    asked << name << version;
                    // What the desktop would be given is already owner-only.
                    const QFileInfo installer(DownloadFile::downloadDir() + name);
                    QCOMPARE(installer.permissions() & 0x7777, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                   | QFileDevice::ReadUser | QFileDevice::WriteUser);
                    // This program's update needs no card.
                    if (pulled)
                        QVERIFY(mController->cardRemoved(mCard));
                    mController->answerProgramUpdate(answer == 1);
                });
        QVERIFY(run({item(p)}, Alice));
        QCOMPARE(stateOf(0), QLatin1String(answer == 1 ? "Installer opened" : answer == 0 ? "Not installed" : "Install Failed"));
        // Not on the card: the end of the batch does not call it installed.
        if (answer >= 0)
            QVERIFY2(BatchTexts::summary(*mController)
                         .startsWith(QStringLiteral("The update has ended.\nOstrel: ") + stateOf(0)),
                     qPrintable(BatchTexts::summary(*mController)));
        QCOMPARE(asked.size(), answer < 0 ? 0 : 2);
        if (answer >= 0) {
            QVERIFY2(asked.first().endsWith(QLatin1String(".deb")), qPrintable(asked.first()));
            QCOMPARE(asked.last(), QStringLiteral("V9.99"));
        }
        QCOMPARE(mPlatform->openedFiles,
                 answer == 1 ? QStringList{DownloadFile::downloadDir() + asked.first()} : QStringList{});
        if (answer < 0)
            QVERIFY(downloads().filter(QRegularExpression(QStringLiteral("\\.(deb|desktop|bin)$"))).isEmpty());
    }

    // Every row refused at once: one notice tells it, each row says why.
    void refusalsAreToldOnce()
    {
        makeCard(Alice);
        QList<UpgradeItem> unknown;
        for (long id = 901; id <= 910; ++id)
            unknown << item(package(id, "NOPE", "V1"));
        QVERIFY(run(unknown, Alice));
        QCOMPARE(mController->batch().failedCount(), 10);
        QCOMPARE(mNotices, QStringList(Code().getMessageByCode(-1421)));
        QCOMPARE(reasonOf(9), Code().getMessageByCode(-1421));
    }
};

QTEST_GUILESS_MAIN(TestUpgradeController)
#include "tst_upgradecontroller.moc"
