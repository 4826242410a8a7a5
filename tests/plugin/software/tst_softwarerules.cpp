// The rules behind the software list: version order, size texts, installed
// versions and ticks, sorting, patch rows, the selection handed to the
// download, the checks before an upgrade and the vehicle relation table.
#include "FakePlatform.h"
#include "LanguageTable.h"
#include "SoftwareRows.h"
#include "TestEnv.h"
#include "UpgradeCheck.h"
#include "VehicleData.h"
#include "VehicleRelation.h"
#include "VersionOrder.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {
QStringList texts(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *text : list)
        out << QString::fromUtf8(text);
    return out;
}

SoftwareData software(long id, const char *softId, const char *type, const char *version,
                      const char *lang = "en", qint64 size = 1000, const char *name = nullptr)
{
    SoftwareData d;
    d.setId(id);
    d.setSoft_id(QString::fromUtf8(softId));
    d.setSoft_type(QString::fromUtf8(type));
    d.setVersion(QString::fromUtf8(version));
    d.setLang_code(QString::fromUtf8(lang));
    d.setSoft_size(QString::number(size));
    d.setSoft_name(QString::fromUtf8(name ? name : softId));
    return d;
}

// "DIR:VERSION:lang|lang;..." as catalogue records.
QList<VehicleData> catalogue(const char *text)
{
    const QString spec = QString::fromUtf8(text);
    QList<VehicleData> records;
    for (const QString &item : spec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        VehicleData record;
        record.mDirName = parts.value(0);
        record.mVersion = parts.value(1);
        record.mLanguages = parts.value(2).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        records << record;
    }
    return records;
}

bool writeRelations(const QString &file, const QList<QStringList> &rows)
{
    bool ok;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery query(db);
        ok = ok && query.exec(QStringLiteral("CREATE TABLE vehicle_relation (_id INTEGER, vehicle_id TEXT, parent TEXT)"));
        for (const QStringList &row : rows) {
            ok = ok && query.exec(QStringLiteral("INSERT INTO vehicle_relation VALUES (%1, '%2', '%3')")
                                      .arg(row.at(0), row.at(1), row.at(2)));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    return ok;
}
} // namespace

class TestSoftwareRules : public QObject
{
    Q_OBJECT

private slots:
    void versionOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("9 before 10") << "V9.50" << "V10.20" << -1;
        QTest::newRow("1.9 before 1.10") << "V1.9" << "V1.10" << -1;
        QTest::newRow("equal") << "V1.10" << "V1.10" << 0;
        QTest::newRow("empty is least") << "" << "V0.00" << -1;
        QTest::newRow("anything above empty") << "A" << "" << 1;
        QTest::newRow("equal widths as text") << "V1.05" << "V1.50" << -1;
        QTest::newRow("three parts") << "V2.01.003" << "V2.10" << -1;
        QTest::newRow("longer version") << "V1.1" << "V1.1.1" << -1;
        QTest::newRow("same value, text decides") << "V1.01" << "V1.1" << -1;
        QTest::newRow("letters as text") << "V1.0a" << "V1.0b" << -1;
        QTest::newRow("beyond 64 bits") << "V99999999999999999999" << "V100000000000000000000" << -1;
    }
    void versionOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int forward = VersionOrder::compare(a, b);
        const int backward = VersionOrder::compare(b, a);
        QCOMPARE((forward > 0) - (forward < 0), sign);
        QCOMPARE((backward > 0) - (backward < 0), -sign);
    }

    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        const qint64 KiB = 1024, MiB = KiB * KiB, GiB = MiB * KiB, TiB = GiB * KiB;
        QTest::newRow("zero") << qint64(0) << "";
        QTest::newRow("negative") << qint64(-5) << "";
        QTest::newRow("one byte") << qint64(1) << "1B";
        QTest::newRow("1024 bytes") << KiB << "1024B";
        QTest::newRow("just above") << KiB + 1 << "1KB";
        QTest::newRow("one and a half KiB") << KiB * 3 / 2 << "1.5KB";
        QTest::newRow("1001 KiB") << 1001 * KiB << "1001KB";
        // Three digits would round these to 1e+03.
        QTest::newRow("1000 bytes") << qint64(1000) << "1000B";
        QTest::newRow("999.7 KiB") << qint64(1023693) << "999.7KB";
        QTest::newRow("1 MiB") << MiB << "1024KB";
        QTest::newRow("three digits") << qint64(123456789) << "118MB";
        QTest::newRow("1 GiB") << GiB << "1024MB";
        QTest::newRow("2.5 GiB") << GiB * 5 / 2 << "2.5GB";
        QTest::newRow("1 TiB") << TiB << "1TB";
        QTest::newRow("2000 TiB") << 2000 * TiB << "2000TB";
    }
    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(SoftwareRows::sizeText(bytes), text);
    }

    void languageCodes()
    {
        QCOMPARE(LanguageTable::entries().size(), 19);
        QCOMPARE(LanguageTable::toCardCode(QStringLiteral("zh")), QStringLiteral("cn"));
        QCOMPARE(LanguageTable::toCardCode(QStringLiteral("zh_hk")), QStringLiteral("hk"));
        QCOMPARE(LanguageTable::toCardCode(QStringLiteral("sv")), QStringLiteral("se"));
        QCOMPARE(LanguageTable::toCardCode(QStringLiteral("de")), QStringLiteral("de"));
        QCOMPARE(LanguageTable::toServiceCode(QStringLiteral("HK")), QStringLiteral("zh_tw"));
        QCOMPARE(LanguageTable::toServiceCode(QStringLiteral("kr")), QStringLiteral("ko"));
        QCOMPARE(LanguageTable::toServiceCode(QStringLiteral("jp")), QStringLiteral("ja"));
    }

    void installedVersionAndTick_data()
    {
        QTest::addColumn<QString>("softId");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("required");
        // The program itself: its own version, never the card's.
        QTest::newRow("Ostrel") << "ostrel" << "APP" << "" << "V1.00.002" << "Ostrel:V9.99:" << "V1.00.001" << true << true;
        QTest::newRow("text library from Public") << "COMTXTLIB" << "COMTXTLIB" << "" << "V1.10" << "Public:V1.05:" << "V1.05" << true << true;
        QTest::newRow("text library from public, equal") << "comtxtlib" << "COMTXTLIB" << "" << "V1.10" << "X:V0.1:;public:V1.10:" << "V1.10" << false << true;
        QTest::newRow("zh_tw matches hk") << "BENZ" << "VEHICLE" << "zh_tw" << "V12.30" << "benz:V12.20:en|hk" << "V12.20" << true << false;
        QTest::newRow("language not on card") << "BENZ" << "VEHICLE" << "de" << "V12.30" << "BENZ:V12.30:en|cn" << "" << true << false;
        QTest::newRow("no language list") << "HOME" << "HOME" << "" << "V2.10" << "HOME:V2.10:" << "V2.10" << false << true;
        QTest::newRow("not on the card") << "DEMO" << "VEHICLE" << "en" << "V1.00" << "BENZ:V1.00:en" << "" << true << false;
        QTest::newRow("9.50 to 10.20") << "BMW" << "VEHICLE" << "en" << "V10.20" << "BMW:V9.50:en" << "V9.50" << true << false;
        QTest::newRow("1.9 to 1.10") << "BMW" << "VEHICLE" << "en" << "V1.10" << "BMW:V1.9:en" << "V1.9" << true << false;
        QTest::newRow("1.10 installed, 1.9 offered") << "BMW" << "VEHICLE" << "en" << "V1.9" << "BMW:V1.10:en" << "V1.10" << false << false;
        QTest::newRow("equal") << "BMW" << "Vehicle" << "en" << "V1.10" << "BMW:V1.10:en" << "V1.10" << false << false;
        QTest::newRow("type case-sensitive") << "FW" << "firmware" << "" << "V2" << "FW:V1:" << "V1" << true << false;
    }
    void installedVersionAndTick()
    {
        QFETCH(QString, softId);
        QFETCH(QString, type);
        QFETCH(QString, lang);
        QFETCH(QString, offered);
        QFETCH(QString, card);
        const QList<SoftwareDataWrap> rows = SoftwareRows::build(
            {software(1, qPrintable(softId), qPrintable(type), qPrintable(offered), qPrintable(lang))},
            catalogue(card.toUtf8().constData()), QStringLiteral("V1.00.001"));
        QCOMPARE(rows.size(), 1);
        QTEST(rows.first().getCurrentVersion(), "current");
        QTEST(rows.first().isChecked(), "checked");
        QTEST(rows.first().isRequired(), "required");
    }

    void headerFollowsOnlyOutdatedOptionalRows()
    {
        const QList<SoftwareDataWrap> rows = SoftwareRows::build(
            {software(1, "SAME", "VEHICLE", "V1.0"), software(2, "NEW", "VEHICLE", "V1.0"),
             software(3, "HOME", "HOME", "V2.0")},
            catalogue("SAME:V1.0:en;HOME:V1.0:"), QString());
        QCOMPARE(SoftwareRows::followsHeader(rows.at(0)), false);
        QCOMPARE(SoftwareRows::followsHeader(rows.at(1)), true);
        QCOMPARE(SoftwareRows::followsHeader(rows.at(2)), false);
    }

    void sortOrder_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("English: plain text") << "en" << texts({"OS", "HOME", "奔驰", "宝马", "阿尔法", "unticked"});
        QTest::newRow("Chinese: pinyin") << "zh" << texts({"OS", "HOME", "阿尔法", "宝马", "奔驰", "unticked"});
        QTest::newRow("Chinese (HK): pinyin") << "zh_hk" << texts({"OS", "HOME", "阿尔法", "宝马", "奔驰", "unticked"});
    }
    void sortOrder()
    {
        QFETCH(QString, language);
        QList<SoftwareDataWrap> rows = SoftwareRows::build(
            {software(1, "A", "VEHICLE", "V1", "en", 1, "宝马"),
             software(2, "B", "VEHICLE", "V1", "en", 1, "unticked"),
             software(3, "C", "HOME", "V1", "en", 1, "HOME"),
             software(4, "D", "VEHICLE", "V1", "en", 1, "阿尔法"),
             software(5, "E", "OS", "V1", "en", 1, "OS"),
             software(6, "F", "VEHICLE", "V1", "en", 1, "奔驰")},
            catalogue("B:V1:en"), QString());
        SoftwareRows::sort(rows, language);
        QStringList names;
        for (const SoftwareDataWrap &row : rows)
            names << row.getSoft_name();
        QTEST(names, "order");
    }

    void patchRowsAndSelection()
    {
        SoftwareData plain = software(10, "BENZ", "VEHICLE", "V12.30", "en", 3000);
        // An old version as the service may list it: without the package's names.
        plain.setVersion_history({software(11, "", "", "V12.20", "en", 2000)});
        SoftwareData chained = software(20, "BMW", "VEHICLE", "V9.50", "en", 5000);
        chained.setPatch_version({software(21, "BMW", "VEHICLE", "V9.51", "en", 100, "BMW fix"),
                                  software(22, "BMW", "VEHICLE", "V9.52", "en", 200, "BMW fix 2")});
        const QList<SoftwareDataWrap> rows = SoftwareRows::build(
            {plain, chained, software(30, "AUDI", "VEHICLE", "V1.00", "en", 7000),
             software(40, "VW", "VEHICLE", "V1.00", "en", 9000)},
            catalogue("VW:V1.00:en"), QString());

        const SoftwareRows::Cells patchCells = SoftwareRows::cellsOf(rows.at(1));
        QCOMPARE(patchCells.name, QStringLiteral("BMW fix"));
        QCOMPARE(patchCells.version, QStringLiteral("V9.51"));
        QCOMPARE(patchCells.size, SoftwareRows::sizeText(5100));
        QCOMPARE(patchCells.choices, texts({"V9.51", "V9.52"}));
        QCOMPARE(SoftwareRows::cellsOf(rows.at(0)).choices, texts({"V12.30", "V12.20"}));
        QCOMPARE(SoftwareRows::sizeTextFor(rows.at(0), QStringLiteral("V12.20")), SoftwareRows::sizeText(2000));
        QCOMPARE(SoftwareRows::sizeTextFor(rows.at(1), QStringLiteral("V9.52")), SoftwareRows::sizeText(5200));

        // History version, patch chain, server version; the equal VW row is not ticked.
        const QList<SoftwareDataWrap> chosen =
            SoftwareRows::collect(rows, {QStringLiteral("V12.20"), QStringLiteral("V9.52"), QStringLiteral("V1.00"),
                                         QStringLiteral("V1.00")});
        QCOMPARE(chosen.size(), 3);
        QCOMPARE(chosen.at(0).getId(), 11L);
        QCOMPARE(chosen.at(0).getSoft_id() + chosen.at(0).getSoft_name() + chosen.at(0).getSoft_type(),
                 QStringLiteral("BENZBENZVEHICLE"));
        QCOMPARE(chosen.at(1).getId(), 20L);
        QCOMPARE(chosen.at(1).getPatch_version().size(), 1);
        QCOMPARE(chosen.at(1).getPatch_version().first().getId(), 22L);
        QCOMPARE(chosen.at(1).SoftwareData::getPatch_version().size(), 1);
        QCOMPARE(chosen.at(2).getId(), 30L);
        QCOMPARE(SoftwareRows::totalSize(chosen), qint64(2000 + 5000 + 200 + 7000));

        // An answer that repeats ids: the package listed twice goes once, a
        // chain whose patch is another package or itself is left out.
        SoftwareData clash = software(50, "OPEL", "VEHICLE", "V2.00", "en", 100);
        clash.setPatch_version({software(30, "OPEL", "VEHICLE", "V2.01", "en", 10)});
        SoftwareData loop = software(60, "SEAT", "VEHICLE", "V2.00", "en", 100);
        loop.setPatch_version({software(60, "SEAT", "VEHICLE", "V2.01", "en", 10)});
        const QList<SoftwareDataWrap> repeated = SoftwareRows::build(
            {software(30, "AUDI", "VEHICLE", "V1.00", "en", 7000), software(30, "AUDI", "VEHICLE", "V1.00", "en", 7000),
             clash, loop, software(70, "SKODA", "VEHICLE", "V1.00", "en", 1)},
            catalogue(""), QString());
        QList<long> ids;
        for (const SoftwareDataWrap &record : SoftwareRows::collect(repeated, {}))
            ids << record.getId();
        QCOMPARE(ids, QList<long>({30, 70}));
    }

    void upgradeChecks_data()
    {
        QTest::addColumn<bool>("uninstalling");
        QTest::addColumn<int>("selected");
        QTest::addColumn<qint64>("localFree"); // -1: cannot be read
        QTest::addColumn<qint64>("cardFree");
        QTest::addColumn<int>("result");
        const qint64 R = UpgradeCheck::Reserve, MB = 1 << 20, size = 100 * MB;
        QTest::newRow("uninstall running") << true << 1 << 10 * R << 10 * R << int(UpgradeCheck::Uninstalling);
        QTest::newRow("nothing ticked") << false << 0 << 10 * R << 10 * R << int(UpgradeCheck::NothingSelected);
        QTest::newRow("2 GB local, 400 MB card") << false << 1 << 2048 * MB << 400 * MB << int(UpgradeCheck::CardSpace);
        QTest::newRow("local below reserve") << false << 1 << R - 1 << 10 * R << int(UpgradeCheck::LocalSpace);
        QTest::newRow("local one byte short") << false << 1 << R + size - 1 << 10 * R << int(UpgradeCheck::LocalSpace);
        QTest::newRow("local exactly enough") << false << 1 << R + size << R + 5 * size << int(UpgradeCheck::Pass);
        QTest::newRow("card one byte short") << false << 1 << 10 * R << R + 5 * size - 1 << int(UpgradeCheck::CardSpace);
        QTest::newRow("local unreadable is skipped") << false << 1 << qint64(-1) << 10 * R << int(UpgradeCheck::Pass);
        QTest::newRow("card unreadable") << false << 1 << 10 * R << qint64(-1) << int(UpgradeCheck::NoCard);
    }
    void upgradeChecks()
    {
        QFETCH(bool, uninstalling);
        QFETCH(int, selected);
        QFETCH(qint64, localFree);
        QFETCH(qint64, cardFree);
        FakePlatform platform;
        const QString data = QStringLiteral("/data/folder");
        const QString card = QStringLiteral("/media/card/");
        // The install folder's disk has room; only the data folder's counts.
        platform.fakeVolumes().setSpace(QStringLiteral("/install"), 100LL << 30, 100LL << 30);
        if (localFree >= 0)
            platform.fakeVolumes().setSpace(data, localFree, 1LL << 40);
        if (cardFree >= 0)
            platform.fakeVolumes().setSpace(card, cardFree, 1LL << 40);
        // 100 MiB in all: 60 MiB of package plus a 40 MiB patch.
        SoftwareData package = software(1, "BMW", "VEHICLE", "V2", "en", 60 << 20);
        package.setPatch_version({software(2, "BMW", "VEHICLE", "V2.1", "en", 40 << 20)});
        QList<SoftwareDataWrap> selection;
        if (selected)
            selection << SoftwareDataWrap(package);
        const UpgradeCheck::Outcome outcome = UpgradeCheck::run(uninstalling, selection, data, Card(card));
        QTEST(int(outcome.result), "result");
        QCOMPARE(outcome.text.isEmpty(), outcome.result == UpgradeCheck::Pass);
    }

    void vehicleRelation()
    {
        TestEnv env;
        const QString file = env.root() + QStringLiteral("/relation.db");
        QVERIFY(writeRelations(file, {texts({"1", "MINI", "BMW"}), texts({"2", "SMART", "BENZ"}), texts({"3", "MINI", "ROVER"})}));
        const VehicleRelation relation(file);
        QCOMPARE(relation.GetParent(QStringLiteral("MINI")), QStringLiteral("ROVER"));
        QCOMPARE(relation.GetParent(QStringLiteral("SMART")), QStringLiteral("BENZ"));
        QCOMPARE(relation.GetParent(QStringLiteral("BMW")), QString());

        const QString missing = env.root() + QStringLiteral("/missing.db");
        QCOMPARE(VehicleRelation(missing).size(), 0);
        QVERIFY(!QFile::exists(missing));
        const QString broken = env.root() + QStringLiteral("/broken.db");
        QVERIFY(TestEnv::writeFile(broken, "not a database"));
        QCOMPARE(VehicleRelation(broken).size(), 0);

        // The database the program ships, made from its source at build time.
        const VehicleRelation shipped(TestEnv::buildBinDir() + QStringLiteral("/db/vehicle_relation.db"));
        QVERIFY(shipped.size() > 0);
        QCOMPARE(shipped.GetParent(QStringLiteral("MINI")), QStringLiteral("BMW"));
    }
};

QTEST_GUILESS_MAIN(TestSoftwareRules)
#include "tst_softwarerules.moc"
