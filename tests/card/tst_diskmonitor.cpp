// Removable-disk monitoring with the fake volume layer, and the serial readers.
#include "CardHelpers.h"
#include "FakePlatform.h"
#include "RemovableDisk.h"
#include "TestEnv.h"
#include "UDiskMonitor.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestDiskMonitor : public QObject
{
    Q_OBJECT

    QString makeDrive(const QString &name, const QByteArray &serialFile, const QByteArray &serial)
    {
        const QString dir = mEnv.makeDir(QStringLiteral("media/") + name);
        if (!serialFile.isEmpty())
            TestEnv::writeFile(dir + QLatin1Char('/') + QString::fromLatin1(serialFile), serial);
        return dir + QLatin1Char('/');
    }

    TestEnv mEnv;

private slots:
    void twoDrivesOnlySecondIsCard()
    {
        FakePlatform platform;
        const QString first = makeDrive(QStringLiteral("A_STICK"), QByteArray(), QByteArray());
        const QString second = makeDrive(QStringLiteral("B_CARD"), "sn.txt", "ABCDEFGHIJKLM\n");
        platform.fakeVolumes().add(first);
        platform.fakeVolumes().add(second);
        platform.fakeVolumes().add(mEnv.root() + QStringLiteral("/"), false); // fixed disk: ignored

        RemovableDisk disk;
        QSignalSpy changed(&disk, &RemovableDisk::SignalRemoveDiskChanged);
        QSignalSpy sizeChanged(&disk, &RemovableDisk::SignalRemoveDiskFreeSizeChanged);
        disk.RefreshDisks();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(sizeChanged.count(), 1);

        const auto disks = disk.GetDisks();
        QCOMPARE(disks.keys(), (QStringList{first, second}));
        QVERIFY(!disks.value(first).mHasSerialFile);
        QVERIFY(disks.value(second).mHasSerialFile);

        QVERIFY(disk.GetCurrentDisk().mRootPath.isEmpty());
        const RemovableDiskInfo current = disk.SelectCurrentDisk();
        QCOMPARE(current.mRootPath, second);
        QVERIFY(current.mIsCurrent);
        QCOMPARE(disk.GetSerialNumber(), QStringLiteral("ABCDEFGHIJKLM"));
        QCOMPARE(disk.GetCurrentCard(), Card(second, QStringLiteral("ABCDEFGHIJKLM")));
    }

    void unplugAndReplugRefresh()
    {
        FakePlatform platform;
        const QString card = makeDrive(QStringLiteral("CARD"), "SN.TXT", "ABCDEFGHIJKLM");
        const QString card2 = makeDrive(QStringLiteral("CARD2"), QByteArray(), QByteArray());
        platform.fakeVolumes().add(card);
        platform.fakeVolumes().add(card2);

        RemovableDisk disk;
        QVERIFY(platform.fakeVolumes().isStarted());
        disk.RefreshDisks();
        QCOMPARE(disk.SelectCurrentDisk().mRootPath, card);

        QSignalSpy changed(&disk, &RemovableDisk::SignalRemoveDiskChanged);
        QSignalSpy sizeChanged(&disk, &RemovableDisk::SignalRemoveDiskFreeSizeChanged);
        platform.fakeVolumes().remove(card);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(sizeChanged.count(), 1);
        QCOMPARE(disk.GetDisks().keys(), QStringList{card2});
        // Choosing again finds no card: the pulled one is not current any more.
        QCOMPARE(disk.GetCurrentDisk().mRootPath, card);
        QVERIFY(disk.SelectCurrentDisk().mRootPath.isEmpty());
        QVERIFY(disk.GetSerialNumber().isEmpty());
        QVERIFY(disk.GetCurrentCard().isNull());

        platform.fakeVolumes().add(card);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(sizeChanged.count(), 2);
        QVERIFY(disk.GetDisks().value(card).mHasSerialFile);
        QVERIFY(!disk.GetDisks().value(card).mIsCurrent);

        // Every refresh overwrites the records, current flag included, so it
        // always ends with both signals.
        disk.SelectCurrentDisk();
        disk.RefreshDisks();
        QCOMPARE(changed.count(), 3);

        platform.fakeVolumes().remove(card);
        platform.fakeVolumes().remove(card2);
        QVERIFY(disk.GetDisks().isEmpty());
        QCOMPARE(changed.count(), 5);
    }

    void onlyAnExactRootKeepsAnEntry()
    {
        FakePlatform platform;
        const QString inner = QStringLiteral("/media/u/CARD/");
        const QString outer = QStringLiteral("/srv/media/u/CARD/"); // holds the other root as text
        platform.fakeVolumes().add(inner);
        platform.fakeVolumes().add(outer);
        RemovableDisk disk;
        disk.RefreshDisks();
        QCOMPARE(disk.GetDisks().size(), 2);
        platform.fakeVolumes().remove(inner);
        QCOMPARE(disk.GetDisks().keys(), QStringList{outer});
    }

    void failedOrEmptyVolumesAreDropped()
    {
        FakePlatform platform;
        const QString broken = makeDrive(QStringLiteral("BROKEN"), "sn.txt", "ABCDEFGHIJKLM");
        const QString empty = makeDrive(QStringLiteral("EMPTY"), "sn.txt", "ABCDEFGHIJKLM");
        platform.fakeVolumes().add(broken);
        platform.fakeVolumes().setSpaceFails(broken);
        platform.fakeVolumes().add(empty, true, 0, 0);
        RemovableDisk disk;
        disk.RefreshDisks();
        QVERIFY(disk.GetDisks().isEmpty());
        QVERIFY(disk.SelectCurrentDisk().mRootPath.isEmpty());
    }

    void sizeTexts_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<qint64>("totalBytes");
        QTest::addColumn<QString>("freeText");
        QTest::addColumn<QString>("usedText");
        QTest::addColumn<QString>("totalText");
        QTest::newRow("bytes and whole KB") << qint64(512) << qint64(1536) << QStringLiteral("512.000B")
                                            << QStringLiteral("1.00KB") << QStringLiteral("1.00KB");
        QTest::newRow("exactly 1 GiB free") << qint64(1073741824) << qint64(2147483648)
                                            << QStringLiteral("1.000GB") << QStringLiteral("1.00GB")
                                            << QStringLiteral("2.00GB");
        QTest::newRow("one byte below 1 GiB") << qint64(1073741823) << qint64(1073741824)
                                              << QStringLiteral("1024.000MB") << QStringLiteral("1.00B")
                                              << QStringLiteral("1.00GB");
        QTest::newRow("free above total") << qint64(4096) << qint64(2048) << QStringLiteral("2.000KB")
                                          << QStringLiteral("0.00B") << QStringLiteral("2.00KB");
    }

    void sizeTexts()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(qint64, totalBytes);
        FakePlatform platform;
        const QString root = makeDrive(QStringLiteral("SIZED"), "sn.txt", "ABCDEFGHIJKLM");
        platform.fakeVolumes().add(root, true, freeBytes, totalBytes);
        RemovableDisk disk;
        disk.RefreshDisks();
        const RemovableDiskInfo info = disk.GetDisks().value(root);
        QTEST(info.mFreeText, "freeText");
        QTEST(info.mUsedText, "usedText");
        QTEST(info.mTotalText, "totalText");
        QCOMPARE(info.mTotalBytes + 0, quint64(totalBytes));

        // After an uninstall the current card is measured again.
        disk.SelectCurrentDisk();
        platform.fakeVolumes().setSpace(root, 0, totalBytes);
        QSignalSpy sizeChanged(&disk, &RemovableDisk::SignalRemoveDiskFreeSizeChanged);
        disk.OnRemoveDiskSize();
        QCOMPARE(sizeChanged.count(), 1);
        QCOMPARE(disk.GetCurrentDisk().mUsedBytes, quint64(totalBytes));
    }

    void serialReaders_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("plugin");
        QTest::newRow("16 letters") << QByteArray("ABCDEFGHIJKLMNOP") << QStringLiteral("ABCDEFGHIJKLM")
                                    << QStringLiteral("ABCDEFGHIJKLM");
        QTest::newRow("12 characters") << QByteArray("ABCDEF123456") << QString() << QString();
        QTest::newRow("dash") << QByteArray("ABCDEF-123456") << QString() << QStringLiteral("ABCDEF-123456");
        QTest::newRow("space inside") << QByteArray("ABCDEF 1234567") << QString() << QStringLiteral("ABCDEF 123456");
        QTest::newRow("blank lines around") << QByteArray("\n  \r\nABCDEF1234567  \n\n") << QStringLiteral("ABCDEF1234567")
                                            << QString();
        QTest::newRow("two lines") << QByteArray("ABCDEF1234567\r\nZYXWVUTSRQPON\r\n") << QString()
                                   << QStringLiteral("ABCDEF1234567");
        QTest::newRow("empty") << QByteArray() << QString() << QString();
        // Saved by a Windows editor: both readers skip the UTF-8 mark.
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF" "ABCDEF1234567\r\n")
                                               << QStringLiteral("ABCDEF1234567") << QStringLiteral("ABCDEF1234567");
    }

    void serialReaders()
    {
        QFETCH(QByteArray, content);
        FakePlatform platform;
        const QString root = makeDrive(QStringLiteral("SERIAL"), "Sn.Txt", content);
        RemovableDisk disk;
        QTEST(disk.ReadSerialNumber(root), "program");
        QTEST(CardHelpers::ReadSerialNumber(root), "plugin");
    }

    // After a good card, a card whose serial file cannot be read must not
    // become the scanner's card under the old serial.
    void unreadableSerialIsNoCard_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"empty", "short", "random bytes", "too large", "pipe", "device", "link to a good one"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void unreadableSerialIsNoCard()
    {
        QFETCH(QString, kind);
        FakePlatform platform;
        const QString good = makeDrive(QStringLiteral("GOOD"), "sn.txt", "ABCDEFGHIJKLM");
        const QString bad = makeDrive(QStringLiteral("BAD"), QByteArray(), QByteArray());
        const QByteArray file = QFile::encodeName(bad + QStringLiteral("sn.txt"));
        if (kind == QLatin1String("empty"))
            QVERIFY(TestEnv::writeFile(bad + QStringLiteral("sn.txt"), QByteArray()));
        else if (kind == QLatin1String("short"))
            QVERIFY(TestEnv::writeFile(bad + QStringLiteral("sn.txt"), "short"));
        else if (kind == QLatin1String("random bytes"))
            QVERIFY(TestEnv::writeFile(bad + QStringLiteral("sn.txt"), QByteArray("\x9c\xff\x01" "ABCDEFGHIJKLMNOP", 19)));
        else if (kind == QLatin1String("too large"))
            QVERIFY(TestEnv::writeFile(bad + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM" + QByteArray(8 << 20, ' ') + "X"));
        else if (kind == QLatin1String("pipe"))
            QVERIFY(::mkfifo(file.constData(), 0600) == 0);
        else if (kind == QLatin1String("device"))
            QVERIFY(::symlink("/dev/zero", file.constData()) == 0);
        else
            QVERIFY(::symlink(QFile::encodeName(good + QStringLiteral("sn.txt")).constData(), file.constData()) == 0);

        platform.fakeVolumes().add(good);
        RemovableDisk disk;
        disk.RefreshDisks();
        QCOMPARE(disk.SelectCurrentDisk().mRootPath, good);
        QCOMPARE(disk.GetSerialNumber(), QStringLiteral("ABCDEFGHIJKLM"));

        platform.fakeVolumes().remove(good);
        platform.fakeVolumes().add(bad);
        QVERIFY(disk.SelectCurrentDisk().mRootPath.isEmpty());
        QVERIFY(disk.GetSerialNumber().isEmpty());
        QVERIFY(disk.ReadSerialNumber(bad).isEmpty());
        QVERIFY(!disk.GetDisks().value(bad).mIsCurrent);
    }

    void findCardRootTakesFirstRemovableCard()
    {
        FakePlatform platform;
        QVERIFY(CardHelpers::FindCardRoot().isEmpty());
        QVERIFY(CardHelpers::FindCard().isNull());
        const QString fixed = makeDrive(QStringLiteral("FIXED"), "sn.txt", "ABCDEFGHIJKLM");
        const QString bad = makeDrive(QStringLiteral("BADSN"), "SN.txt", "ABC-DEFGHIJKLM");
        const QString card = makeDrive(QStringLiteral("GOODSN"), "SN.txt", "  ABCDEFGHIJKLM\nxyz");
        platform.fakeVolumes().add(fixed, false);
        platform.fakeVolumes().add(bad);
        platform.fakeVolumes().add(card);
        QCOMPARE(CardHelpers::FindCardRoot(), card);
        // Its serial as the plug-in reads it: the first line, not trimmed.
        QCOMPARE(CardHelpers::FindCard(), Card(card, QStringLiteral("  ABCDEFGHIJK")));
    }

    void udiskMonitorReportsRemovableLocalVolumes()
    {
        FakePlatform platform;
        UDiskMonitor monitor;
        QSignalSpy added(&monitor, &UDiskMonitor::DeviceAdded);
        QSignalSpy removed(&monitor, &UDiskMonitor::DeviceRemoved);

        platform.fakeVolumes().add(QStringLiteral("/media/u/CARD/"));
        platform.fakeVolumes().add(QStringLiteral("/mnt/fixed/"), false);
        VolumeInfo share;
        share.root = QStringLiteral("/mnt/share/");
        share.fsType = QStringLiteral("cifs");
        share.removable = true;
        platform.fakeVolumes().add(share);
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toString(), QStringLiteral("/media/u/CARD/"));

        platform.fakeVolumes().remove(QStringLiteral("/mnt/share/"));
        platform.fakeVolumes().remove(QStringLiteral("/media/u/CARD/"));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("/media/u/CARD/"));
    }

    void cardRules_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("cardRoot");
        QTest::addColumn<int>("package");
        const int vehicle = int(Card::Package::Vehicle);
        const int home = int(Card::Package::Home);
        QTest::newRow("vehicle") << "/media/u/CARD/" << "/media/u/CARD/Vehicles/EU/DEMO/" << "/media/u/CARD/" << vehicle;
        QTest::newRow("root without slash") << "/media/u/CARD" << "/media/u/CARD/Vehicles/EU/X/" << "/media/u/CARD/"
                                            << vehicle;
        // Only the part below the root counts: a mount point below /home is
        // no HOME software, one named Public no text library.
        QTest::newRow("mounted below home") << "/home/alice/Public/CARD/" << "/home/alice/Public/CARD/Vehicles/EU/X/"
                                            << "/home/alice/Public/CARD/" << vehicle;
        QTest::newRow("home") << "/home/a/CARD/" << "/home/a/CARD/Vehicles/HOMEBREW/" << "/home/a/CARD/" << home;
        QTest::newRow("public") << "/media/CARD/" << "/media/CARD/Vehicles/public/" << "/media/CARD/"
                                << int(Card::Package::Public);
        QTest::newRow("never slash") << "/" << "/Vehicles/HOME/" << QString() << home;
        QTest::newRow("no card") << QString() << "/tmp/x/" << QString() << vehicle;
    }
    void cardRules()
    {
        QFETCH(QString, root);
        QFETCH(QString, dir);
        const Card card(root, QStringLiteral("ABCDEFGHIJKLM"));
        QTEST(card.root(), "cardRoot");
        QCOMPARE(card.isNull(), card.root().isEmpty());
        QTEST(int(card.packageOf(dir)), "package");
        if (card.isNull())
            return;
        QCOMPARE(card.vehiclesPath(), card.root() + QStringLiteral("Vehicles/"));
        QVERIFY(card.contains(dir));
        QCOMPARE(card.root() + card.relativePath(dir), dir);
        QVERIFY(!card.contains(QStringLiteral("/elsewhere/Vehicles/")));
        QCOMPARE(card.vehiclePath(QStringLiteral("EU"), QStringLiteral("DEMO")),
                 card.root() + QStringLiteral("Vehicles/EU/DEMO/"));
        // Area and link never lead off the card.
        for (const QString &bad : {QStringLiteral(".."), QStringLiteral("a/b"), QStringLiteral("a\\b"), QString()}) {
            QVERIFY(card.vehiclePath(bad, QStringLiteral("DEMO")).isEmpty());
            QVERIFY(card.vehiclePath(QStringLiteral("EU"), bad).isEmpty());
        }
    }
};

QTEST_MAIN(TestDiskMonitor)
#include "tst_diskmonitor.moc"
