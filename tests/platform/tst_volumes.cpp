// The volume list and its change notices: simulated cards from
// OSTREL_REMOVABLE_ROOTS and a mount table with a sysfs tree of our own.
#include "FakeSysfs.h"
#include "LinuxVolumes.h"
#include "TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QtTest>

#include <unistd.h>

class TestVolumes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void listsSimulatedCards();
    void reportsSimulatedArrivalAndRemoval();
    void notesFolderCreatedAfterStart();
    void measuresSpace_data();
    void measuresSpace();
    void realMountTable();

    void classifiesMountTable();
    void reportsMountTableChanges();
    void kernelAnnouncesMounts();

private:
    static QStringList roots(const QList<VolumeInfo> &volumes, bool removableOnly);
    static QString rootOf(const QSignalSpy &spy, int index);
    void writeTable(const QByteArray &extra);

    TestEnv mEnv;
    QString mCards;
    QString mLater;
    FakeSysfs mSys;
    QString mTable;
};

QStringList TestVolumes::roots(const QList<VolumeInfo> &volumes, bool removableOnly)
{
    QStringList list;
    for (const VolumeInfo &v : volumes) {
        if (v.removable || !removableOnly)
            list.append(v.root);
    }
    return list;
}

QString TestVolumes::rootOf(const QSignalSpy &spy, int index)
{
    return spy.at(index).at(0).value<VolumeInfo>().root;
}

void TestVolumes::initTestCase()
{
    mCards = mEnv.makeDir(QStringLiteral("cards"));
    // Listed, but only made once watching has begun.
    mLater = mEnv.root() + QStringLiteral("/later");
    qputenv("OSTREL_REMOVABLE_ROOTS", (mCards + QStringLiteral("::") + mLater).toUtf8());

    QVERIFY(mSys.addDisk(QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host3/target3:0:0/3:0:0:0"),
                         QStringLiteral("sdb"), QStringLiteral("8:16"), false, {QStringLiteral("sdb1")}));
    QVERIFY(mSys.addDisk(QStringLiteral("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0"),
                         QStringLiteral("sda"), QStringLiteral("8:0"), false, {QStringLiteral("sda1")}));
    mTable = mEnv.root() + QStringLiteral("/mountinfo");
}

void TestVolumes::init()
{
    QDir(mCards).removeRecursively();
    QDir().mkpath(mCards);
    QDir(mLater).removeRecursively();
}

void TestVolumes::listsSimulatedCards()
{
    QVERIFY(QDir(mCards).mkdir(QStringLiteral("B CARD")));
    QVERIFY(QDir(mCards).mkdir(QStringLiteral("A")));
    QVERIFY(TestEnv::writeFile(mCards + QStringLiteral("/not-a-card.txt"), "x"));

    LinuxVolumes volumes;
    QCOMPARE(volumes.simulatedFolders(), (QStringList{mCards, mLater}));
    const QList<VolumeInfo> all = volumes.mounted();
    QCOMPARE(roots(all, true),
             (QStringList{mCards + QStringLiteral("/A/"), mCards + QStringLiteral("/B CARD/")}));
    const VolumeInfo card = all.at(all.size() - 1);
    QCOMPARE(card.fsType, QStringLiteral("simulated"));
    QCOMPARE(card.device, mCards + QStringLiteral("/B CARD"));
    QCOMPARE(card.label, QStringLiteral("B CARD"));
    for (const VolumeInfo &v : all)
        QVERIFY2(v.root.endsWith(QLatin1Char('/')), qPrintable(v.root));
}

void TestVolumes::reportsSimulatedArrivalAndRemoval()
{
    LinuxVolumes volumes;
    // Long enough that only the folder watcher can explain a prompt notice.
    volumes.setRescanInterval(3600 * 1000);
    volumes.start();
    volumes.start();
    QSignalSpy arrived(&volumes, &Volumes::volumeArrived);
    QSignalSpy removed(&volumes, &Volumes::volumeRemoved);

    QVERIFY(QDir(mCards).mkdir(QStringLiteral("CARD")));
    QTRY_COMPARE(arrived.size(), 1);
    QCOMPARE(rootOf(arrived, 0), mCards + QStringLiteral("/CARD/"));
    QVERIFY(arrived.at(0).at(0).value<VolumeInfo>().removable);

    QVERIFY(QDir(mCards).rename(QStringLiteral("CARD"), QStringLiteral("SCANNER")));
    QTRY_COMPARE(removed.size(), 1);
    QTRY_COMPARE(arrived.size(), 2);
    QCOMPARE(rootOf(removed, 0), mCards + QStringLiteral("/CARD/"));
    QCOMPARE(rootOf(arrived, 1), mCards + QStringLiteral("/SCANNER/"));

    QVERIFY(QDir(mCards + QStringLiteral("/SCANNER")).removeRecursively());
    QTRY_COMPARE(removed.size(), 2);
    QCOMPARE(rootOf(removed, 1), mCards + QStringLiteral("/SCANNER/"));

    // Files inside a card or beside the cards are no volume events.
    QVERIFY(TestEnv::writeFile(mCards + QStringLiteral("/loose.bin"), "x"));
    volumes.rescan();
    QCOMPARE(arrived.size(), 2);
    QCOMPARE(removed.size(), 2);
}

void TestVolumes::notesFolderCreatedAfterStart()
{
    LinuxVolumes volumes;
    volumes.setRescanInterval(20);
    volumes.start();
    QSignalSpy arrived(&volumes, &Volumes::volumeArrived);
    QVERIFY(QDir().mkpath(mLater + QStringLiteral("/LATE")));
    QTRY_COMPARE(arrived.size(), 1);
    QCOMPARE(rootOf(arrived, 0), mLater + QStringLiteral("/LATE/"));
}

void TestVolumes::measuresSpace_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("ok");
    QTest::newRow("simulated card") << QStringLiteral("CARD/") << true;
    QTest::newRow("system root") << QStringLiteral("/") << true;
    QTest::newRow("missing folder") << QStringLiteral("gone/") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestVolumes::measuresSpace()
{
    QFETCH(QString, root);
    QFETCH(bool, ok);
    QVERIFY(QDir(mCards).mkdir(QStringLiteral("CARD")));
    if (!root.isEmpty() && !root.startsWith(QLatin1Char('/')))
        root = mCards + QLatin1Char('/') + root;
    LinuxVolumes volumes;
    qint64 freeBytes = -1;
    qint64 totalBytes = -1;
    QCOMPARE(volumes.space(root, &freeBytes, &totalBytes), ok);
    if (ok) {
        QVERIFY(totalBytes > 0);
        QVERIFY(freeBytes > 0 && freeBytes <= totalBytes);
    } else {
        QCOMPARE(freeBytes, 0);
        QCOMPARE(totalBytes, 0);
    }
}

void TestVolumes::realMountTable()
{
    LinuxVolumes volumes;
    const QList<VolumeInfo> all = volumes.mounted();
    for (const VolumeInfo &v : all) {
        QVERIFY2(!(v.removable && v.root == QLatin1String("/")), "/ listed as removable");
        QVERIFY2(v.fsType != QLatin1String("proc") && v.fsType != QLatin1String("tmpfs"), qPrintable(v.root));
    }
}

void TestVolumes::writeTable(const QByteArray &extra)
{
    const QByteArray table =
        "25 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "26 25 0:5 / /dev rw shared:2 - devtmpfs udev rw\n"
        "27 25 0:6 / /run rw shared:3 - tmpfs tmpfs rw\n"
        "28 25 0:48 / /mnt/share rw - nfs4 server:/export rw\n"
        + extra;
    QVERIFY(TestEnv::writeFile(mTable, table));
}

void TestVolumes::classifiesMountTable()
{
    writeTable("120 27 8:17 / /run/media/alice/SD\\040CARD rw shared:65 - vfat /dev/sdb1 rw\n"
               // Mounted twice on one point: listed once.
               "121 27 8:17 / /media/twice rw - vfat /dev/sdb1 rw\n"
               "122 121 8:17 / /media/twice rw - vfat /dev/sdb1 rw\n"
               // Hidden under a later pseudo mount: gone.
               "123 27 8:17 / /media/hidden rw - vfat /dev/sdb1 rw\n"
               "124 123 0:50 / /media/hidden rw - tmpfs tmpfs rw\n");
    qputenv("OSTREL_REMOVABLE_ROOTS", QByteArray());
    LinuxVolumes volumes(mTable, mSys.root());
    qputenv("OSTREL_REMOVABLE_ROOTS", (mCards + QStringLiteral("::") + mLater).toUtf8());
    const QList<VolumeInfo> all = volumes.mounted();
    QCOMPARE(roots(all, false), (QStringList{QStringLiteral("/"), QStringLiteral("/run/media/alice/SD CARD/"),
                                             QStringLiteral("/media/twice/")}));
    QVERIFY(!all.at(0).removable);
    QVERIFY(all.at(1).removable);
    QCOMPARE(all.at(1).device, QStringLiteral("/dev/sdb1"));
    QCOMPARE(all.at(1).fsType, QStringLiteral("vfat"));
}

void TestVolumes::reportsMountTableChanges()
{
    writeTable(QByteArray());
    LinuxVolumes volumes(mTable, mSys.root());
    volumes.setRescanInterval(20);
    volumes.start();
    QSignalSpy arrived(&volumes, &Volumes::volumeArrived);
    QSignalSpy removed(&volumes, &Volumes::volumeRemoved);

    writeTable("120 27 8:17 / /media/alice/SCANNER rw - vfat /dev/sdb1 rw\n");
    QTRY_COMPARE(arrived.size(), 1);
    QCOMPARE(rootOf(arrived, 0), QStringLiteral("/media/alice/SCANNER/"));
    QVERIFY(arrived.at(0).at(0).value<VolumeInfo>().removable);

    writeTable(QByteArray());
    QTRY_COMPARE(removed.size(), 1);
    QCOMPARE(rootOf(removed, 0), QStringLiteral("/media/alice/SCANNER/"));
    QCOMPARE(arrived.size(), 1);
}

void TestVolumes::kernelAnnouncesMounts()
{
    // Mounting needs a private mount namespace, which needs privileges.
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty() || ::geteuid() != 0)
        QSKIP("needs root and unshare to mount in a private namespace");
    const QString target = mEnv.makeDir(QStringLiteral("bind target"));
    QProcess watcher;
    watcher.start(unshare, {QStringLiteral("-m"), QStringLiteral("--propagation"), QStringLiteral("private"),
                            QCoreApplication::applicationDirPath() + QStringLiteral("/ostrel_platform_helper"),
                            QStringLiteral("watch"), target});
    QVERIFY(watcher.waitForFinished(40000));
    const QByteArray out = watcher.readAllStandardOutput();
    if (watcher.exitCode() == 1 || watcher.exitCode() == 3)
        QSKIP(qPrintable(QStringLiteral("cannot mount here: ") + QString::fromLocal8Bit(watcher.readAllStandardError())));
    QCOMPARE(watcher.exitCode(), 0);
    // Without a timed re-scan only the kernel's notice can have told it.
    const QByteArray root = target.toUtf8() + '/';
    QCOMPARE(out, "arrived:" + root + "\nremoved:" + root + '\n');
}

QTEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
