// The card check and history pages as the list page opens them, against
// the stand-in service on a generated card: a package that the card
// damaged is found and ticked again for a reinstall with the version the
// card holds; the history lists the card's installs.
#include "AccessibilityAudit.h"
#include "CardCheckWidget.h"
#include "HistoryWidget.h"
#include "InstallAsUpgrade.h"
#include "ManifestStore.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyTableModel.h"
#include "PageContainer.h"
#include "PluginPageFixture.h"
#include "RecordTable.h"
#include "SampleCardGenerator.h"
#include "SoftwareInfoWidget.h"
#include "UpdateHistory.h"
#include "ZipWriter.h"

#include <QBuffer>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString Alice = QStringLiteral("ABCDEFGHIJKLM");
}

class TestRecordPages : public QObject
{
    Q_OBJECT

    PluginPageFixture mFx;
    QPointer<QStackedWidget> mContainer;
    QPointer<SoftwareInfoWidget> mList;
    QString mCard;
    int mCards = 0;

    // BENZ V12.30 installed as an upgrade installs it.
    bool installBenz()
    {
        QBuffer zip;
        zip.open(QIODevice::WriteOnly);
        ZipWriter writer(&zip);
        writer.addFile("Vehicles/EU/BENZ/version.txt", "V12.30", false);
        writer.addFile("Vehicles/EU/BENZ/BENZ.bin", QByteArray(8192, 'b'), false);
        writer.addFile("Vehicles/EU/BENZ/Names.txt",
                       R"({"link":"BENZ","area":"EU","info_list":[{"language":"en","name":"Benz"},)"
                       R"({"language":"de","name":"Benz"}]})",
                       false);
        writer.finish();
        const QString archive = mFx.env().root() + QStringLiteral("/benz.zip");
        TestEnv::writeFile(archive, zip.data());
        Package benz;
        benz.id = 10;
        benz.softId = QStringLiteral("BENZ");
        benz.name = QStringLiteral("Mercedes-Benz");
        benz.version = QStringLiteral("V12.30");
        benz.card = Card(mCard, Alice);
        return installAsUpgrade(benz, archive).ok();
    }

    void openList()
    {
        mList = new SoftwareInfoWidget;
        mContainer = new QStackedWidget;
        mContainer->resize(930, 745);
        mContainer->addWidget(mList);
        mContainer->show();
        QTRY_VERIFY_WITH_TIMEOUT(!mList->isQuerying() && mList->model()->rowCount() > 0, 20000);
    }

    int benzRow() const
    {
        for (int i = 0; i < mList->rows().size(); ++i) {
            if (mList->rows().at(i).getSoft_id() == QLatin1String("BENZ"))
                return i;
        }
        return -1;
    }

    template<class Widget>
    QWidget *indexWidget(int row, int column) const
    {
        auto *table = mList->findChild<QTableView *>(QStringLiteral("tableView"));
        QWidget *cell = table->indexWidget(mList->model()->index(row, column));
        return cell && !qobject_cast<Widget *>(cell) ? cell->findChild<Widget *>() : cell;
    }

private slots:
    void initTestCase() { QVERIFY(mFx.start()); }

    void init()
    {
        QVERIFY(mFx.reset(4));
        mCard = mFx.env().makeDir(QStringLiteral("cards/%1").arg(++mCards)) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = Alice;
        options.vehicles = 2;
        QVERIFY(SampleCardGenerator(options).generate(mCard));
        mFx.platform().fakeVolumes().add(mCard, true, 100LL << 30, 200LL << 30);
        QDir(ManifestStore().folder()).removeRecursively();
        QFile::remove(UpdateHistory().path());
        QVERIFY(installBenz());
    }

    void cleanup()
    {
        delete mContainer.data();
        mFx.release();
    }

    void damagedPackageIsTickedForReinstall()
    {
        // A bit of the program file turned, size and time as they were.
        QFile program(mCard + QStringLiteral("Vehicles/EU/BENZ/BENZ.bin"));
        QVERIFY(program.open(QIODevice::ReadWrite));
        const QDateTime time = program.fileTime(QFileDevice::FileModificationTime);
        QVERIFY(program.seek(4000) && program.write("c") == 1 && program.flush());
        QVERIFY(program.setFileTime(time, QFileDevice::FileModificationTime));
        program.close();

        openList();
        const int row = benzRow();
        QVERIFY(row >= 0);
        auto *box = qobject_cast<MyCheckBox *>(indexWidget<MyCheckBox>(row, 0));
        QVERIFY(box && !box->isChecked()); // V12.30 is what the service offers

        mList->findChild<QPushButton *>(QStringLiteral("checkCard"))->click();
        auto *page = qobject_cast<CardCheckWidget *>(mContainer->currentWidget());
        QVERIFY(page);
        QTRY_VERIFY_WITH_TIMEOUT(!page->check()->isRunning() && page->check()->end() == CardCheck::End::Checked, 20000);
        auto *results = page->findChild<QTableView *>(QStringLiteral("tableView"))->model();
        QStringList shown;
        for (int i = 0; i < results->rowCount(); ++i)
            shown << results->index(i, 0).data().toString() + QLatin1Char(':') + results->index(i, 2).data().toString();
        QVERIFY2(shown.contains(QStringLiteral("Mercedes-Benz:Damaged")), qPrintable(shown.join(QLatin1Char(' '))));
        QCOMPARE(shown.filter(QStringLiteral(":Damaged")).size(), 1);
        // Each verdict, intact ones without details too, told and readable.
        QCOMPARE(AccessibilityAudit::report(mContainer), QString());

        auto *reinstall = page->findChild<QPushButton *>(QStringLiteral("reinstall"));
        QVERIFY(reinstall->isEnabled());
        reinstall->click();
        QCOMPARE(mContainer->currentWidget(), static_cast<QWidget *>(mList));
        QVERIFY(box->isChecked());
        QCOMPARE(qobject_cast<MyComboBox *>(indexWidget<MyComboBox>(row, 2))->currentText(), QStringLiteral("V12.30"));
        QStringList chosen;
        for (const SoftwareDataWrap &record : mList->selection())
            chosen << record.getSoft_id() + QLatin1Char(' ') + record.getVersion();
        QVERIFY2(chosen.contains(QStringLiteral("BENZ V12.30")), qPrintable(chosen.join(QLatin1Char(','))));
    }

    void historyListsTheCardsInstalls()
    {
        openList();
        mList->findChild<QPushButton *>(QStringLiteral("history"))->click();
        auto *page = qobject_cast<HistoryWidget *>(mContainer->currentWidget());
        QVERIFY(page);
        auto *records = page->findChild<QTableView *>(QStringLiteral("tableView"))->model();
        QCOMPARE(records->rowCount(), 1);
        QStringList row;
        for (int column = 1; column < records->columnCount(); ++column)
            row << records->index(0, column).data().toString();
        QCOMPARE(row, (QStringList{QStringLiteral("Mercedes-Benz"), QString(), QStringLiteral("V12.30"),
                                   QStringLiteral("Done"), QStringLiteral("8.11KB"), QStringLiteral("Yes")}));
        // The empty "From" is told as such; every text readable.
        QCOMPARE(AccessibilityAudit::report(mContainer), QString());
        page->findChild<QPushButton *>(QStringLiteral("back"))->click();
        QCOMPARE(mContainer->currentWidget(), static_cast<QWidget *>(mList));
    }

    // The pages' container trims its pages to what its window shows; in a
    // window made smaller than designed, whose body scrolls, they keep
    // their size and scroll with it.
    void pagesFitWhatShows_data()
    {
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<QSize>("page");
        QTest::newRow("cut by its window") << false << QSize(500, 350);
        QTest::newRow("in a scrolling body") << true << QSize(930, 745);
    }
    void pagesFitWhatShows()
    {
        QFETCH(bool, scrolls);
        QFETCH(QSize, page);
        QWidget window;
        window.setFixedSize(600, 400);
        auto *body = new QWidget;
        body->setFixedSize(1200, 800);
        if (scrolls) {
            auto *area = new QScrollArea(&window);
            area->setGeometry(window.rect());
            area->setWidget(body);
        } else {
            body->setParent(&window);
        }
        auto *container = new PageContainer(body);
        container->setGeometry(100, 50, 930, 745);
        auto *shown = new QWidget;
        container->addWidget(shown);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(shown->size(), page);
    }

    // A name from the service shows in the tips as written: its markup
    // neither styles them nor loads a picture from the disk.
    void tipsShowMarkupAsWritten()
    {
        QWidget page;
        RecordTable table(&page, {QStringLiteral("Name"), QStringLiteral("Result")}, {200});
        const QString name = QStringLiteral("<font color=red size=7>Benz<img src=\"/local/file.png\">");
        table.append({name, QStringLiteral("Failed")}, 1, Qt::red, QStringLiteral("Failed: ") + name);
        const QStringList expected{name, QStringLiteral("Failed: ") + name};
        for (int column = 0; column < 2; ++column) {
            QTextDocument shown;
            shown.setHtml(table.model->index(0, column).data(Qt::ToolTipRole).toString());
            QCOMPARE(shown.toPlainText(), expected.at(column));
        }
    }
};

QTEST_MAIN(TestRecordPages)
#include "tst_recordpages.moc"
