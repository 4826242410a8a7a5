// The download progress page against the stand-in service, on a generated
// card behind the fake volume layer: what it shows of an upgrade from the
// list, of a pulled card and of leaving mid-batch, why a row failed, the
// end of a batch behind another window, and the restart question. The
// rules of the upgrade itself are the controller's, tested on their own.
#include "AccessibilityAudit.h"
#include "AppSettings.h"
#include "CardBox.h"
#include "DownloadFile.h"
#include "DownloadWidget.h"
#include "FXTableView.h"
#include "JobDispatcher.h"
#include "MyCheckBox.h"
#include "MyProgressBar.h"
#include "MyTableModel.h"
#include "PluginPageFixture.h"
#include "SampleCardGenerator.h"
#include "SoftwareInfoWidget.h"
#include "SoftwareRows.h"
#include "StateCell.h"
#include "UpgradeController.h"
#include "Vehicles.h"
#include "VolumeInfo.h"

#include <Sornet/Code.h>

#include <QAccessible>
#include <QLabel>
#include <QTextDocument>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QStackedWidget>
#include <QTableView>
#include <QUrlQuery>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const auto fault = &StandInService::fault;
const QString Alice = QStringLiteral("ABCDEFGHIJKLM");
const QStringList Awake{QStringLiteral("Updating vehicle software")};
const QString Removable = QStringLiteral("\nThe SD card can now be removed.");
const QString AllDone = QStringLiteral("All software downloads are successfully installed!") + Removable;
const QString SomeFailed = QStringLiteral("Failed to download/install some software. Please try again.");


SoftwareDataWrap record(long id, const char *softId, const char *version, long patchId = 0)
{
    SoftwareDataWrap r;
    r.setId(int(id));
    r.setSoft_id(QLatin1String(softId));
    r.setSoft_name(QLatin1String(softId));
    r.setVersion(QLatin1String(version));
    r.setSoft_size(QStringLiteral("10000"));
    if (patchId) {
        SoftwareDataWrap patch = record(patchId, softId, "V9.51");
        r.setPatch_version({patch});
    }
    return r;
}

// The card's files, the hidden staging folder left aside.
QMap<QString, QByteArray> cardFiles(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.contains(QLatin1String("/.dravik-staging")))
            tree.insert(path.mid(root.size()), TestEnv::readFile(path));
    }
    return tree;
}
} // namespace

class TestDownloadPage : public QObject
{
    Q_OBJECT

    PluginPageFixture mFx;
    QPointer<QStackedWidget> mContainer;
    QPointer<DownloadWidget> mPage;
    QString mCard;
    int mCards = 0;
    QStringList mNotices;

    QString makeCard()
    {
        mCard = mFx.env().makeDir(QStringLiteral("cards/%1").arg(++mCards)) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = Alice;
        options.vehicles = 2;
        SampleCardGenerator generator(options);
        if (!generator.generate(mCard))
            qWarning("card not written");
        mFx.platform().fakeVolumes().add(mCard, true, 100LL << 30, 200LL << 30);
        return mCard;
    }

    void showContainer(QWidget *first)
    {
        mContainer = new QStackedWidget;
        mContainer->resize(930, 745);
        mContainer->addWidget(first);
        mContainer->show();
        QApplication::setActiveWindow(mContainer);
        QVERIFY(QTest::qWaitForWindowActive(mContainer));
    }

    DownloadWidget *run(const QList<SoftwareDataWrap> &records)
    {
        showContainer(new QWidget);
        // As the list hands them on: with what the card holds.
        const Card card(mCard, Alice);
        Vehicles catalogue(card);
        catalogue.ScanVehicles(card.vehiclesPath(), false);
        mPage = DownloadWidget::startIn(mContainer, card, SoftwareRows::items(records, card, catalogue.mDatas));
        connect(mPage, &DownloadWidget::notified, this, [this](const QString &text) { mNotices << text; });
        return mPage;
    }

    QString state(int row) const { return mPage->stateCell(row)->text(); }
    QPushButton *button(const char *name) const { return mPage->findChild<QPushButton *>(QLatin1String(name)); }
    JobDispatcher *jobs() const { return mPage->controller()->dispatcher(); }
    int requests(const QString &path) const { return mFx.service().requestsTo(path).size(); }

    // Holds the first entry of the install of `id` in its pool thread
    // until `go`; the pool is kept busy until that install is queued.
    struct Gate
    {
        QSemaphore busy, inside, go;
    };
    void holdInstall(Gate &gate, long id)
    {
        for (int i = 0; i < 3; ++i)
            jobs()->pool()->start([&gate] { gate.busy.acquire(); });
        InstallRunnable *job = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT([&] {
            for (const QPointer<InstallRunnable> &j : jobs()->jobs()) {
                if (j && j->id() == id)
                    job = j;
            }
            return job != nullptr;
        }(), 20000);
        connect(job, &InstallRunnable::installProgress, jobs(), [&gate](long, qint64 done) {
            if (done == 1) {
                gate.inside.release();
                gate.go.acquire();
            }
        }, Qt::DirectConnection);
        gate.busy.release(3);
        QTRY_COMPARE_WITH_TIMEOUT(gate.inside.available(), 1, 20000);
        QTRY_COMPARE(mPage->stateCell(0)->state(), int(DownloadBatch::Installing));
    }

    void checkIdle()
    {
        QVERIFY(!mPage->isRunning());
        QVERIFY(!AppSettings::isDownloading());
        QCOMPARE(mFx.platform().sleepHeld, QStringList());
    }

private slots:
    void initTestCase()
    {
        // Message boxes are answered from mFx.answers, else with the first
        // button, once mFx.answerWhen allows.
        QVERIFY(mFx.start());
        mFx.afterAnswer = [this] {
            // As a window manager does once a dialog has gone.
            QTimer::singleShot(0, this, [this] {
                if (mContainer)
                    QApplication::setActiveWindow(mContainer);
            });
        };
    }

    void init()
    {
        QVERIFY(mFx.reset(4));
        mNotices.clear();
        QDir(DownloadFile::downloadDir()).removeRecursively();
        makeCard();
    }

    void cleanup()
    {
        delete mContainer.data();
        mFx.release();
    }

    // A volume label and a package name that look like markup show as
    // written: no big red text, no picture from the disk.
    void namesShownAsWritten()
    {
        const QString label = QStringLiteral("<font color=red size=6><u>EVIL");
        const QString name = QStringLiteral("<img src=\"/usr/share/pixmaps/debian-logo.png\">Car");
        mFx.platform().fakeVolumes().remove(mCard);
        VolumeInfo volume;
        volume.root = mCard;
        volume.label = label;
        volume.removable = true;
        mFx.platform().fakeVolumes().add(volume);
        SoftwareDataWrap r = record(10, "BENZ", "V12.30");
        r.setSoft_name(name);
        run({r});
        // What a reader of the screen gets: markup would come out as its text.
        const auto shown = [](const QString &text) {
            if (!Qt::mightBeRichText(text))
                return text;
            QTextDocument document;
            document.setHtml(text);
            return document.toPlainText();
        };
        auto *cardName = mPage->findChild<QLabel *>(QStringLiteral("cardName"));
        QVERIFY(cardName);
        QCOMPARE(QAccessible::queryAccessibleInterface(cardName)->text(QAccessible::Name), label);
        QCOMPARE(shown(mPage->findChild<MyCheckBox *>()->toolTip()), name);
    }

    // The list's upgrade button opens the page; a package and a package
    // with its patch go through download and install to "Done", and the
    // list shows the new versions on return.
    void upgradeFromTheList()
    {
        auto *list = new SoftwareInfoWidget;
        list->setDownloadPageOpener(&DownloadWidget::startIn);
        showContainer(list);
        QTRY_VERIFY_WITH_TIMEOUT(!list->isQuerying() && list->model()->rowCount() > 0, 20000);
        auto *table = list->findChild<QTableView *>(QStringLiteral("tableView"));
        for (int i = 0; i < list->rows().size(); ++i) {
            auto *box = qobject_cast<MyCheckBox *>(table->indexWidget(list->model()->index(i, 0)));
            const QString id = list->rows().at(i).getSoft_id();
            box->setChecked(id == QLatin1String("HOME") || id == QLatin1String("BMW"));
        }
        list->findChild<QPushButton *>(QStringLiteral("upgrade"))->click();
        mPage = mContainer->findChild<DownloadWidget *>();
        QVERIFY(mPage);
        QCOMPARE(mContainer->currentWidget(), mPage.data());
        QCOMPARE(mPage->batch().size(), 2);
        QVERIFY(AppSettings::isDownloading());
        QCOMPARE(mFx.platform().sleepHeld, Awake);
        QVERIFY(!button("retry")->isVisible());

        const int bmw = mPage->batch().rowOf(20);
        QList<QPair<int, int>> bar; // state, value
        connect(mPage->stateCell(bmw)->bar(), &QProgressBar::valueChanged, this,
                [&](int value) { bar.append({mPage->stateCell(bmw)->state(), value}); });
        QTRY_COMPARE_WITH_TIMEOUT(mFx.boxTexts, QStringList{AllDone}, 20000);
        QCOMPARE(state(0), QStringLiteral("Done"));
        QCOMPARE(state(1), QStringLiteral("Done"));
        checkIdle();
        QCOMPARE(mFx.platform().sleepInhibits, 1);
        QVERIFY(mPage->findChild<QLabel *>(QStringLiteral("statistics"))->text().contains(QLatin1String(">2</span>")));
        QVERIFY(!mPage->findChild<QLabel *>(QStringLiteral("transferRate"))->isVisible());

        // The package, then its patch; installed in that order over one bar.
        QStringList order;
        for (const QJsonValue &entry : mFx.service().requestLog()) {
            const QString path = entry.toObject().value(QStringLiteral("path")).toString();
            const QString id = QUrlQuery(entry.toObject().value(QStringLiteral("query")).toString())
                                   .queryItemValue(QStringLiteral("id"));
            if (path.contains(QLatin1String("bmw")) || id == QLatin1String("20") || id == QLatin1String("21"))
                order << path.section(QLatin1Char('/'), -1) + id;
        }
        QCOMPARE(order, QStringList({QStringLiteral("download20"), QStringLiteral("bmw_V9.50.zip"), QStringLiteral("download21"),
                                  QStringLiteral("bmw_V9.51_patch.zip")}));
        // One bar over both, filled once while they download, once while
        // they install and once while they are read back: never back within
        // any of these.
        const auto phase = [](int state) { return state == DownloadBatch::Verifying ? 2 : state >= DownloadBatch::InstallStarted ? 1 : 0; };
        for (int i = 1; i < bar.size(); ++i) {
            const bool newPhase = phase(bar.at(i - 1).first) != phase(bar.at(i).first);
            QVERIFY2(newPhase || bar.at(i).second >= bar.at(i - 1).second, "the bar went back");
        }
        QVERIFY(bar.contains({int(DownloadBatch::Verifying), 100}));
        QVERIFY(bar.contains({int(DownloadBatch::Downloading), 50}));
        QVERIFY(bar.contains({int(DownloadBatch::InstallStarted), 50}) || bar.contains({int(DownloadBatch::Installing), 50}));
        QCOMPARE(TestEnv::readFile(mCard + QStringLiteral("Vehicles/HOME/version.txt")), QByteArray("V2.10"));
        QCOMPARE(TestEnv::readFile(mCard + QStringLiteral("Vehicles/EU/BMW/version.txt")), QByteArray("V9.51"));
        QVERIFY(QFileInfo::exists(mCard + QStringLiteral("Vehicles/EU/BMW/BMW_fix.bin")));
        // Nothing is left to fill the disk: every archive went on the card.
        QCOMPARE(QDir(DownloadFile::downloadDir()).entryList(QDir::Files), QStringList());

        button("back")->click();
        QCOMPARE(mContainer->currentWidget(), static_cast<QWidget *>(list));
        const auto homeVersion = [list] {
            for (const SoftwareDataWrap &row : list->rows()) {
                if (row.getSoft_id() == QLatin1String("HOME"))
                    return row.getCurrentVersion();
            }
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(homeVersion(), QStringLiteral("V2.10"), 20000);
    }

    // The keyboard alone ticks a row, picks its version and upgrades; while
    // the batch runs, a screen reader finds every control named, every
    // cell told, and each row's progress with its name, a few times a
    // second at most.
    void keyboardAloneUpgradesAndTheBatchIsTold()
    {
        QVERIFY(mFx.service().setFault(fault("/files/benz_V12.20.zip", {{"chunk_size", 64}, {"chunk_delay_ms", 40}})));
        auto *list = new SoftwareInfoWidget;
        list->setDownloadPageOpener(&DownloadWidget::startIn);
        showContainer(list);
        QTRY_VERIFY_WITH_TIMEOUT(!list->isQuerying() && list->model()->rowCount() > 0, 20000);
        QCOMPARE(AccessibilityAudit::report(mContainer), QString());
        auto *table = list->findChild<FXTableView *>(QStringLiteral("tableView"));
        for (int i = 0; i < 12 && QApplication::focusWidget() != table; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table);

        // The header's box unticks what it can; then down to the Benz, tick
        // it, and its second version.
        QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
        int benz = -1;
        for (int i = 0; i < list->rows().size(); ++i) {
            if (list->rows().at(i).getSoft_id() == QLatin1String("BENZ"))
                benz = i;
        }
        QVERIFY(benz > 0 && !list->rows().at(benz).isChecked());
        while (table->currentIndex().row() < benz)
            QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(list->rows().at(benz).isChecked());
        QTest::keyClick(table, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget()->focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::activePopupWidget()->focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTRY_COMPARE(QApplication::focusWidget(), table);
        QAccessibleInterface *listCell = QAccessible::queryAccessibleInterface(table)->tableInterface()->cellAt(
            benz, SoftwareInfoWidget::NameColumn);
        QVERIFY(listCell->state().checkable && listCell->state().checked);
        QCOMPARE(QAccessible::queryAccessibleInterface(table)
                     ->tableInterface()
                     ->cellAt(benz, SoftwareInfoWidget::VersionColumn)
                     ->text(QAccessible::Name),
                 QStringLiteral("V12.20"));

        QTest::keyClick(table, Qt::Key_Return);
        mPage = mContainer->findChild<DownloadWidget *>();
        QVERIFY(mPage && mContainer->currentWidget() == mPage);
        const int row = mPage->batch().rowOf(11);
        QVERIFY2(row >= 0, "the Benz at its second version");

        // What the Benz row's state cell told, and when.
        QElapsedTimer clock;
        clock.start();
        QList<QPair<qint64, QString>> told;
        connect(mPage->model(), &QAbstractItemModel::dataChanged, this,
                [&](const QModelIndex &from, const QModelIndex &to, const QVector<int> &roles) {
                    if (from.row() <= row && to.row() >= row && from.column() <= DownloadWidget::StateColumn
                        && to.column() >= DownloadWidget::StateColumn && !roles.contains(Qt::AccessibleDescriptionRole))
                        told << qMakePair(clock.elapsed(),
                                          mPage->model()->value(row, DownloadWidget::StateColumn).toString());
                });
        QTRY_COMPARE_WITH_TIMEOUT(mPage->stateCell(row)->state(), int(DownloadBatch::Downloading), 20000);
        QTest::qWait(300);
        QVERIFY(mPage->isRunning());
        QCOMPARE(AccessibilityAudit::report(mContainer), QString());
        auto *progress = mPage->findChild<FXTableView *>(QStringLiteral("tableView"));
        QAccessibleInterface *stateCell =
            QAccessible::queryAccessibleInterface(progress)->tableInterface()->cellAt(row, DownloadWidget::StateColumn);
        QVERIFY2(QRegularExpression(QStringLiteral("^Mercedes-Benz, Download\\.\\.\\., \\d+ %$"))
                     .match(stateCell->text(QAccessible::Name))
                     .hasMatch(),
                 qPrintable(stateCell->text(QAccessible::Name)));

        QTRY_COMPARE_WITH_TIMEOUT(mFx.boxTexts.size(), 1, 20000);
        QCOMPARE(stateCell->text(QAccessible::Name), QStringLiteral("Mercedes-Benz, Done"));
        // A new figure of the same state waits a quarter of a second (a
        // little less, for the timer's grain).
        int figures = 0;
        const QRegularExpression figure(QStringLiteral(", \\d+ %$"));
        for (int i = 1; i < told.size(); ++i) {
            QString before = told.at(i - 1).second;
            QString now = told.at(i).second;
            if (before.remove(figure) != now.remove(figure))
                continue;
            ++figures;
            QVERIFY2(told.at(i).first - told.at(i - 1).first >= 240, qPrintable(told.at(i).second));
        }
        QVERIFY2(figures >= 2, "the progress was told as it went");
    }

    // Work cut off by a pulled card or by "Return" (after its question): the
    // card keeps what it had. A pulled card is told until it is back (not
    // another card in its place), the same card back is told and "Retry",
    // with the focus, finishes the row.
    void cutOff_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("card pulled while downloading") << QStringLiteral("download");
        QTest::newRow("return while installing") << QStringLiteral("return");
    }
    void cutOff()
    {
        QFETCH(QString, how);
        const QMap<QString, QByteArray> before = cardFiles(mCard);
        if (how == QLatin1String("download"))
            QVERIFY(mFx.service().setFault(fault("/files/home_V2.10.zip", {{"chunk_size", 500}, {"chunk_delay_ms", 300}})));
        run({record(1, "HOME", "V2.10")});
        Gate gate;
        if (how == QLatin1String("download"))
            QTRY_COMPARE_WITH_TIMEOUT(mPage->stateCell(0)->state(), int(DownloadBatch::Downloading), 20000);
        else
            holdInstall(gate, 1);
        QCOMPARE(mFx.platform().sleepHeld, Awake);

        if (how == QLatin1String("return")) {
            mFx.answers << QMessageBox::Cancel;
            button("back")->click();
            QCOMPARE(mFx.boxTexts, QStringList(QStringLiteral("Some software is downloading or installing. Are you sure you want to quit?")));
            QVERIFY(mPage->isRunning() && AppSettings::isDownloading());
            QCOMPARE(mContainer->currentWidget(), mPage.data());
            button("back")->click();
            QCOMPARE(mContainer->currentIndex(), 0);
        } else {
            mFx.platform().fakeVolumes().remove(mCard);
            QCOMPARE(mNotices.last(), QStringLiteral("U disk has been pulled out!"));
            QVERIFY(mPage->card().isNull());
        }
        gate.go.release();
        jobs()->pool()->waitForDone();
        checkIdle();
        QCOMPARE(state(0),
                 how == QLatin1String("download") ? QStringLiteral("Card removed") : QStringLiteral("Install Failed"));
        QCOMPARE(cardFiles(mCard), before);
        if (how == QLatin1String("return")) {
            QCOMPARE(mPage->cardNotice(), QString());
            return;
        }

        QVERIFY(button("retry")->isVisible());
        const QString removed = QStringLiteral("The SD card was removed. Put it back and press Retry.");
        QCOMPARE(mPage->cardNotice(), removed);
        QCOMPARE(mPage->findChild<CardBox *>()->serialText(), QString());

        const QString other = mFx.env().makeDir(QStringLiteral("cards/other")) + QLatin1Char('/');
        QVERIFY(TestEnv::writeFile(other + QStringLiteral("sn.txt"), "NOPQRSTUVWXYZ"));
        mFx.platform().fakeVolumes().add(other, true, 100LL << 30, 200LL << 30);
        QCOMPARE(mPage->cardNotice(), QStringLiteral("This SD card (NOPQRSTUVWXYZ) is not the card of this update. "
                                                     "Put back the SD card ABCDEFGHIJKLM."));
        mFx.platform().fakeVolumes().remove(other);
        QCOMPARE(mPage->cardNotice(), removed);

        // Retry without the card asks for it; the card comes back while
        // the question is open.
        mFx.answerWhen = [this] { return !mPage->card().isNull(); };
        QTimer::singleShot(200, this,
                           [this] { mFx.platform().fakeVolumes().add(mCard, true, 100LL << 30, 200LL << 30); });
        button("retry")->click();
        QCOMPARE(mFx.boxTexts, QStringList(QStringLiteral("No U disk was found. Please check and try again.")));
        QVERIFY(!mPage->isRunning());
        QCOMPARE(mNotices.last(), QStringLiteral("U Disk Inserted!"));
        QCOMPARE(mPage->card().root(), mCard);
        QCOMPARE(mPage->cardNotice(), QStringLiteral("The SD card is back. Press Retry to finish the update."));
        QVERIFY(mPage->findChild<CardBox *>()->serialText().contains(Alice));
        // Written as the uninstall page writes a card's space.
        QCOMPARE(mPage->findChild<CardBox *>()->spaceText(), QStringLiteral("100.00GB/200.00GB"));
        QTRY_VERIFY(button("retry")->hasFocus());
        QVERIFY(mFx.service().reset());
        QTest::keyClick(button("retry"), Qt::Key_Space);
        QCOMPARE(mPage->cardNotice(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(state(0), QStringLiteral("Done"), 20000);
        QCOMPARE(TestEnv::readFile(mCard + QStringLiteral("Vehicles/HOME/version.txt")), QByteArray("V2.10"));
        checkIdle();
    }

    // Why a row failed: its state cell tells it, and so does the summary.
    void failureReasonIsShown()
    {
        mFx.answers << QMessageBox::Cancel;
        SoftwareDataWrap broken = record(50, "BROKEN", "V1.00");
        broken.setSoft_name(QStringLiteral("Broken link"));
        run({record(1, "HOME", "V2.10"), broken});
        QTRY_COMPARE_WITH_TIMEOUT(mFx.boxTexts.size(), 1, 20000);
        QCOMPARE(state(1), QStringLiteral("Download Failed"));
        const QString reason = mPage->batch().row(1).reason;
        QVERIFY(!reason.isEmpty());
        QCOMPARE(mPage->stateCell(1)->accessibleDescription(), reason);
        QVERIFY(mPage->stateCell(1)->toolTip().contains(reason.toHtmlEscaped()));
        QVERIFY(mPage->stateCell(0)->toolTip().isEmpty());
        QCOMPARE(mFx.boxTexts.first(), SomeFailed + QStringLiteral("\nBroken link: ") + reason + Removable);
    }

    // A batch that ends behind another window: the desktop tells it, and
    // the box waits for the window to come back.
    void unseenEndNotifiesTheDesktop()
    {
        QVERIFY(mFx.service().setFault(fault("/files/home_V2.10.zip", {{"chunk_size", 1000}, {"chunk_delay_ms", 100}})));
        run({record(1, "HOME", "V2.10")});
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_COMPARE_WITH_TIMEOUT(mFx.platform().notifications,
                                  (QList<QPair<QString, QString>>{{QStringLiteral("Update"), AllDone}}), 20000);
        checkIdle();
        QTest::qWait(100);
        QVERIFY(mFx.boxTexts.isEmpty());
        QApplication::setActiveWindow(mContainer);
        QTRY_COMPARE(mFx.boxTexts, QStringList{AllDone});
        QCOMPARE(mFx.platform().notifications.size(), 1);
    }

    // Last: the ended event loop leaves every later loop ended at once.
    void rejectedTokenAsksOnceAndRestarts()
    {
        QVERIFY(mFx.service().setFault(fault("/KvaApi/soft/download", {{"code", -100}})));
        // The box is answered once the other rows were refused while it was open.
        mFx.answerWhen = [this] { return mPage && mPage->batch().failedCount() == 2; };
        QEventLoop loop;
        QTimer::singleShot(20000, &loop, [&loop] { loop.exit(-1); });
        run({record(1, "HOME", "V2.10"), record(10, "BENZ", "V12.30"), record(20, "BMW", "V9.50", 21)});
        QCOMPARE(loop.exec(), 886);
        QCOMPARE(mFx.boxTexts, QStringList(Code().getMessageByCode(-100)));
    }
};

QTEST_MAIN(TestDownloadPage)
#include "tst_downloadpage.moc"
