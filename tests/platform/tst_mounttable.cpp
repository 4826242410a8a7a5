// Parsing the kernel's mount table and telling removable media apart.
#include "FakeSysfs.h"
#include "MountInfoParser.h"
#include "RemovableClassifier.h"

#include <QtTest>

class TestMountTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parsesLines_data();
    void parsesLines();
    void skipsMalformedLines_data();
    void skipsMalformedLines();
    void parsesWholeTable();

    void volumeFileSystems_data();
    void volumeFileSystems();
    void removableDevices_data();
    void removableDevices();
    void removableEntries_data();
    void removableEntries();

private:
    FakeSysfs mSys;
};

void TestMountTable::initTestCase()
{
    QVERIFY(mSys.isValid());
    QVERIFY(mSys.addDisk(QStringLiteral("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0"), QStringLiteral("sda"),
            QStringLiteral("8:0"), false, {QStringLiteral("sda1"), QStringLiteral("sda2")}));
    QVERIFY(mSys.addDisk(QStringLiteral("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0"),
            QStringLiteral("sdb"), QStringLiteral("8:16"), false, {QStringLiteral("sdb1")}));
    QVERIFY(mSys.addDisk(QStringLiteral("pci0000:00/0000:00:1f.0/host7/target7:0:0/7:0:0:0"), QStringLiteral("sdc"),
            QStringLiteral("8:32"), true, {QStringLiteral("sdc1")}));
    QVERIFY(mSys.addDisk(QStringLiteral("platform/sdhci.1/mmc_host/mmc0/mmc0:aaaa"), QStringLiteral("mmcblk0"),
            QStringLiteral("179:0"), false, {QStringLiteral("mmcblk0p1")}, QStringLiteral("SD")));
    QVERIFY(mSys.addDisk(QStringLiteral("platform/sdhci.2/mmc_host/mmc1/mmc1:0001"), QStringLiteral("mmcblk1"),
            QStringLiteral("179:8"), false, {QStringLiteral("mmcblk1p1")}, QStringLiteral("MMC")));
    QVERIFY(mSys.addDisk(QStringLiteral("virtual"), QStringLiteral("loop0"), QStringLiteral("7:0"), false));
}

void TestMountTable::parsesLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("majorMinor");
    QTest::addColumn<QStringList>("optional");
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("superOptions");

    QTest::newRow("usb stick, one optional field")
        << QByteArray("120 29 8:17 / /media/alice/SCANNER rw,nosuid,nodev,relatime shared:65 - vfat /dev/sdb1 "
                      "rw,fmask=0022,dmask=0022,codepage=437")
        << "/media/alice/SCANNER" << "/" << "8:17" << QStringList{QStringLiteral("shared:65")} << "vfat" << "/dev/sdb1"
        << "rw,fmask=0022,dmask=0022,codepage=437";
    QTest::newRow("escaped blanks, tab and backslash")
        << QByteArray("121 29 8:33 / /media/alice/MY\\040CARD\\011x\\134y rw - exfat /dev/sdc1 rw")
        << "/media/alice/MY CARD\tx\\y" << "/" << "8:33" << QStringList() << "exfat" << "/dev/sdc1" << "rw";
    QTest::newRow("several optional fields")
        << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:7 propagate_from:2 unbindable - ext3 "
                      "/dev/root rw,errors=continue")
        << "/mnt2" << "/mnt1" << "98:0" << QStringList{QStringLiteral("master:1"), QStringLiteral("shared:7"), QStringLiteral("propagate_from:2"), QStringLiteral("unbindable")}
        << "ext3" << "/dev/root" << "rw,errors=continue";
    QTest::newRow("pseudo file system")
        << QByteArray("22 28 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw")
        << "/proc" << "/" << "0:21" << QStringList{QStringLiteral("shared:12")} << "proc" << "proc" << "rw";
    QTest::newRow("UTF-8 label escaped byte-wise")
        << QByteArray("130 29 179:1 / /media/bob/K\xc3\xa4rt\\040e rw - vfat /dev/mmcblk0p1 rw")
        << QString::fromUtf8("/media/bob/K\xc3\xa4rt e") << "/" << "179:1" << QStringList() << "vfat"
        << "/dev/mmcblk0p1" << "rw";
    QTest::newRow("incomplete escape stays literal")
        << QByteArray("131 29 8:1 / /mnt/a\\04 rw - ext4 /dev/sda1 rw")
        << "/mnt/a\\04" << "/" << "8:1" << QStringList() << "ext4" << "/dev/sda1" << "rw";
    QTest::newRow("missing super options, CRLF")
        << QByteArray("132 29 8:2 / /mnt/b rw - ext4 /dev/sda2\r")
        << "/mnt/b" << "/" << "8:2" << QStringList() << "ext4" << "/dev/sda2" << QString();
}

void TestMountTable::parsesLines()
{
    QFETCH(QByteArray, line);
    MountInfoParser::Entry e;
    QVERIFY(MountInfoParser::parseLine(line, &e));
    QTEST(e.mountPoint, "mountPoint");
    QTEST(e.root, "root");
    QTEST(e.majorMinor(), "majorMinor");
    QTEST(e.optionalFields, "optional");
    QTEST(e.fsType, "fsType");
    QTEST(e.source, "source");
    QTEST(e.superOptions, "superOptions");
}

void TestMountTable::skipsMalformedLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("blank") << QByteArray("   ");
    QTest::newRow("no separator") << QByteArray("120 29 8:17 / /media/x rw shared:1 vfat /dev/sdb1 rw");
    QTest::newRow("separator too early") << QByteArray("120 29 8:17 / - vfat /dev/sdb1 rw");
    QTest::newRow("nothing after separator") << QByteArray("120 29 8:17 / /media/x rw -");
    QTest::newRow("only fs type after separator") << QByteArray("120 29 8:17 / /media/x rw - vfat");
    QTest::newRow("device not major:minor") << QByteArray("120 29 sdb1 / /media/x rw - vfat /dev/sdb1 rw");
    QTest::newRow("mount id not a number") << QByteArray("x 29 8:17 / /media/x rw - vfat /dev/sdb1 rw");
    QTest::newRow("negative parent") << QByteArray("120 -1 8:17 / /media/x rw - vfat /dev/sdb1 rw");
    QTest::newRow("double blank") << QByteArray("120 29 8:17 /  /media/x rw - vfat /dev/sdb1 rw");
}

void TestMountTable::skipsMalformedLines()
{
    QFETCH(QByteArray, line);
    MountInfoParser::Entry e;
    QVERIFY(!MountInfoParser::parseLine(line, &e));
}

void TestMountTable::parsesWholeTable()
{
    const QByteArray table =
        "25 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "garbage line\n"
        "\n"
        "26 25 0:5 / /dev rw shared:2 - devtmpfs udev rw,size=100k\n"
        "120 25 8:17 / /media/alice/SD\\040CARD rw shared:65 - vfat /dev/sdb1 rw\n";
    const QList<MountInfoParser::Entry> entries = MountInfoParser::parse(table);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).mountPoint, QStringLiteral("/"));
    QCOMPARE(entries.at(1).fsType, QStringLiteral("devtmpfs"));
    QCOMPARE(entries.at(2).mountPoint, QStringLiteral("/media/alice/SD CARD"));
    QCOMPARE(entries.at(2).mountId, 120);
    QCOMPARE(entries.at(2).parentId, 25);
}

void TestMountTable::volumeFileSystems_data()
{
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("volume");
    for (const char *t : {"vfat", "exfat", "ext4", "ntfs3", "fuseblk", "iso9660", "btrfs"})
        QTest::newRow(t) << QString::fromLatin1(t) << "/" << true;
    for (const char *t : {"proc", "sysfs", "tmpfs", "devtmpfs", "cgroup2", "overlay", "squashfs", "autofs",
                          "efivarfs", "fuse.gvfsd-fuse", "fuse.portal", "binfmt_misc", "nsfs"})
        QTest::newRow(t) << QString::fromLatin1(t) << "/" << false;
    for (const char *t : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "9p", "virtiofs"})
        QTest::newRow(t) << QString::fromLatin1(t) << "/" << false;
    QTest::newRow("bind mount of a sub-folder") << "vfat" << "/DCIM" << false;
}

void TestMountTable::volumeFileSystems()
{
    QFETCH(QString, fsType);
    QFETCH(QString, root);
    MountInfoParser::Entry e;
    e.fsType = fsType;
    e.root = root;
    e.mountPoint = QStringLiteral("/media/x");
    QTEST(RemovableClassifier(mSys.root()).isVolume(e), "volume");
}

void TestMountTable::removableDevices_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("removable");
    QTest::newRow("sata disk") << "8:0" << false;
    QTest::newRow("sata partition") << "8:1" << false;
    QTest::newRow("sata partition by name") << "/dev/sda2" << false;
    QTest::newRow("usb partition, disk says 0") << "8:17" << true;
    QTest::newRow("usb partition by name") << "/dev/sdb1" << true;
    QTest::newRow("removable flag on the disk") << "8:33" << true;
    QTest::newRow("removable whole disk by name") << "sdc" << true;
    QTest::newRow("mmc SD card partition") << "179:1" << true;
    QTest::newRow("mmc SD card by name") << "/dev/mmcblk0p1" << true;
    QTest::newRow("eMMC partition") << "179:9" << false;
    QTest::newRow("loop device") << "7:0" << false;
    QTest::newRow("unknown device") << "8:99" << false;
    QTest::newRow("anonymous device") << "0:44" << false;
    QTest::newRow("name escaping the tree") << "/dev/.." << false;
}

void TestMountTable::removableDevices()
{
    QFETCH(QString, device);
    QTEST(RemovableClassifier(mSys.root()).isRemovableDevice(device), "removable");
}

void TestMountTable::removableEntries_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("removable");
    QTest::newRow("usb card") << QByteArray("1 0 8:17 / /media/alice/SCANNER rw - vfat /dev/sdb1 rw") << true;
    QTest::newRow("usb card at /") << QByteArray("1 0 8:17 / / rw - vfat /dev/sdb1 rw") << false;
    QTest::newRow("usb card at /home") << QByteArray("1 0 8:17 / /home rw - vfat /dev/sdb1 rw") << false;
    QTest::newRow("usb card at /boot/efi") << QByteArray("1 0 8:17 / /boot/efi/ rw - vfat /dev/sdb1 rw") << false;
    QTest::newRow("usb card below /run/media")
        << QByteArray("1 0 8:17 / /run/media/alice/SD rw - vfat /dev/sdb1 rw") << true;
    QTest::newRow("usb card, sub-folder bind")
        << QByteArray("1 0 8:17 /DCIM /mnt/photos rw - vfat /dev/sdb1 rw") << false;
    QTest::newRow("sata disk") << QByteArray("1 0 8:1 / /mnt/data rw - ext4 /dev/sda1 rw") << false;
    QTest::newRow("tmpfs on a removable-looking path")
        << QByteArray("1 0 0:40 / /media/alice/RAM rw - tmpfs tmpfs rw") << false;
    QTest::newRow("major:minor unknown, source known")
        << QByteArray("1 0 253:3 / /media/alice/X rw - vfat /dev/sdb1 rw") << true;
}

void TestMountTable::removableEntries()
{
    QFETCH(QByteArray, line);
    MountInfoParser::Entry e;
    QVERIFY(MountInfoParser::parseLine(line, &e));
    QTEST(RemovableClassifier(mSys.root()).isRemovable(e), "removable");
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_mounttable.moc"
