// The on-card catalogue: directory layout, Names.txt, versions and order.
#include "AppSettings.h"
#include "CardLogCapture.h"
#include "Catalogue.h"
#include "LanguageCodes.h"
#include "TestEnv.h"
#include "Vehicles.h"

#include <QTextCodec>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Files = QList<QPair<QString, QByteArray>>;
Q_DECLARE_METATYPE(Files)

namespace {
QByteArray names(const QByteArray &link, const QByteArray &area, const QByteArray &infoList)
{
    QByteArray json = "{";
    if (!link.isNull())
        json += "\"link\":\"" + link + "\",";
    if (!area.isNull())
        json += "\"area\":\"" + area + "\",";
    if (!infoList.isNull())
        json += "\"info_list\":" + infoList + ",";
    json.chop(1);
    return json + "}";
}

const QByteArray kDemoInfo = "[{\"language\":\"en\",\"name\":\"Demo car\",\"file\":\"demo_en.txt\"}]";

Files demoVehicle()
{
    return {{QStringLiteral("Vehicles/EU/DEMO/version.txt"), "  V10.20\r\n"},
            {QStringLiteral("Vehicles/EU/DEMO/DEMO.bin"), "bin"},
            {QStringLiteral("Vehicles/EU/DEMO/Names.txt"), names("DEMO", "EU", kDemoInfo)},
            {QStringLiteral("Vehicles/EU/DEMO/Res/Text/demo_en.txt"), "text"}};
}

Files without(Files files, const QString &path)
{
    for (int i = 0; i < files.size(); ++i) {
        if (files.at(i).first == path)
            files.removeAt(i--);
    }
    return files;
}

Files with(Files files, const QString &path, const QByteArray &content)
{
    files = without(files, path);
    files.append({path, content});
    return files;
}

QString describe(const QList<VehicleData> &list)
{
    QStringList out;
    for (const VehicleData &v : list)
        out << v.mDirName + QLatin1Char('|') + v.mVersion + QLatin1Char('|') + v.DisplayName() + QLatin1Char('|')
                + v.mLanguages.join(QLatin1Char(','));
    out.sort();
    return out.join(QLatin1Char(';'));
}
} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

    // Every card of this test is mounted below a path holding "home" and
    // "public", which must not make its vehicles look like HOME.
    QString makeCard(const Files &files)
    {
        const QString root = mEnv.makeDir(QStringLiteral("mnt/home/public/CARD%1").arg(++mCards)) + QLatin1Char('/');
        for (const auto &f : files)
            TestEnv::writeFile(root + f.first, f.second);
        return root;
    }

    TestEnv mEnv;
    int mCards = 0;

private slots:
    void records_data()
    {
        const QString demo = QStringLiteral("Vehicles/EU/DEMO/");
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("expected");

        QTest::newRow("demo") << demoVehicle() << QStringLiteral("DEMO|V10.20|Demo car|en");
        QTest::newRow("no program file") << without(demoVehicle(), demo + QStringLiteral("DEMO.bin")) << QString();
        QTest::newRow("program file in upper case")
            << with(without(demoVehicle(), demo + QStringLiteral("DEMO.bin")), demo + QStringLiteral("X.BIN"), "b")
            << QStringLiteral("DEMO|V10.20|Demo car|en");
        QTest::newRow("program file only below")
            << with(without(demoVehicle(), demo + QStringLiteral("DEMO.bin")), demo + QStringLiteral("sub/X.bin"), "b")
            << QString();
        QTest::newRow("empty info_list")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"), names("DEMO", "EU", "[]")) << QString();
        QTest::newRow("no info_list")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"), names("DEMO", "EU", QByteArray()))
            << QStringLiteral("DEMO|V10.20|DEMO|");
        QTest::newRow("only resource missing")
            << without(demoVehicle(), demo + QStringLiteral("Res/Text/demo_en.txt")) << QString();
        QTest::newRow("one of two resources missing")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"),
                    names("DEMO", "EU",
                          "[{\"language\":\"de\",\"name\":\"Auto\",\"file\":\"gone.txt\"},"
                          "{\"language\":\"en\",\"name\":\"Demo car\",\"file\":\"demo_en.txt\"},"
                          "{\"name\":\"no language\"}, 7]"))
            << QStringLiteral("DEMO|V10.20|Demo car|en");
        QTest::newRow("entry without file")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"),
                    names("DEMO", "EU", "[{\"language\":\"fr\",\"name\":\"Voiture\"}]"))
            << QStringLiteral("DEMO|V10.20|DEMO|fr");
        QTest::newRow("blank version") << with(demoVehicle(), demo + QStringLiteral("version.txt"), " \r\n\t\n")
                                       << QString();
        QTest::newRow("home and public")
            << Files{{QStringLiteral("Vehicles/HOME/version.txt"), "V2.01"},
                     {QStringLiteral("Vehicles/Public/version.txt"), "V1.10"}}
            << QStringLiteral("HOME|V2.01|HOME|;Public|V1.10|Common Text Library|");
        QTest::newRow("HOMEBREW is home")
            << Files{{QStringLiteral("Vehicles/EU/HOMEBREW/version.txt"), "V3"}}
            << QStringLiteral("HOMEBREW|V3|HOME|");
        QTest::newRow("nested vehicle not searched")
            << (demoVehicle() + Files{{demo + QStringLiteral("INNER/version.txt"), "V9"},
                                      {demo + QStringLiteral("INNER/Names.txt"), names(QByteArray(), QByteArray(), QByteArray())},
                                      {demo + QStringLiteral("INNER/I.bin"), "b"}})
            << QStringLiteral("DEMO|V10.20|Demo car|en");
        QTest::newRow("no Names.txt") << without(demoVehicle(), demo + QStringLiteral("Names.txt")) << QString();
        // Broken cards: files far beyond any real size are not read at all.
        QTest::newRow("oversized Names.txt")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"),
                    names("DEMO", "EU", kDemoInfo) + QByteArray(5 * 1024 * 1024, ' '))
            << QString();
        QTest::newRow("oversized version.txt")
            << with(demoVehicle(), demo + QStringLiteral("version.txt"), "V1" + QByteArray(5 * 1024 * 1024, '\n'))
            << QString();
        QTest::newRow("version.txt with a byte-order mark")
            << with(demoVehicle(), demo + QStringLiteral("version.txt"), "\xEF\xBB\xBFV10.20")
            << QStringLiteral("DEMO|V10.20|Demo car|en");

        QTest::newRow("link leaving the card")
            << with(demoVehicle(), demo + QStringLiteral("Names.txt"), names("../EU/DEMO", "EU", kDemoInfo)) << QString();
        QTest::newRow("linked vehicle")
            << Files{{QStringLiteral("Vehicles/EU/OLD/version.txt"), "V0"},
                     {QStringLiteral("Vehicles/EU/OLD/Names.txt"),
                      names("NEW", "ASIA", "[{\"language\":\"en\",\"name\":\"Linked\",\"file\":\"l.txt\"}]")},
                     {QStringLiteral("Vehicles/ASIA/NEW/N.bin"), "b"},
                     {QStringLiteral("Vehicles/ASIA/NEW/Res/Text/l.txt"), "t"},
                     {QStringLiteral("Vehicles/ASIA/NEW/version.txt"), "V7.00"}}
            << QStringLiteral("OLD|V7.00|Linked|en");
    }

    void records()
    {
        QFETCH(Files, files);
        AppSettings::setLanguage(4);
        const QString root = makeCard(files);
        Vehicles vehicles{Card(root)};
        QSignalSpy found(&vehicles, &Vehicles::SignalSizeChanged);
        QVERIFY(vehicles.ScanVehicles(root + QStringLiteral("Vehicles/"), true));
        QTEST(describe(vehicles.mDatas), "expected");
        QCOMPARE(found.count(), vehicles.mDatas.size());
        for (const VehicleData &v : qAsConst(vehicles.mDatas)) {
            QVERIFY(v.mDirPath.startsWith(root));
            QVERIFY(v.mDirPath.endsWith(v.mDirName + QLatin1Char('/')));
            QCOMPARE(v.mState, (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
            QVERIFY(v.mFileCount > 0);
            if (!v.mNamesTxt.mLink.isEmpty())
                QCOMPARE(v.mVehiclePath, root + QStringLiteral("Vehicles/") + v.mNamesTxt.mArea + QLatin1Char('/')
                                             + v.mNamesTxt.mLink + QLatin1Char('/'));
        }
    }

    void sizesCountEveryFileBelow()
    {
        const QString root = makeCard(demoVehicle());
        Vehicles vehicles{Card(root)};
        QVERIFY(vehicles.ScanVehicles(root + QStringLiteral("Vehicles"), true));
        QCOMPARE(vehicles.mDatas.size(), 1);
        const VehicleData &v = vehicles.mDatas.first();
        QCOMPARE(v.mFileCount, 4);
        QCOMPARE(v.mSize, quint64(10 + 3 + names("DEMO", "EU", kDemoInfo).size() + 4));

        Vehicles withoutSizes{Card(root)};
        QVERIFY(withoutSizes.ScanVehicles(root + QStringLiteral("Vehicles/"), false));
        QCOMPARE(withoutSizes.mDatas.first().mSize, quint64(0));
    }

    void missingScanRootIsLogged()
    {
        CardLogCapture log;
        Vehicles vehicles{Card(mEnv.root() + QStringLiteral("/absent"))};
        QVERIFY(!vehicles.ScanVehicles(mEnv.root() + QStringLiteral("/absent/Vehicles/"), true));
        QVERIFY(vehicles.mDatas.isEmpty());
        QCOMPARE(log.count(QStringLiteral("ScanVehicles，没有发现文件夹：")), 1);
    }

    void invalidJsonLogsOneLine()
    {
        const QString root = makeCard(with(demoVehicle(), QStringLiteral("Vehicles/EU/DEMO/Names.txt"), "{\"link\": \"DEMO\","));
        CardLogCapture log;
        Vehicles vehicles{Card(root)};
        QVERIFY(vehicles.ScanVehicles(root + QStringLiteral("Vehicles/"), true));
        QVERIFY(vehicles.mDatas.isEmpty());
        QCOMPARE(log.count(QStringLiteral("ParseJson 方法，json error : ")), 1);
        QVERIFY(log.lines().filter(QStringLiteral("ParseJson")).first().contains(QStringLiteral(", 数据：{\"link\"")));
    }

    void encodingFollowsInterfaceLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("expected");
        const QString chinese = QString::fromUtf8("大众汽车");
        QTest::newRow("cn reads GB2312") << 0 << QByteArray("GB2312") << chinese;
        QTest::newRow("hk reads BIG5") << 1 << QByteArray("Big5") << QString::fromUtf8("大眾汽車");
        QTest::newRow("en reads UTF-8") << 4 << QByteArray("UTF-8") << QStringLiteral("Volkswagen");
        QTest::newRow("unknown index reads as en") << 16 << QByteArray("UTF-8") << QStringLiteral("Volkswagen");
        QTest::newRow("en reads GB2312 as UTF-8") << 4 << QByteArray("GB2312") << QStringLiteral("Volkswagen");
        QTest::newRow("cn reads a marked UTF-8 file") << 0 << QByteArray("UTF-8 marked") << chinese;
        QTest::newRow("cn reads marked UTF-16") << 0 << QByteArray("UTF-16") << chinese;
        QTest::newRow("en reads marked UTF-16") << 4 << QByteArray("UTF-16") << QStringLiteral("Volkswagen");
    }

    void encodingFollowsInterfaceLanguage()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, codec);
        const QString json = QString::fromUtf8(
            "{\"link\":\"VW\",\"area\":\"CN\",\"info_list\":["
            "{\"language\":\"cn\",\"name\":\"大众汽车\",\"file\":\"cn.txt\"},"
            "{\"language\":\"hk\",\"name\":\"大眾汽車\",\"file\":\"cn.txt\"},"
            "{\"language\":\"en\",\"name\":\"Volkswagen\",\"file\":\"en.txt\"}]}");
        const QString root = makeCard({{QStringLiteral("Vehicles/CN/VW/version.txt"), "V1"},
                                       {QStringLiteral("Vehicles/CN/VW/VW.bin"), "b"},
                                       {QStringLiteral("Vehicles/CN/VW/Res/Text/cn.txt"), "t"},
                                       {QStringLiteral("Vehicles/CN/VW/Res/Text/en.txt"), "t"},
                                       {QStringLiteral("Vehicles/CN/VW/Names.txt"),
                                        codec == "UTF-8 marked" ? "\xEF\xBB\xBF" + json.toUtf8()
                                                                : QTextCodec::codecForName(codec)->fromUnicode(json)}});
        AppSettings::setLanguage(language);
        QCOMPARE(GetLanguageCode(), LanguageCodes::codeOf(language));
        Vehicles vehicles{Card(root)};
        vehicles.ScanVehicles(root + QStringLiteral("Vehicles/"), false);
        QFETCH(QString, expected);
        if (expected.isEmpty()) {
            QVERIFY(vehicles.mDatas.isEmpty());
        } else {
            QCOMPARE(vehicles.mDatas.size(), 1);
            QCOMPARE(vehicles.mDatas.first().DisplayName(), expected);
            QCOMPARE(vehicles.mDatas.first().mLanguages.size(), 3);
        }
        AppSettings::setLanguage(4);
    }

    // A pipe where a card file should be must not block the scan forever.
    void pipesOnTheCardDoNotBlock()
    {
        const QString root = makeCard(
            without(demoVehicle(), QStringLiteral("Vehicles/EU/DEMO/Names.txt"))
            + Files{{QStringLiteral("Vehicles/EU/OLD/version.txt"), "V0"},
                    {QStringLiteral("Vehicles/EU/OLD/Names.txt"), names("NEW", "ASIA", QByteArray())},
                    {QStringLiteral("Vehicles/ASIA/NEW/N.bin"), "b"}});
        const QStringList pipes = {root + QStringLiteral("Vehicles/EU/DEMO/Names.txt"),
                                   root + QStringLiteral("Vehicles/ASIA/NEW/version.txt")};
        for (const QString &p : pipes)
            QCOMPARE(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);

        Vehicles vehicles{Card(root)};
        NamesTxt direct;
        std::atomic<bool> done{false};
        std::unique_ptr<QThread> worker(QThread::create([&] {
            vehicles.ScanVehicles(root + QStringLiteral("Vehicles/"), true);
            direct.ParseNamesTxt(pipes.first());
            done = true;
        }));
        worker->start();
        const bool finished = QTest::qWaitFor([&] { return done.load(); }, 5000);
        // Release blocked readers, if any, so the test can end.
        while (!worker->wait(50)) {
            for (const QString &p : pipes) {
                const int fd = ::open(QFile::encodeName(p).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        }
        QVERIFY(finished);
        QVERIFY(vehicles.mDatas.isEmpty());
    }

    void sorting_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        const QStringList cjk = {QString::fromUtf8("长城"), QString::fromUtf8("北汽"), QString::fromUtf8("奥迪")};
        QTest::newRow("en by character code") << 4 << QStringList{QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a")}
                                              << QStringList{QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("cn by pinyin") << 0 << cjk
                                      << QStringList{QString::fromUtf8("奥迪"), QString::fromUtf8("北汽"), QString::fromUtf8("长城")};
        QTest::newRow("de falls back to character code") << 2 << cjk
                                                         << QStringList{QString::fromUtf8("北汽"), QString::fromUtf8("奥迪"),
                                                                        QString::fromUtf8("长城")};
        QTest::newRow("jp by Japanese collation")
            << 8 << QStringList{QString::fromUtf8("か"), QString::fromUtf8("ア")}
            << QStringList{QString::fromUtf8("ア"), QString::fromUtf8("か")};
    }

    void sorting()
    {
        QFETCH(int, language);
        QFETCH(QStringList, names);
        AppSettings::setLanguage(language);
        const QString code = LanguageCodes::codeOf(language);
        QList<VehicleData> list;
        for (const QString &n : qAsConst(names)) {
            VehicleData v;
            v.mNamesTxt.mCurrent.mName = n;
            v.mNamesTxt.mCurrent.mLanguage = code;
            list.append(v);
        }
        SortVehicles(list);
        QStringList sorted;
        for (const VehicleData &v : qAsConst(list))
            sorted << v.DisplayName();
        QTEST(sorted, "sorted");
        for (int i = 1; i < list.size(); ++i)
            QVERIFY(!VehicleLessThan(list.at(i), list.at(i - 1)));
        VehicleData empty;
        empty.mNamesTxt.mCurrent.mLanguage = code;
        QVERIFY(!VehicleLessThan(empty, empty));
        AppSettings::setLanguage(4);
    }

    // The sort needs a consistent order whatever mix of records a card
    // holds: HOME and the text library carry no language entry at all.
    void sortOrderIsConsistent_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("cn") << 0;
        QTest::newRow("jp") << 8;
        QTest::newRow("en") << 4;
    }

    void sortOrderIsConsistent()
    {
        QFETCH(int, language);
        AppSettings::setLanguage(language);
        const QString code = LanguageCodes::codeOf(language);
        const QStringList names = {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a"),
                                   QStringLiteral("A"), QStringLiteral("HOME"), QStringLiteral("Common Text Library"),
                                   QString::fromUtf8("长城"), QString::fromUtf8("奥迪"), QString::fromUtf8("か"),
                                   QStringLiteral("a1"), QStringLiteral("A1"), QString()};
        QList<VehicleData> list;
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < names.size(); ++i) {
                VehicleData v;
                v.mNamesTxt.mCurrent.mName = names.at(i);
                // Every other record lacks an entry for the interface language.
                v.mNamesTxt.mCurrent.mLanguage = (i + round) % 2 ? code : QStringLiteral("xx");
                list.append(v);
            }
        }
        for (const VehicleData &x : qAsConst(list)) {
            for (const VehicleData &y : qAsConst(list))
                QVERIFY2(!(VehicleLessThan(x, y) && VehicleLessThan(y, x)),
                         qPrintable(x.DisplayName() + QLatin1String(" / ") + y.DisplayName()));
        }
        SortVehicles(list);
        for (int i = 0; i < list.size(); ++i) {
            for (int j = i + 1; j < list.size(); ++j)
                QVERIFY(!VehicleLessThan(list.at(j), list.at(i)));
        }
        AppSettings::setLanguage(4);
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
