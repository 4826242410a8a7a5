// Cards prepared to mislead: links anywhere below the root, names that are
// not UTF-8, absurd nesting, deletions cut short. Nothing outside a card is
// ever read as part of it or deleted, and what is on the card stays
// reachable.
#include "CardFs.h"
#include "CardHelpers.h"
#include "Catalogue.h"
#include "DirWalker.h"
#include "TestEnv.h"
#include "Vehicles.h"

#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

class TestHostileCard : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    int mFolders = 0;

    QString newFolder(const QString &name)
    {
        return mEnv.makeDir(QStringLiteral("%1-%2").arg(name).arg(++mFolders)) + QLatin1Char('/');
    }

    // A listed vehicle: version, program file and a Names.txt naming an
    // English text resource.
    static void writeVehicle(const QString &dir)
    {
        QVERIFY(TestEnv::writeFile(dir + QStringLiteral("version.txt"), "V1.00"));
        QVERIFY(TestEnv::writeFile(dir + QStringLiteral("CAR.bin"), QByteArray(300, 'b')));
        QVERIFY(TestEnv::writeFile(dir + QStringLiteral("Names.txt"),
                                   R"({"info_list":[{"language":"en","name":"Car","file":"en.txt"}]})"));
        QVERIFY(TestEnv::writeFile(dir + QStringLiteral("Res/Text/en.txt"), "text"));
    }


    static void link(const QString &target, const QString &at)
    {
        QVERIFY(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0);
    }

private slots:
    void cleanup() { CardFs::setKernelResolve(true); }

    // A folder on the path to a vehicle is a link to a copy elsewhere:
    // following it would list that copy and delete it.
    void linkedFolderIsNeitherListedNorDeleted_data()
    {
        QTest::addColumn<QString>("linked");
        QTest::addColumn<bool>("kernel");
        for (const char *linked : {"Vehicles", "Vehicles/EU", "Vehicles/EU/CAR"}) {
            QTest::addRow("%s, kernel walk", linked) << QString::fromLatin1(linked) << true;
            QTest::addRow("%s, component walk", linked) << QString::fromLatin1(linked) << false;
        }
    }

    void linkedFolderIsNeitherListedNorDeleted()
    {
        QFETCH(QString, linked);
        QFETCH(bool, kernel);
        CardFs::setKernelResolve(kernel);

        const QString outside = newFolder(QStringLiteral("elsewhere"));
        writeVehicle(outside + QStringLiteral("Vehicles/EU/CAR/"));
        const QString card = newFolder(QStringLiteral("card"));
        QVERIFY(TestEnv::writeFile(card + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM"));
        // The card's own tree up to the linked folder, which points at the
        // same place in the copy.
        const int slash = linked.lastIndexOf(QLatin1Char('/'));
        if (slash > 0)
            QVERIFY(QDir().mkpath(card + linked.left(slash)));
        link(outside + linked, card + linked);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(outside);

        Vehicles scan{Card(card)};
        scan.ScanVehicles(card + QStringLiteral("Vehicles/"), true);
        QVERIFY(scan.mDatas.isEmpty());

        const QString vehicle = card + QStringLiteral("Vehicles/EU/CAR/");
        int count = -1;
        QCOMPARE(CalcSize(Card(card), vehicle, count), quint64(0));
        VehicleData direct;
        QVERIFY(!direct.ParseDirectory(vehicle, true, Card(card)));
        QVERIFY(!DirWalker::directories(card, QStringLiteral("Vehicles/"), {}).join(QString()).contains(
            QStringLiteral("CAR")));

        Vehicles uninstall{Card(card)};
        QVERIFY(!uninstall.DeleteDirectory(vehicle + QStringLiteral("Res/")));
        QCOMPARE(TestEnv::snapshot(outside), before);
        // Naming the link itself removes the link, nothing behind it.
        QVERIFY(uninstall.DeleteDirectory(card + linked));
        QVERIFY(!QFileInfo(card + linked).isSymLink());
        QCOMPARE(TestEnv::snapshot(outside), before);
    }

    // Single files of a vehicle (or the serial file) are links to files
    // elsewhere: none of them is read, and such a vehicle is not listed.
    void linkedFileIsNotRead_data()
    {
        QTest::addColumn<QString>("linked");
        QTest::newRow("version") << QStringLiteral("version.txt");
        QTest::newRow("names") << QStringLiteral("Names.txt");
        QTest::newRow("program file") << QStringLiteral("CAR.bin");
        // Its only text resource, and with it its only language entry.
        QTest::newRow("text resource") << QStringLiteral("Res/Text/en.txt");
        QTest::newRow("text folder") << QStringLiteral("Res/Text");
    }

    void linkedFileIsNotRead()
    {
        QFETCH(QString, linked);
        const QString outside = newFolder(QStringLiteral("elsewhere"));
        writeVehicle(outside);
        const QString card = newFolder(QStringLiteral("card"));
        const QString vehicle = card + QStringLiteral("Vehicles/EU/CAR/");
        writeVehicle(vehicle);
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), vehicle + linked});
        link(outside + linked, vehicle + linked);

        Vehicles scan{Card(card)};
        scan.ScanVehicles(card + QStringLiteral("Vehicles/"), true);
        QCOMPARE(scan.mDatas.size(), 0);
    }

    void linkedSerialFileIsNoSerial()
    {
        const QString outside = newFolder(QStringLiteral("elsewhere"));
        QVERIFY(TestEnv::writeFile(outside + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM"));
        const QString card = newFolder(QStringLiteral("card"));
        link(outside + QStringLiteral("sn.txt"), card + QStringLiteral("SN.TXT"));
        QVERIFY(CardHelpers::SerialFilePath(card).isEmpty());
        QVERIFY(CardHelpers::ReadSerialNumber(card).isEmpty());
    }

    void namesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("CAR0001");
        QTest::newRow("utf-8") << QByteArray("Fahrzeug-\xc3\xa4\xe8\xbd\xa6\xf0\x9f\x9a\x97");
        QTest::newRow("latin-1") << QByteArray("V\xe9hicule");
        QTest::newRow("gbk") << QByteArray("\xc6\xfb\xb3\xb5");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf" "b");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80");
        QTest::newRow("cut sequence") << QByteArray("x\xe8\xbd");
        QTest::newRow("past unicode") << QByteArray("\xf4\x90\x80\x80");
    }

    void namesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString name = CardFs::decodeName(bytes);
        QCOMPARE(CardFs::encodeName(name), bytes);
        // Two different names never become one.
        QVERIFY(CardFs::decodeName(bytes + "x") != name);

        // A vehicle folder by that name is listed and can be uninstalled.
        const QString card = newFolder(QStringLiteral("card"));
        const QByteArray area = QFile::encodeName(card + QStringLiteral("Vehicles/EU/"));
        QVERIFY(QDir().mkpath(card + QStringLiteral("Vehicles/EU")));
        const QByteArray folder = area + bytes;
        QVERIFY(::mkdir(folder.constData(), 0777) == 0);
        const QString vehicle = card + QStringLiteral("Vehicles/EU/") + name + QLatin1Char('/');
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(fd >= 0);
        for (const char *file : {"version.txt", "CAR.bin", "Names.txt"}) {
            const int out = ::openat(fd, file, O_WRONLY | O_CREAT, 0666);
            QVERIFY(out >= 0 && ::write(out, "{}", 2) == 2);
            ::close(out);
        }
        ::close(fd);

        Vehicles scan{Card(card)};
        scan.ScanVehicles(card + QStringLiteral("Vehicles/"), true);
        QCOMPARE(scan.mDatas.size(), 1);
        QCOMPARE(scan.mDatas.first().mDirPath, vehicle);
        QCOMPARE(scan.mDatas.first().mDirName, name);
        Vehicles uninstall{Card(card)};
        QVERIFY(uninstall.DeleteDirectory(scan.mDatas.first().mDirPath));
        QVERIFY(!QFileInfo::exists(card + QStringLiteral("Vehicles")));
    }

    void pathsNeverClimbOut_data()
    {
        QTest::addColumn<QByteArray>("relative");
        QTest::newRow("parent") << QByteArray("..");
        QTest::newRow("parent inside") << QByteArray("Vehicles/../../x");
        QTest::newRow("absolute") << QByteArray("/etc/passwd");
        QTest::newRow("empty component") << QByteArray("Vehicles//x");
        QTest::newRow("dot") << QByteArray("./Vehicles");
        QTest::newRow("nul") << QByteArray("Vehicles\0x", 10);
    }

    void pathsNeverClimbOut()
    {
        QFETCH(QByteArray, relative);
        const QString card = newFolder(QStringLiteral("card"));
        QVERIFY(QDir().mkpath(card + QStringLiteral("Vehicles/x")));
        const int root = CardFs::openRoot(card);
        QVERIFY(root >= 0);
        QCOMPARE(CardFs::openAt(root, relative, O_RDONLY), -1);
        QCOMPARE(CardFs::makeDirsAt(root, relative), -1);
        struct stat st;
        QVERIFY(!CardFs::statAt(root, relative, &st));
        ::close(root);
    }

    void foldersAreNeverMadeThroughALink()
    {
        const QString outside = newFolder(QStringLiteral("elsewhere"));
        const QString card = newFolder(QStringLiteral("card"));
        QVERIFY(QDir().mkpath(card + QStringLiteral("Vehicles")));
        link(outside, card + QStringLiteral("Vehicles/EU"));
        const int root = CardFs::openRoot(card);
        QCOMPARE(CardFs::makeDirsAt(root, "Vehicles/EU/CAR"), -1);
        const int made = CardFs::makeDirsAt(root, "Vehicles/US/CAR/Res");
        QVERIFY(made >= 0);
        ::close(made);
        ::close(root);
        QVERIFY(QFileInfo(card + QStringLiteral("Vehicles/US/CAR/Res")).isDir());
        QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // Folders nested far deeper than any card: the scan, the size and the
    // watch list stop at a sane depth, and a vehicle that cannot be deleted
    // whole is not deleted at all.
    void absurdNestingIsCut()
    {
        const QString card = newFolder(QStringLiteral("card"));
        const QString vehicle = card + QStringLiteral("Vehicles/EU/DEEP/");
        writeVehicle(vehicle);
        const int levels = 3 * DirWalker::kMaxDepth;
        for (const QString &start : QStringList{vehicle, card + QStringLiteral("Vehicles/")}) {
            int fd = ::open(QFile::encodeName(start).constData(), O_RDONLY | O_DIRECTORY);
            for (int i = 0; i < levels; ++i) {
                QVERIFY(::mkdirat(fd, "d", 0777) == 0);
                const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
                ::close(fd);
                fd = next;
            }
            const int file = ::openat(fd, "version.txt", O_WRONLY | O_CREAT, 0666);
            QVERIFY(file >= 0 && ::write(file, "V9", 2) == 2);
            ::close(file);
            ::close(fd);
        }

        Vehicles scan{Card(card)};
        scan.ScanVehicles(card + QStringLiteral("Vehicles/"), true);
        QCOMPARE(scan.mDatas.size(), 1);
        QCOMPARE(scan.mDatas.first().mDirName, QStringLiteral("DEEP"));
        QCOMPARE(scan.mDatas.first().mFileCount, 4); // what lies too deep is not counted
        QVERIFY(DirWalker::directories(card, QStringLiteral("Vehicles/"), {}).size() <= 2 * DirWalker::kMaxDepth + 8);

        Vehicles uninstall{Card(card)};
        QVERIFY(!uninstall.DeleteDirectory(vehicle));
        QVERIFY(QFileInfo::exists(vehicle + QStringLiteral("CAR.bin")));
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), card});
    }

    // A deletion cut short leaves a vehicle that is still listed, so the
    // rest can be uninstalled from the program later.
    void cutShortDeletionStaysListed()
    {
        const QString card = newFolder(QStringLiteral("card"));
        const QString vehicle = card + QStringLiteral("Vehicles/EU/CAR/");
        writeVehicle(vehicle);
        for (int i = 0; i < 20; ++i)
            QVERIFY(TestEnv::writeFile(vehicle + QStringLiteral("Data/f%1.dat").arg(i), QByteArray(100, 'd')));
        QVERIFY(TestEnv::writeFile(vehicle + QStringLiteral("a.dat"), "a"));

        Vehicles uninstall{Card(card)};
        int files = 0;
        connect(&uninstall, &Vehicles::SignalSizeChanged, this, [&] {
            if (++files == 21) // the last file of Data
                uninstall.OnStop(1);
        });
        QVERIFY(!uninstall.DeleteDirectory(vehicle));

        Vehicles scan{Card(card)};
        scan.ScanVehicles(card + QStringLiteral("Vehicles/"), true);
        QCOMPARE(scan.mDatas.size(), 1);
        QVERIFY(!QFileInfo::exists(vehicle + QStringLiteral("Data")));
        QVERIFY(!QFileInfo::exists(vehicle + QStringLiteral("a.dat")));
        QVERIFY(Vehicles(Card(card)).DeleteDirectory(vehicle));
        QVERIFY(!QFileInfo::exists(card + QStringLiteral("Vehicles")));
    }
};

QTEST_GUILESS_MAIN(TestHostileCard)
#include "tst_hostilecard.moc"
