// The software list page against the stand-in service, on generated cards
// behind the fake volume layer: matching the product, the language list,
// the rows, ticking, card changes, refreshes and the upgrade checks.
#include "AppSettings.h"
#include "CardCheck.h"
#include "CardPrompt.h"
#include "MyCheckBox.h"
#include "MyHeader.h"
#include "MyTableModel.h"
#include "PluginPageFixture.h"
#include "QuerySoftwareThread.h"
#include "SampleCardGenerator.h"
#include "SoftwareInfoWidget.h"
#include "SoftwareRows.h"
#include "Toast.h"

#include <Sornet/Code.h>

#include <QComboBox>
#include <QDir>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const auto rule = &StandInService::fault;
const QString Alice = QStringLiteral("ABCDEFGHIJKLM");


int indexOf(const SoftwareInfoWidget *page, const char *softId)
{
    for (int i = 0; i < page->rows().size(); ++i) {
        if (page->rows().at(i).getSoft_id() == QLatin1String(softId))
            return i;
    }
    return -1;
}
} // namespace

class TestSoftwarePage : public QObject
{
    Q_OBJECT

    PluginPageFixture mFx;
    QPointer<SoftwareInfoWidget> mPage;
    int mCards = 0;

    // A card with the generated vehicles plus BENZ V12.30 in English.
    QString makeCard(const QString &serial)
    {
        const QString root = mFx.env().makeDir(QStringLiteral("cards/%1").arg(++mCards)) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = serial;
        options.vehicles = 2;
        SampleCardGenerator generator(options);
        if (!generator.generate(root))
            qWarning("card not written");
        const QString benz = root + QStringLiteral("Vehicles/EU/BENZ/");
        QDir().mkpath(benz + QStringLiteral("Res/Text"));
        TestEnv::writeFile(benz + QStringLiteral("Res/Text/BENZ_EN.txt"), "texts");
        TestEnv::writeFile(benz + QStringLiteral("version.txt"), "V12.30\n");
        TestEnv::writeFile(benz + QStringLiteral("BENZ.bin"), "program");
        TestEnv::writeFile(benz + QStringLiteral("Names.txt"),
                           "{\"link\":\"BENZ\",\"area\":\"EU\",\"info_list\":"
                           "[{\"language\":\"en\",\"name\":\"Benz\",\"file\":\"BENZ_EN.txt\"}]}");
        return root;
    }

    // A card of generated vehicles only; empty when it could not be written.
    QString generatedCard(const QString &folder, const QString &serial, int vehicles, int filesPerVehicle)
    {
        const QString root = mFx.env().makeDir(folder) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = serial;
        options.vehicles = vehicles;
        options.filesPerVehicle = filesPerVehicle;
        return SampleCardGenerator(options).generate(root) ? root : QString();
    }

    SoftwareInfoWidget *open(bool wait = true)
    {
        mPage = new SoftwareInfoWidget;
        mPage->resize(912, 766);
        mPage->show();
        if (wait) {
            QApplication::setActiveWindow(mPage);
            if (!QTest::qWaitForWindowActive(mPage) || !waitIdle())
                qWarning("page not active or still querying");
        }
        return mPage;
    }

    bool waitIdle()
    {
        return QTest::qWaitFor([this] { return mPage && !mPage->isQuerying(); }, 20000);
    }

    MyCheckBox *box(int row) const
    {
        auto *table = mPage->findChild<QTableView *>(QStringLiteral("tableView"));
        return qobject_cast<MyCheckBox *>(table->indexWidget(mPage->model()->index(row, 0)));
    }

    int softSearches() const { return mFx.service().requestsTo(QStringLiteral("/KvaApi/user/soft_search")).size(); }

private slots:
    // Every message box is read and confirmed with its first button.
    void initTestCase() { QVERIFY(mFx.start()); }
    void init() { QVERIFY(mFx.reset(2)); } // de

    void cleanup()
    {
        delete mPage.data();
        mFx.release();
        QFile::remove(mFx.env().installDir() + QStringLiteral("/db/vehicle_relation.db"));
    }

    void listsTheCardsProductSoftware()
    {
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        auto *languages = mPage->findChild<QComboBox *>(QStringLiteral("languages"));
        QStringList names;
        for (int i = 0; i < languages->count(); ++i)
            names << languages->itemText(i);
        QCOMPARE(names, QStringList({QStringLiteral("Chinese Simplified"), QStringLiteral("Chinese Traditional(TW)"),
                                     QStringLiteral("German"), QStringLiteral("English"), QStringLiteral("French"),
                                     QStringLiteral("Japanese")}));
        QCOMPARE(languages->currentText(), QStringLiteral("German"));

        const QJsonArray searches = mFx.service().requestsTo(QStringLiteral("/KvaApi/user/soft_search"));
        QCOMPARE(searches.size(), 1);
        const QUrlQuery query(searches.first().toObject().value(QStringLiteral("query")).toString());
        QCOMPARE(query.queryItemValue(QStringLiteral("serial_number")), Alice);
        QCOMPARE(query.queryItemValue(QStringLiteral("lang_code")), QStringLiteral("de"));
        QCOMPARE(query.queryItemValue(QStringLiteral("default_lang_code")), QStringLiteral("en"));
        QCOMPARE(query.queryItemValue(QStringLiteral("token")), QStringLiteral("token-alice"));
        QCOMPARE(query.queryItemValue(QStringLiteral("user_id")), QStringLiteral("1001"));

        QVERIFY(mPage->rows().size() >= 6);
        QCOMPARE(mPage->model()->rowCount(), mPage->rows().size());
        const SoftwareDataWrap &home = mPage->rows().at(indexOf(mPage, "HOME"));
        QCOMPARE(home.getCurrentVersion(), QStringLiteral("V2.01.003"));
        QVERIFY(home.isChecked());
        QVERIFY(!box(indexOf(mPage, "HOME"))->isEnabled());
        // V1.10 on the card is newer than V1.05.
        QCOMPARE(mPage->rows().at(indexOf(mPage, "COMTXTLIB")).getCurrentVersion(), QStringLiteral("V1.10"));
        QVERIFY(!mPage->rows().at(indexOf(mPage, "COMTXTLIB")).isChecked());
        // The German BENZ package is not on the card, only the English one.
        const int benz = indexOf(mPage, "BENZ");
        QCOMPARE(mPage->rows().at(benz).getCurrentVersion(), QString());
        QVERIFY(box(benz)->isChecked());
        const int bmw = indexOf(mPage, "BMW");
        QCOMPARE(mPage->model()->value(bmw, SoftwareInfoWidget::NameColumn).toString(), QStringLiteral("BMW patch"));
        // Before a batch each row says where it stands.
        const auto stateOf = [this](const char *softId) {
            return mPage->model()->value(indexOf(mPage, softId), SoftwareInfoWidget::StateColumn).toString();
        };
        QCOMPARE(stateOf("HOME"), QStringLiteral("Update available"));
        QCOMPARE(stateOf("COMTXTLIB"), QStringLiteral("Up to date"));
        QCOMPARE(stateOf("BENZ"), QStringLiteral("Not installed"));
        // A row the mechanic cannot untick says why.
        const QString why = QStringLiteral("Always kept up to date: the scanner needs this software.");
        QCOMPARE(box(indexOf(mPage, "HOME"))->toolTip(), why);
        QCOMPARE(box(indexOf(mPage, "HOME"))->accessibleDescription(), why);
        QCOMPARE(box(benz)->accessibleDescription(), QString());
        // Every row the header can tick is ticked; beside the button, what that fetches.
        QCOMPARE(mPage->findChild<MyHeader *>()->checkState(), Qt::Checked);
        const QList<SoftwareDataWrap> chosen = mPage->selection();
        QCOMPARE(mPage->selectionSummary(), QStringLiteral("%1 selected \u00B7 %2")
                                                .arg(chosen.size())
                                                .arg(SoftwareRows::sizeText(SoftwareRows::totalSize(chosen))));
        QCOMPARE(mPage->findChild<QLabel *>(QStringLiteral("selectionSummary"))->text(), mPage->selectionSummary());
        QVERIFY(!mPage->rows().first().getSoft_id().isEmpty() && mPage->rows().last().getSoft_id() == QLatin1String("COMTXTLIB"));
        // A name that looks like markup: its tool tip shows it as written,
        // not a picture from the disk.
        QTextDocument tip;
        tip.setHtml(box(indexOf(mPage, "TOYOTA"))->toolTip());
        QCOMPARE(tip.toPlainText(), QStringLiteral("<img src=\"/usr/share/pixmaps/debian-logo.png\">Toyota"));

        // The focus going round the page never picks a row out.
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : mPage.data(), Qt::Key_Tab);
        QVERIFY(!mPage->findChild<QTableView *>(QStringLiteral("tableView"))->selectionModel()->hasSelection());
    }

    void headerAndParentTicks()
    {
        QDir().mkpath(mFx.env().installDir() + QStringLiteral("/db"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(mFx.env().installDir() + QStringLiteral("/db/vehicle_relation.db"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE vehicle_relation (_id INTEGER, vehicle_id TEXT, parent TEXT)")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO vehicle_relation VALUES (1, 'TOYOTA', 'BENZ'), (2, 'BROKEN', 'BMW')")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));
        AppSettings::setLanguage(4); // en: the card's BENZ is the offered version
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        const int benz = indexOf(mPage, "BENZ");
        const int toyota = indexOf(mPage, "TOYOTA");
        const int bmw = indexOf(mPage, "BMW");
        const int broken = indexOf(mPage, "BROKEN");
        QCOMPARE(mPage->rows().at(benz).getCurrentVersion(), QStringLiteral("V12.30"));
        QVERIFY(!box(benz)->isChecked());

        auto *header = mPage->findChild<MyHeader *>();
        header->setChecked(true);
        header->setChecked(false);
        QVERIFY(!box(toyota)->isChecked() && !box(bmw)->isChecked() && !box(broken)->isChecked());
        QVERIFY(box(indexOf(mPage, "HOME"))->isChecked());
        // The required rows stay ticked: the box shows part of the list ticked.
        QCOMPARE(header->checkState(), Qt::PartiallyChecked);
        QVERIFY(mPage->selectionSummary().startsWith(QStringLiteral("2 selected \u00B7 ")));
        header->setChecked(true);
        QVERIFY(box(toyota)->isChecked());
        QVERIFY(!box(benz)->isChecked()); // equal versions are not ticked
        QCOMPARE(header->checkState(), Qt::Checked);
        header->setChecked(false);

        box(toyota)->click();
        QVERIFY(!box(benz)->isChecked()); // its parent is up to date
        box(broken)->click();
        QVERIFY(box(bmw)->isChecked());
        const QList<SoftwareDataWrap> chosen = mPage->selection();
        QCOMPARE(chosen.size(), 5); // HOME, Ostrel, TOYOTA, BROKEN, BMW with its patch
    }

    // Nothing newer on the service: every row says so, the box above them
    // does not tick itself alone, and the upgrade button says the card is
    // up to date.
    void upToDateCard()
    {
        const QString root = mFx.env().makeDir(QStringLiteral("cards/current")) + QLatin1Char('/');
        QVERIFY(TestEnv::writeFile(root + QStringLiteral("sn.txt"), "SAMENAMES0001"));
        const QList<QPair<QString, QByteArray>> installed{{QStringLiteral("CARA"), "V1.00"},
                                                          {QStringLiteral("CARB"), "V2.00"}};
        for (const auto &vehicle : installed) {
            const QString dir = root + QStringLiteral("Vehicles/EU/%1/").arg(vehicle.first);
            QVERIFY(TestEnv::writeFile(dir + QStringLiteral("version.txt"), vehicle.second));
            QVERIFY(TestEnv::writeFile(dir + QStringLiteral("CAR.bin"), "program"));
            QVERIFY(TestEnv::writeFile(dir + QStringLiteral("Names.txt"), "{}"));
        }
        mFx.platform().fakeVolumes().add(root);
        AppSettings::setLanguage(4);
        open();
        QVERIFY(mPage->model()->rowCount() > 0);
        for (int row = 0; row < mPage->model()->rowCount(); ++row)
            QCOMPARE(mPage->model()->value(row, SoftwareInfoWidget::StateColumn).toString(),
                     QStringLiteral("Up to date"));
        QCOMPARE(mPage->selectionSummary(), QStringLiteral("Your card is up to date"));
        auto *header = mPage->findChild<MyHeader *>();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->checkBoxRect().center());
        QCOMPARE(header->checkState(), Qt::Unchecked);
        mPage->findChild<QPushButton *>(QStringLiteral("upgrade"))->click();
        QCOMPARE(Toast::instance()->text(), QStringLiteral("Your card is up to date"));
        QVERIFY(mPage->upgradeSelection().isEmpty());
        QVERIFY(mFx.boxTexts.isEmpty());
    }

    void singleVehicleProductShowsMessage()
    {
        mFx.platform().fakeVolumes().add(makeCard(QStringLiteral("SINGLEVEH0001")));
        open();
        QTRY_COMPARE(mFx.boxTexts.size(), 1);
        QVERIFY(mFx.boxTexts.first().startsWith(QStringLiteral("This product is a single-vehicle software product")));
        QCOMPARE(mPage->model()->rowCount(), 0);
    }

    void serviceErrorIsANotification()
    {
        QVERIFY(mFx.service().setFault(rule("/KvaApi/user/soft_search", {{"code", -1402}})));
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        QCOMPARE(Toast::instance()->text(), Code().getMessageByCode(-1402));
        QVERIFY(mFx.boxTexts.isEmpty());
        QCOMPARE(mPage->model()->rowCount(), 0);
    }

    // A service that does not answer is said so, with a way to ask again.
    void unreachableServiceOffersTryAgain_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("products") << QStringLiteral("/KvaApi/user/pro_search");
        QTest::newRow("software") << QStringLiteral("/KvaApi/user/soft_search");
    }
    void unreachableServiceOffersTryAgain()
    {
        QFETCH(QString, path);
        QVERIFY(mFx.service().setFault(rule(path.toLatin1().constData(), {{"status", 503}})));
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        QVERIFY(mPage->isServiceUnreachable());
        QCOMPARE(mPage->model()->rowCount(), 0);
        QVERIFY(mFx.service().clearFaults());
        auto *again = mPage->findChild<QPushButton *>(QStringLiteral("tryAgain"));
        QVERIFY(again && again->isVisible());
        again->click();
        QVERIFY(waitIdle());
        QTRY_VERIFY(mPage->model()->rowCount() > 0);
        QVERIFY(!mPage->isServiceUnreachable());
    }

    // The rows of the language shown before cannot be upgraded unseen.
    void noUpgradeOfRowsNotShown()
    {
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        QVERIFY(mPage->model()->rowCount() > 0);
        QVERIFY(mFx.service().setFault(rule("/KvaApi/user/soft_search", {{"status", 503}})));
        auto *languages = mPage->findChild<QComboBox *>(QStringLiteral("languages"));
        languages->setCurrentIndex((languages->currentIndex() + 1) % languages->count());
        QVERIFY(waitIdle());
        QVERIFY(mPage->isServiceUnreachable());
        mPage->findChild<QPushButton *>(QStringLiteral("upgrade"))->click();
        QVERIFY(mPage->upgradeSelection().isEmpty());
        QVERIFY(mFx.boxTexts.isEmpty());
    }

    void pulledCardClearsAndReinsertedRefills()
    {
        // No card: the page asks for one instead of showing an empty table.
        open();
        QVERIFY(mPage->isAskingForCard());
        QCOMPARE(mPage->findChild<CardPrompt *>(QStringLiteral("cardPrompt"))->text(), QStringLiteral("Insert the scanner's SD card"));
        delete mPage.data();

        const QString root = makeCard(Alice);
        mFx.platform().fakeVolumes().add(root);
        open();
        QVERIFY(mPage->model()->rowCount() > 0);
        QVERIFY(!mPage->isAskingForCard());
        mFx.platform().fakeVolumes().remove(root);
        QCOMPARE(mPage->model()->rowCount(), 0);
        QCOMPARE(mPage->serialNumber(), QString());
        QCOMPARE(Toast::instance()->text(), QStringLiteral("U disk has been pulled out!"));
        QVERIFY(mPage->isAskingForCard());
        QCOMPARE(mPage->selectionSummary(), QString());

        const int products = mFx.service().requestsTo(QStringLiteral("/KvaApi/user/pro_search")).size();
        mFx.platform().fakeVolumes().add(root);
        QVERIFY(waitIdle());
        QTRY_VERIFY(mPage->model()->rowCount() > 0 && !mPage->isQuerying());
        QCOMPARE(mFx.service().requestsTo(QStringLiteral("/KvaApi/user/pro_search")).size(), products + 1);
        QCOMPARE(mPage->serialNumber(), Alice);
        QVERIFY(!mPage->isAskingForCard());
    }

    void answerForAPulledCardIsDropped()
    {
        QVERIFY(mFx.service().setFault(rule("/KvaApi/user/soft_search", {{"delay_ms", 1500}, {"once", true}})));
        const QString root = makeCard(Alice);
        mFx.platform().fakeVolumes().add(root);
        open(false);
        QTRY_COMPARE_WITH_TIMEOUT(softSearches(), 1, 10000);
        mFx.platform().fakeVolumes().remove(root);
        QVERIFY(waitIdle());
        QTest::qWait(50);
        QCOMPARE(mPage->model()->rowCount(), 0);
        QVERIFY(mPage->rows().isEmpty());
    }

    void refreshesWithin3000msRescanOnce()
    {
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        open();
        const int rows = mPage->model()->rowCount();
        auto *thread = mPage->findChild<QuerySoftwareThread *>();
        QSignalSpy begun(thread, &QuerySoftwareThread::begin);
        mPage->refreshModel();
        mPage->refreshModel();
        QVERIFY(waitIdle());
        QTRY_COMPARE(mPage->model()->rowCount(), rows);
        QCOMPARE(begun.size(), 1);
        QCOMPARE(softSearches(), 1); // rebuilt from the last answer
    }

    // A stop reaches a card scan already under way, and the service is not
    // asked after it: the page going away does not wait for either.
    void stopReachesARunningScan()
    {
        const QString root = generatedCard(QStringLiteral("bigcard"), Alice, 3000, 5);
        QVERIFY(!root.isEmpty());
        QuerySoftwareThread thread;
        thread.setCard(Card(root, Alice));
        QElapsedTimer clock;
        clock.start();
        thread.start();
        QVERIFY(thread.wait(60000));
        const qint64 whole = clock.elapsed();
        const int all = thread.catalogue().size();
        QVERIFY(all >= 3000);

        const int searches = mFx.service().requestsTo(QStringLiteral("/KvaApi/user/soft_search")).size();
        thread.start();
        QTest::qSleep(int(qMax<qint64>(1, whole / 4)));
        thread.requestStop();
        QVERIFY(thread.wait(60000));
        QVERIFY2(thread.catalogue().size() < all, qPrintable(QString::number(thread.catalogue().size())));
        QCOMPARE(mFx.service().requestsTo(QStringLiteral("/KvaApi/user/soft_search")).size(), searches);
    }

    void upgradeChecksTheSelectedCardsSpace()
    {
        const QString root = makeCard(Alice);
        mFx.platform().fakeVolumes().add(root);
        open();
        auto *upgrade = mPage->findChild<QPushButton *>(QStringLiteral("upgrade"));
        // Plenty on the install folder's disk must not count for the downloads.
        mFx.platform().fakeVolumes().setSpace(mFx.env().installDir(), 100LL << 30, 200LL << 30);
        mFx.platform().fakeVolumes().setSpace(mFx.env().dataDir(), 2048LL << 20, 4096LL << 20);
        mFx.platform().fakeVolumes().setSpace(root, 400LL << 20, 4096LL << 20);
        upgrade->click();
        QTRY_COMPARE(mFx.boxTexts, QStringList(QStringLiteral("U disk space is insufficient, please clean up first and try again.")));
        QVERIFY(mPage->upgradeSelection().isEmpty());

        mFx.platform().fakeVolumes().setSpace(root, 100LL << 30, 200LL << 30);
        mFx.platform().fakeVolumes().setSpace(mFx.env().dataDir(), 100LL << 20, 4096LL << 20);
        upgrade->click();
        QTRY_COMPARE(mFx.boxTexts.size(), 2);
        QCOMPARE(mFx.boxTexts.last(), QStringLiteral("Local disk space is insufficient, please clean up first and try again."));

        mFx.platform().fakeVolumes().setSpace(mFx.env().dataDir(), 100LL << 30, 200LL << 30);
        upgrade->click();
        QCOMPARE(mFx.boxTexts.size(), 2);
        QCOMPARE(mPage->upgradeSelection().size(), mPage->selection().size());
        QVERIFY(!mPage->upgradeSelection().isEmpty());
    }

    // A list far longer than the view: rows off screen keep their ticks and
    // versions, and show them once scrolled in; the keyboard reaches the
    // last row.
    void longListKeepsRowsOffScreen()
    {
        const QString serial = QStringLiteral("LONGLIST00001");
        const QString root = generatedCard(QStringLiteral("cards/long"), serial, 300, 1);
        QVERIFY(!root.isEmpty());
        QByteArray software;
        for (int i = 0; i < 400; ++i) {
            const QByteArray softId =
                i < 300 ? SampleCardGenerator::linkOf(i).toUtf8() : QByteArray("NEW") + QByteArray::number(i);
            software += (i ? "," : "") + QByteArray("{\"id\":") + QByteArray::number(i + 1) + ",\"soft_id\":\"" + softId
                        + "\",\"soft_name\":\"" + softId
                        + "\",\"soft_type\":\"VEHICLE\",\"version\":\"V99.00\",\"lang_code\":\"en\","
                          "\"soft_size\":\"1000\",\"version_history\":[{\"id\":"
                        + QByteArray::number(10000 + i) + ",\"soft_id\":\"" + softId
                        + "\",\"version\":\"V1.00\",\"soft_size\":\"900\"}]}";
        }
        const QString fixture = mFx.env().makeDir(QStringLiteral("long")) + QStringLiteral("/fixture.json");
        TestEnv::writeFile(fixture, "{\"users\":[{\"user_id\":1001,\"user_name\":\"alice@ostrel.test\","
                                    "\"password\":\"alice1234\",\"token\":\"token-alice\"}],"
                                    "\"products\":[{\"serial_number\":\"" + serial.toUtf8()
                                        + "\",\"owners\":[1001],\"pro_id\":77,\"languages\":[\"en\"],"
                                          "\"software\":[" + software + "]}]}");
        StandInService service(fixture);
        QVERIFY(service.start());
        service.exportEnvironment();
        AppSettings::setLanguage(4);
        mFx.platform().fakeVolumes().add(root);
        open();
        mFx.service().exportEnvironment();
        QCOMPARE(mPage->model()->rowCount(), 400);

        mPage->findChild<MyHeader *>()->setChecked(true);
        const int last = mPage->rows().size() - 1;
        CardCheck::Finding damaged;
        damaged.softId = mPage->rows().at(last).getSoft_id();
        damaged.version = QStringLiteral("V1.00");
        mPage->tickForReinstall({damaged});
        auto *table = mPage->findChild<QTableView *>(QStringLiteral("tableView"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_End);
        QCOMPARE(table->currentIndex().row(), last);
        QTRY_VERIFY(box(last));
        QVERIFY(box(last)->isChecked());
        auto *versions = table->indexWidget(mPage->model()->index(last, 2))->findChild<QComboBox *>();
        QCOMPARE(versions->currentText(), QStringLiteral("V1.00"));
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(!box(last)->isChecked());
        QCOMPARE(mPage->selection().size(), 399);
        QTest::keyClick(table, Qt::Key_Up);
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(!mPage->rows().at(last - 1).isChecked());
        // Keys on a row scrolled out of view bring it back first.
        table->scrollToTop();
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(mPage->rows().at(last - 1).isChecked());
        QTRY_VERIFY(table->rowAt(table->viewport()->height() - 1) >= last - 1);
        // Scrolling over a drop-down scrolls the list, never the version.
        QWheelEvent wheel(QPointF(5, 5), versions->mapToGlobal(QPoint(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(versions, &wheel);
        QCOMPARE(versions->currentText(), QStringLiteral("V1.00"));

        // Picks made while the list is refilled wait for the new rows.
        mPage->refreshAfterUpgrade();
        QVERIFY(mPage->isQuerying());
        mPage->tickForReinstall({damaged});
        QVERIFY(waitIdle());
        QTRY_COMPARE(mPage->model()->rowCount(), 400);
        const QList<SoftwareDataWrap> picked = mPage->selection();
        QVERIFY(std::any_of(picked.cbegin(), picked.cend(), [&](const SoftwareDataWrap &row) {
            return row.getSoft_id() == damaged.softId && row.getVersion() == damaged.version;
        }));
    }

    // Last: once the event loop was asked to end, no later loop in this
    // process runs, as in the program.
    void rejectedTokenRestarts()
    {
        QVERIFY(mFx.service().setFault(rule("/KvaApi/user/pro_search", {{"code", -100}})));
        mFx.platform().fakeVolumes().add(makeCard(Alice));
        QEventLoop loop;
        QTimer::singleShot(20000, &loop, [&loop] { loop.exit(-1); });
        open(false);
        QCOMPARE(loop.exec(), 886);
        QCOMPARE(mFx.boxTexts, QStringList(Code().getMessageByCode(-100)));
    }
};

QTEST_MAIN(TestSoftwarePage)
#include "tst_softwarepage.moc"
