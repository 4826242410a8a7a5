// An install killed (SIGKILL) in the middle of its swap, then the card
// repaired as the scans do: the card holds the old version byte for byte or
// the new one exactly, no staging is left, and the catalogue lists the
// version that is there.
#include "InstallTestSupport.h"
#include "StagingRepair.h"
#include "Vehicles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace InstallTest;

namespace {
enum Package { Home, Vehicle, Patch };
enum Moment { SwapBegins, FirstNewFile, NewVersionFile };

struct Setup
{
    QByteArray archive;
    QString oldFolder;  // below the card root; empty: none
    QByteArray package; // the package folder, below the card root
    QByteArray newOnly; // a file only the new version has
    QByteArray oldVersion;
    QByteArray newVersion;
};

QByteArray numbered(const char *prefix, int i)
{
    return prefix + QByteArray::number(i).rightJustified(4, '0');
}

// Writes the old version onto `card` and returns the archive of the new.
Setup setUp(Package package, const QString &card)
{
    Setup s;
    QVector<Entry> entries;
    auto add = [&](const QByteArray &name, const QByteArray &data) { entries.append(file(name, data)); };
    TestEnv::writeFile(card + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM");
    writeVehicle(card + QStringLiteral("Vehicles/US/OTHER/"), "V5.00");
    if (package == Home) {
        // Merged file by file into the folder it replaces.
        s = {{}, QStringLiteral("Vehicles/HOME"), "Vehicles/HOME", "Vehicles/HOME/extra.txt", "V1.00", "V2.00"};
        const QString home = card + QStringLiteral("Vehicles/HOME/");
        TestEnv::writeFile(home + QStringLiteral("version.txt"), s.oldVersion);
        TestEnv::writeFile(home + QStringLiteral("HOME.bin"), "old program");
        TestEnv::writeFile(home + QStringLiteral("OLD.bin"), "old only");
        for (int i = 0; i < 3000; ++i) {
            TestEnv::writeFile(home + QString::fromLatin1(numbered("data/f", i)), "old " + QByteArray::number(i));
            add(numbered("Vehicles/HOME/data/f", i), "new " + QByteArray::number(i));
        }
        add("Vehicles/HOME/HOME.bin", "new program");
        add(s.newOnly, "extra");
    } else {
        s = {{},
             package == Vehicle ? QStringLiteral("Vehicles/EU/CAR") : QString(),
             "Vehicles/EU/CAR",
             "Vehicles/EU/CAR/Res/new.txt",
             "V1.00",
             package == Vehicle ? "V2.00" : "V1.01"};
        const QString car = card + QStringLiteral("Vehicles/EU/CAR/");
        writeVehicle(car, s.oldVersion);
        TestEnv::writeFile(car + QStringLiteral("Names.txt"), "{}"); // listed without a display name
        // Program files enough that moving the old ones aside takes a while.
        for (int i = 0; i < 300; ++i)
            TestEnv::writeFile(car + QString::fromLatin1(numbered("P", i) + ".bin"), "old program");
        for (int i = 0; i < 1000; ++i) {
            TestEnv::writeFile(car + QString::fromLatin1(numbered("Res/f", i)), "old " + QByteArray::number(i));
            if (package == Vehicle || i % 2)
                add(numbered("Vehicles/EU/CAR/Res/f", i), "new " + QByteArray::number(i));
        }
        if (package == Vehicle) {
            add("Vehicles/EU/CAR/CAR.bin", "new program");
            add("Vehicles/EU/CAR/Names.txt", "{}");
        }
        add(s.newOnly, "new");
    }
    add(s.package + "/version.txt", s.newVersion);
    s.archive = archiveOf(entries);
    return s;
}

bool exists(const QByteArray &path)
{
    return ::access(path.constData(), F_OK) == 0;
}

bool holds(const QByteArray &path, const QByteArray &content)
{
    char buffer[64];
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n == content.size() && QByteArray(buffer, int(n)) == content;
}

// The files and folders below `dir`, named relative to it.
QMap<QString, QByteArray> tree(const QString &dir)
{
    QMap<QString, QByteArray> relative;
    const QMap<QString, QByteArray> all = TestEnv::snapshot(dir);
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        relative.insert(it.key().mid(dir.size()), it.value());
    return relative;
}

QString listedVersion(const QString &card, const QByteArray &package)
{
    Vehicles vehicles{Card(card)};
    vehicles.ScanVehicles(Card(card).vehiclesPath(), false);
    const QString name = QString::fromLatin1(package.mid(package.lastIndexOf('/') + 1));
    for (const VehicleData &record : qAsConst(vehicles.mDatas)) {
        if (record.mDirName == name)
            return record.mVersion;
    }
    return QString();
}
} // namespace

class TestInstallCrash : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    // Cards in memory where there is some: creating thousands of files on
    // a busy disk takes seconds, and the test kills within milliseconds.
    QTemporaryDir mMemory{QStringLiteral("/dev/shm/ostrel-install-crash-XXXXXX")};
    int mRuns = 0;

    QProcess *startHelper(const QString &card, const QString &archive, const QString &oldFolder)
    {
        QStringList args{card, archive};
        if (!oldFolder.isEmpty())
            args << card + oldFolder + QLatin1Char('/');
        auto *helper = new QProcess(this);
        helper->start(TestEnv::buildDir() + QStringLiteral("/tests/dravik_install_helper"), args);
        return helper;
    }

private slots:
    void killedMidSwap_data()
    {
        QTest::addColumn<int>("package");
        QTest::addColumn<int>("moment");
        const char *packages[] = {"HOME of 3000 files", "vehicle replacing its old folder", "patch"};
        const char *moments[] = {"swap begins", "first new file", "new version file"};
        for (int p = Home; p <= Patch; ++p) {
            for (int m = SwapBegins; m <= NewVersionFile; ++m)
                QTest::addRow("%s, killed when the %s", packages[p], moments[m]) << p << m;
        }
    }

    void killedMidSwap()
    {
        QFETCH(int, package);
        QFETCH(int, moment);
        const QString base =
            (mMemory.isValid() ? mMemory.path() : mEnv.root()) + QStringLiteral("/run-%1/").arg(++mRuns);
        const QString card = base + QStringLiteral("card/");
        const QString clean = base + QStringLiteral("clean/");
        const Setup s = setUp(Package(package), card);
        setUp(Package(package), clean);
        const QString archive = base + QStringLiteral("package.zip");
        QVERIFY(TestEnv::writeFile(archive, s.archive));
        const QMap<QString, QByteArray> before = tree(card);

        // The new version as an install left alone leaves it.
        QProcess *whole = startHelper(clean, archive, s.oldFolder);
        QVERIFY(whole->waitForFinished(30000));
        QCOMPARE(whole->exitCode(), 0);
        const QMap<QString, QByteArray> after = tree(clean);
        QVERIFY(after != before);

        // The helper runs at the lowest priority so that the polling here
        // sees the moment; a run that still slips past it is tried again.
        const QByteArray root = QFile::encodeName(card);
        const QByteArray version = root + s.package + "/version.txt";
        const QByteArray staging = root + QByteArray(StagingRepair::kStagingFolder);
        bool killed = false;
        for (int attempt = 0; attempt < 5 && !killed; ++attempt) {
            if (attempt > 0) {
                QDir(card).removeRecursively();
                setUp(Package(package), card);
                QCOMPARE(tree(card), before);
            }
            QProcess *helper = startHelper(card, archive, s.oldFolder);
            QVERIFY(helper->waitForStarted());
            ::setpriority(PRIO_PROCESS, id_t(helper->processId()), 19);
            QElapsedTimer timer;
            timer.start();
            bool sent = false;
            while (!sent && timer.elapsed() < 10000) {
                const bool now = moment == SwapBegins     ? !exists(version)
                                 : moment == FirstNewFile ? exists(root + s.newOnly)
                                                          : holds(version, s.newVersion);
                if (now)
                    sent = ::kill(pid_t(helper->processId()), SIGKILL) == 0;
                else if (!exists(staging) && holds(version, s.newVersion))
                    break; // done: missed
            }
            QVERIFY(helper->waitForFinished(30000));
            killed = sent && helper->exitStatus() == QProcess::CrashExit;
        }
        QVERIFY2(killed, "the install always ended before the kill");

        QVERIFY(StagingRepair::repairCard(Card(card)));
        const QMap<QString, QByteArray> repaired = tree(card);
        const bool isOld = repaired == before;
        QVERIFY2(isOld || repaired == after, "a mix of two versions");
        if (moment == NewVersionFile)
            QVERIFY(!isOld); // every new entry was in place: finished, not undone
        QVERIFY(!QFileInfo::exists(card + QLatin1String(StagingRepair::kStagingFolder)));
        QCOMPARE(listedVersion(card, s.package), QString::fromLatin1(isOld ? s.oldVersion : s.newVersion));
        QDir(base).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestInstallCrash)
#include "tst_installcrash.moc"
