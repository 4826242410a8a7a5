// The uninstall page on a generated card: listing, ticking, batches,
// failures, a pulled card, the exit request and the directory watcher.
#include "AccessibilityAudit.h"
#include "AppSettings.h"
#include "DirWalker.h"
#include "FXHeader.h"
#include "FXTableView.h"
#include "GlobalMutex.h"
#include "MessageBoxDialog.h"
#include "PageFixture.h"
#include "QCircularProgressBar.h"
#include "UninstallModel.h"
#include "UninstallView.h"

#include <QAccessible>
#include <QDir>
#include <QDirIterator>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {
// Folders below `vehicle` nested deeper than the engine deletes: its
// uninstall fails and leaves it whole, and it is still listed.
bool nestTooDeep(const QString &vehicle)
{
    QString path = vehicle;
    for (int i = 0; i < DirWalker::kMaxDepth + 8; ++i)
        path += QStringLiteral("d/");
    return QDir().mkpath(path) && TestEnv::writeFile(path + QStringLiteral("deep.dat"), "x");
}

const QString Mutex = QStringLiteral("ostrel_global_mutex");
const QStringList SleepHeld{QStringLiteral("Uninstalling vehicle software")};

// Runs `action` once, on the first emission of `signal` that passes `when`.
template <typename Sender, typename Signal, typename When>
void once(Sender *sender, Signal signal, When when, std::function<void()> action)
{
    auto fired = std::make_shared<bool>(false);
    QObject::connect(sender, signal, sender, [fired, when, action](auto... args) {
        if (*fired || !when(args...))
            return;
        *fired = true;
        action();
    });
}

QStringList dirPaths(const UninstallModel *model)
{
    QStringList paths;
    for (const VehicleData &record : model->Datas())
        paths << record.mDirPath;
    return paths;
}
} // namespace

class TestUninstallPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<PageFixture> mFx;

    UninstallView *openOn(const QString &root, qint64 freeBytes = 1 << 20, qint64 totalBytes = 1 << 22)
    {
        mFx->insert(root, freeBytes, totalBytes);
        UninstallView *page = mFx->open();
        if (!mFx->waitScanned())
            qWarning("scan did not end");
        return page;
    }

private slots:
    void init() { mFx.reset(new PageFixture); }
    void cleanup() { mFx.reset(); }

    void listsVehiclesWithoutHomeAndPublic()
    {
        const QString root = mFx->makeCard(4, 8);
        openOn(root);
        UninstallModel *model = mFx->model();
        // The mount point lies below ".../home/alice/Public/": only the part
        // below the card root decides what is HOME or the text library.
        QCOMPARE(model->rowCount(), 4);
        QStringList versions;
        for (int row = 0; row < model->rowCount(); ++row) {
            const VehicleData &record = model->Datas().at(row);
            QVERIFY(record.mDirName != QLatin1String("HOME") && record.mDirName != QLatin1String("Public"));
            QVERIFY(!model->index(row, UninstallModel::NameColumn).data().toString().isEmpty());
            QVERIFY(record.mSize > 0);
            QCOMPARE(model->index(row, UninstallModel::SizeColumn).data().toString(), UninstallModel::SizeText(record.mSize));
            QCOMPARE(model->index(row, UninstallModel::StatusColumn).data().toString(), QStringLiteral("Ready"));
            versions << record.mVersion;
        }
        versions.sort();
        QStringList expected;
        for (int i = 0; i < 4; ++i)
            expected << SampleCardGenerator::versionOf(i);
        expected.sort();
        QCOMPARE(versions, expected);

        QCOMPARE(mFx->label("serialLabel")->text(), QStringLiteral("SCN0123456789"));
        // A card without a label is named by its serial; where it is
        // mounted is only the tooltip, shown as written.
        QCOMPARE(mFx->label("driveLabel")->text(), QStringLiteral("Internal Storage: SCN0123456789"));
        QTextDocument tip;
        tip.setHtml(mFx->label("driveLabel")->toolTip());
        QCOMPARE(tip.toPlainText(), root.chopped(1));
        QCOMPARE(mFx->label("usedLabel")->text(), QStringLiteral("3.00MB/4.00MB"));
        QVERIFY(mFx->table()->selectionModel()->isRowSelected(0, QModelIndex()));
        QVERIFY(!mFx->button()->isEnabled());

        const QStringList watched = mFx->page()->findChild<QFileSystemWatcher *>()->directories();
        QVERIFY(watched.contains(root + QStringLiteral("Vehicles/")));
        QVERIFY(watched.size() > 4);
        for (const QString &dir : watched) {
            const QString below = dir.mid(root.size());
            QVERIFY2(!below.contains(QLatin1String("Res/"), Qt::CaseInsensitive), qPrintable(dir));
            QVERIFY2(!below.contains(QLatin1String("Names/"), Qt::CaseInsensitive), qPrintable(dir));
        }
    }

    void usageColour_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("colour");
        QTest::newRow("50 %") << qint64(500) << "#2256cf";
        QTest::newRow("80 % exactly") << qint64(200) << "#2256cf";
        QTest::newRow("85 %") << qint64(150) << "#ffc519";
        QTest::newRow("90 % exactly") << qint64(100) << "#ffc519";
        QTest::newRow("90.1 %") << qint64(99) << "#ff0000";
    }
    void usageColour()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(QString, colour);
        openOn(mFx->makeCard(1, 5), freeBytes, 1000);
        auto *bar = mFx->page()->findChild<QCircularProgressBar *>(QStringLiteral("usageBar"));
        QCOMPARE(bar->progressColor().name(), colour);
        QCOMPARE(qRound(bar->value() * 10), int((1000 - freeBytes)));
    }

    void noCardThenArrival()
    {
        UninstallView *page = mFx->open();
        QCOMPARE(mFx->toastText(), QStringLiteral("Please insert the SD card!"));
        QCOMPARE(mFx->label("serialLabel")->text(), QString());
        QCOMPARE(mFx->label("driveLabel")->text(), QStringLiteral("Internal Storage:"));
        QCOMPARE(mFx->model()->rowCount(), 0);
        QVERIFY(page->isAskingForCard());
        // With no row to tick the box does not tick itself.
        mFx->clickHeaderBox();
        QCOMPARE(mFx->header()->checkState(), Qt::Unchecked);

        // A card with a label is named by it.
        VolumeInfo card;
        card.root = mFx->makeCard(2, 5);
        card.label = QStringLiteral("MECHANIC");
        card.removable = true;
        mFx->platform().fakeVolumes().add(card);
        QTRY_COMPARE_WITH_TIMEOUT(mFx->model()->rowCount(), 2, 20000);
        QVERIFY(mFx->waitScanned());
        QVERIFY(!page->isAskingForCard());
        QCOMPARE(mFx->label("serialLabel")->text(), QStringLiteral("SCN0123456789"));
        QCOMPARE(mFx->label("driveLabel")->text(), QStringLiteral("Internal Storage: MECHANIC"));
        QVERIFY(!page->isBusy());

        // Rows ticked on a card that goes leave nothing to press.
        mFx->clickCell(0, UninstallModel::NameColumn);
        QVERIFY(mFx->button()->isEnabled());
        mFx->platform().fakeVolumes().remove(card.root);
        QTRY_VERIFY(page->isAskingForCard());
        QVERIFY(!mFx->button()->isEnabled());
        QCOMPARE(mFx->header()->checkState(), Qt::Unchecked);
    }

    void tickingRows()
    {
        openOn(mFx->makeCard(3, 5));
        UninstallModel *model = mFx->model();
        FXHeader *header = mFx->header();
        const auto checked = [model] {
            QList<bool> result;
            for (const VehicleData &record : model->Datas())
                result << record.mChecked;
            return result;
        };

        mFx->clickHeaderBox();
        QCOMPARE(checked(), (QList<bool>{true, true, true}));
        QVERIFY(mFx->button()->isEnabled());

        // Unticking one row unticks the box but not the other rows.
        mFx->clickCell(0, UninstallModel::VersionColumn);
        QCOMPARE(checked(), (QList<bool>{false, true, true}));
        QVERIFY(!header->isChecked());
        QVERIFY(mFx->button()->isEnabled());

        // Ticking it again from the name cell completes the set.
        mFx->clickCell(0, UninstallModel::NameColumn);
        QCOMPARE(checked(), (QList<bool>{true, true, true}));
        QVERIFY(header->isChecked());

        // The status cell does not toggle.
        mFx->clickCell(1, UninstallModel::StatusColumn);
        QCOMPARE(checked(), (QList<bool>{true, true, true}));

        // A row already uninstalled is unticked by the box and stays so;
        // with every other row ticked the box is full.
        model->SetState(2, QStringLiteral("2"), QStringLiteral("100"));
        mFx->clickHeaderBox();
        QCOMPARE(checked(), (QList<bool>{false, false, false}));
        QVERIFY(!mFx->button()->isEnabled());
        mFx->clickHeaderBox();
        QCOMPARE(checked(), (QList<bool>{true, true, false}));
        mFx->clickCell(2, UninstallModel::SizeColumn);
        QCOMPARE(checked(), (QList<bool>{true, true, false}));
        QCOMPARE(header->checkState(), Qt::Checked);
        mFx->clickCell(1, UninstallModel::NameColumn);
        QCOMPARE(header->checkState(), Qt::PartiallyChecked);
        mFx->clickCell(1, UninstallModel::NameColumn);

        mFx->clickCell(0, UninstallModel::NameColumn);
        mFx->clickCell(1, UninstallModel::NameColumn);
        QCOMPARE(checked(), (QList<bool>{false, false, false}));
        QVERIFY(!mFx->button()->isEnabled());
    }

    // The keyboard ticks rows and starts the batch (which asks first); a
    // screen reader finds the rows ticked, each control named, each state
    // told with its vehicle and progress, the ring as the card's use, and
    // every text readable.
    void keyboardAndScreenReader()
    {
        UninstallView *page = openOn(mFx->makeCard(3, 40));
        QCOMPARE(AccessibilityAudit::report(page), QString());
        QCOMPARE(
            QAccessible::queryAccessibleInterface(page->findChild<QCircularProgressBar *>())->text(QAccessible::Name),
            QStringLiteral("Used 3.00MB of 4.00MB"));
        FXTableView *table = mFx->table();
        table->setFocus(Qt::TabFocusReason);
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, Qt::Key_Down);
        QAccessibleTableInterface *cells = QAccessible::queryAccessibleInterface(table)->tableInterface();
        QList<bool> ticked;
        for (int row = 0; row < 3; ++row)
            ticked << cells->cellAt(row, UninstallModel::NameColumn)->state().checked;
        QCOMPARE(ticked, (QList<bool>{true, true, false}));

        const QString name = mFx->model()->index(0, UninstallModel::NameColumn).data().toString();
        QString question;
        mFx->answerNextBox(QMessageBox::Ok, [&](MessageBoxDialog *box) { question = box->textLabel()->text(); });
        QString told;
        once(
            mFx->model(), &QAbstractItemModel::dataChanged,
            [this](auto...) { return mFx->state(0) == QLatin1String("1"); },
            [&] {
                told = cells->cellAt(0, UninstallModel::StatusColumn)->text(QAccessible::Name);
                QCOMPARE(AccessibilityAudit::report(page), QString());
            });
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY(question.startsWith(QLatin1String("Uninstall 2 vehicle software package(s)")));
        QTRY_VERIFY_WITH_TIMEOUT(!told.isEmpty(), 20000);
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^%1, Uninstalling\\.\\.\\., \\d+ %$").arg(QRegularExpression::escape(name)))
                     .match(told)
                     .hasMatch(),
                 qPrintable(told));
        QVERIFY(mFx->waitScanned());
    }

    void batchOfTwoRunsOneAfterTheOther()
    {
        const QString root = mFx->makeCard(3, 40);
        UninstallView *page = openOn(root);
        const QStringList paths = dirPaths(mFx->model());
        mFx->clickCell(0, UninstallModel::NameColumn);
        mFx->clickCell(1, UninstallModel::NameColumn);

        QStringList counters;
        QStringList toasts;
        QList<bool> flagDuringBatch;
        QList<bool> sleepDuringBatch;
        bool overlapped = false;
        bool sawProgress = false;
        connect(page, &UninstallView::SignalNotificationRemoveDiskFreeSizeChange, this, [&] {
            counters << mFx->counterText();
            toasts << mFx->toastText();
            flagDuringBatch << AppSettings::isUninstalling();
            sleepDuringBatch << (mFx->platform().sleepHeld == SleepHeld);
        });
        connect(mFx->model(), &QAbstractItemModel::dataChanged, this, [&] {
            if (mFx->state(0) == QLatin1String("1") || mFx->state(1) == QLatin1String("1"))
                sawProgress = true;
            if (mFx->state(1) == QLatin1String("1") && mFx->state(0) != QLatin1String("2"))
                overlapped = true;
        });

        QString question;
        mFx->answerNextBox(QMessageBox::Ok, [&](MessageBoxDialog *box) { question = box->textLabel()->text(); });
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QCOMPARE(question, QStringLiteral("Uninstall 2 vehicle software package(s) from the SD card? This frees %1.")
                               .arg(UninstallModel::SizeText(mFx->model()->Datas().at(0).mSize
                                                             + mFx->model()->Datas().at(1).mSize)));
        QVERIFY(AppSettings::isUninstalling());
        QVERIFY(page->isBusy());
        QVERIFY(!mFx->button()->isEnabled());
        QVERIFY(mFx->page()->findChild<QPushButton *>(QStringLiteral("btnStop"))->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(counters.size(), 2, 20000);

        QCOMPARE(counters, (QStringList{QStringLiteral("1/2"), QStringLiteral("2/2")}));
        QVERIFY(toasts.at(0) != QLatin1String("Uninstall vehicle successfully"));
        QCOMPARE(toasts.at(1), QStringLiteral("Uninstall vehicle successfully"));
        QCOMPARE(flagDuringBatch, (QList<bool>{true, false}));
        // One hold on sleep for the whole batch, gone with its end.
        QCOMPARE(sleepDuringBatch, (QList<bool>{true, false}));
        QCOMPARE(mFx->platform().sleepInhibits, 1);
        QVERIFY(sawProgress);
        QVERIFY(!overlapped);
        QVERIFY(!QFileInfo::exists(paths.at(0)));
        QVERIFY(!QFileInfo::exists(paths.at(1)));
        QVERIFY(QFileInfo::exists(paths.at(2) + QStringLiteral("version.txt")));
        // What was removed leaves the list once the card has been read again.
        QVERIFY(mFx->waitScanned());
        QCOMPARE(dirPaths(mFx->model()), QStringList{paths.at(2)});
        QCOMPARE(mFx->state(0), QStringLiteral("0"));
        QVERIFY(!mFx->page()->findChild<QPushButton *>(QStringLiteral("btnStop"))->isVisible());
        QVERIFY(!page->isBusy());
        QVERIFY(!mFx->button()->isEnabled());
        QVERIFY(!mFx->header()->isChecked());
        QVERIFY(!mFx->model()->AnyChecked());
        // Ownership given back, handle kept for the exit request.
        QVERIFY(!GlobalMutex::isEmpty());
        QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));

        // Another card: the counter of this card's batch goes with it.
        mFx->pull(root);
        mFx->insert(mFx->makeCard(1, 5));
        QVERIFY(mFx->waitScanned());
        QCOMPARE(mFx->counterText(), QString());
    }

    void failingJob_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("listed"); // after the rescan
        QTest::newRow("directory gone") << "gone" << false;
        QTest::newRow("only empty files") << "empty" << false;
        QTest::newRow("nested too deep") << "deep" << true;
        if (::geteuid() != 0) // root deletes from read-only folders
            QTest::newRow("read-only folder") << "readonly" << true;
    }
    void failingJob()
    {
        QFETCH(QString, how);
        QFETCH(bool, listed);
        UninstallView *page = openOn(mFx->makeCard(2, 8));
        const QString dir = mFx->model()->Datas().at(0).mDirPath;
        if (how == QLatin1String("deep")) {
            QVERIFY(nestTooDeep(dir));
        } else if (how == QLatin1String("gone")) {
            QVERIFY(QDir(dir).removeRecursively());
        } else if (how == QLatin1String("empty")) {
            QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                QVERIFY(QFile::resize(it.next(), 0));
        } else {
            QVERIFY(QFile::setPermissions(dir + QStringLiteral("Res/Text"), QFile::ReadOwner | QFile::ExeOwner));
        }

        mFx->clickCell(0, UninstallModel::NameColumn);
        mFx->answerNextBox(QMessageBox::Ok);
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QVERIFY(mFx->waitScanned());
        QCOMPARE(mFx->toastText(), QStringLiteral("Uninstall vehicle failed!"));
        // A vehicle still on the card stays failed and ticked for another try.
        const int row = mFx->model()->RowOf(dir);
        QCOMPARE(row >= 0, listed);
        if (row >= 0) {
            QCOMPARE(mFx->state(row), QStringLiteral("3"));
            QCOMPARE(mFx->model()->index(row, UninstallModel::StatusColumn).data().toString(),
                     QStringLiteral("Failed"));
            QVERIFY(mFx->model()->Datas().at(row).mChecked);
        }
        QVERIFY(!AppSettings::isUninstalling());
        QCOMPARE(mFx->platform().sleepHeld, QStringList());
        QVERIFY(!page->isBusy());
        QCOMPARE(mFx->button()->isEnabled(), row >= 0);
        QVERIFY(mFx->header()->isEnabled());
        QCOMPARE(mFx->counterText(), QString());
        if (how == QLatin1String("readonly"))
            QFile::setPermissions(dir + QStringLiteral("Res/Text"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // One failed job in a batch must not end in the success notification,
    // and its row, still ticked, can be tried again.
    void batchWithAFailureEndsAsFailure_data()
    {
        QTest::addColumn<bool>("byBox");
        QTest::addColumn<QString>("counter");
        QTest::newRow("rows ticked one by one") << false << "1/2";
        QTest::newRow("all ticked by the box") << true << "2/3";
    }
    void batchWithAFailureEndsAsFailure()
    {
        QFETCH(bool, byBox);
        QFETCH(QString, counter);
        UninstallView *page = openOn(mFx->makeCard(3, 8));
        const QStringList paths = dirPaths(mFx->model());
        QVERIFY(nestTooDeep(paths.at(0)));
        if (byBox) {
            mFx->clickHeaderBox();
        } else {
            mFx->clickCell(0, UninstallModel::NameColumn);
            mFx->clickCell(1, UninstallModel::NameColumn);
        }

        mFx->answerNextBox(QMessageBox::Ok);
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QVERIFY(mFx->waitScanned());
        QVERIFY(!page->isBusy());
        QCOMPARE(mFx->counterText(), counter);
        QCOMPARE(mFx->toastText(), QStringLiteral("Uninstall vehicle failed!"));
        QVERIFY(!AppSettings::isUninstalling());
        QCOMPARE(QFileInfo::exists(paths.at(2) + QStringLiteral("version.txt")), !byBox);
        // The failed row stays ticked; the rest of the card is unticked.
        const int failed = mFx->model()->RowOf(paths.at(0));
        QCOMPARE(mFx->state(failed), QStringLiteral("3"));
        QVERIFY(mFx->model()->Datas().at(failed).mChecked);
        QCOMPARE(mFx->model()->RowOf(paths.at(1)), -1);
        QCOMPARE(mFx->model()->rowCount(), byBox ? 1 : 2);
        QCOMPARE(mFx->header()->checkState(), byBox ? Qt::Checked : Qt::PartiallyChecked);
        QVERIFY(mFx->button()->isEnabled());
        QVERIFY(mFx->header()->isEnabled());
    }

    // Rows ticked before a rescan, or while it lists the card again, start
    // nothing until the scan is over.
    void noBatchWhileScanning()
    {
        UninstallView *page = openOn(mFx->makeCard(60, 5));
        const QStringList paths = dirPaths(mFx->model());
        mFx->clickCell(0, UninstallModel::NameColumn);
        QVERIFY(mFx->button()->isEnabled());

        bool clicked = false;
        bool enabledDuringScan = true;
        once(mFx->model(), &QAbstractItemModel::modelReset, [](auto...) { return true; }, [&] {
            // The scan waits for the table to take its first vehicle.
            clicked = page->isBusy();
            enabledDuringScan = mFx->button()->isEnabled();
            mFx->clickCell(0, UninstallModel::NameColumn);
            page->OnBtnUninstallClicked();
        });
        page->OnSDChanged(); // as a card change does
        QVERIFY(mFx->waitScanned());
        QVERIFY(clicked);
        QVERIFY(!enabledDuringScan);
        QVERIFY(!AppSettings::isUninstalling());
        QCOMPARE(mFx->model()->rowCount(), paths.size());
        for (int row = 0; row < mFx->model()->rowCount(); ++row)
            QCOMPARE(mFx->state(row), QStringLiteral("0"));
        for (const QString &path : paths)
            QVERIFY2(QFileInfo::exists(path + QStringLiteral("version.txt")), qPrintable(path));
        QVERIFY(!mFx->button()->isEnabled());
    }

    void cardPulledDuringUninstall()
    {
        const QString root = mFx->makeCard(2, 3000);
        UninstallView *page = openOn(root);
        const QStringList paths = dirPaths(mFx->model());
        mFx->clickHeaderBox();
        const QString moved = mFx->env().root() + QStringLiteral("/pulled");
        once(page, &UninstallView::SignalUpdateData, [](bool uninstalling) { return uninstalling; }, [&] {
            QTimer::singleShot(0, this, [&] {
                // The card leaves the system: its folder is gone, then the volume.
                QDir().rename(root.chopped(1), moved);
                mFx->pull(root);
            });
        });
        mFx->answerNextBox(QMessageBox::Ok);
        QTest::mouseClick(mFx->button(), Qt::LeftButton);

        // With no card left the page shows no card, not the pulled one.
        QTRY_COMPARE_WITH_TIMEOUT(mFx->toastText(), QStringLiteral("Please insert the SD card!"), 30000);
        QCOMPARE(mFx->model()->rowCount(), 0);
        QVERIFY(page->isAskingForCard());
        QCOMPARE(mFx->label("serialLabel")->text(), QString());
        QCOMPARE(mFx->label("driveLabel")->text(), QStringLiteral("Internal Storage:"));
        QCOMPARE(mFx->label("usedLabel")->text(), QString());
        QCOMPARE(mFx->label("counterLabel")->text(), QString());
        QVERIFY(!AppSettings::isUninstalling());
        QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));
        QCOMPARE(mFx->platform().sleepHeld, QStringList());
        // The queued second job never ran.
        const QString second = moved + QLatin1Char('/') + paths.at(1).mid(root.size());
        QVERIFY2(QFileInfo::exists(second + QStringLiteral("version.txt")), qPrintable(second));
        // The rows of the next card can be ticked.
        QVERIFY(!mFx->model()->IsUninstalling());
    }

    void exitDuringUninstall_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no: resume") << int(QMessageBox::No);
        QTest::newRow("ok: stop") << int(QMessageBox::Ok);
    }
    void exitDuringUninstall()
    {
        QFETCH(int, answer);
        UninstallView *page = openOn(mFx->makeCard(1, 3000));
        const QString dir = mFx->model()->Datas().at(0).mDirPath;
        mFx->clickCell(0, UninstallModel::NameColumn);

        QString question;
        int exitResult = -1;
        QStringList sleepAfterAnswer;
        mFx->answerNextBox(QMessageBox::Ok);
        once(
            page, &UninstallView::SignalUpdateData, [](bool uninstalling) { return uninstalling; },
            [&] {
                mFx->answerNextBox(QMessageBox::StandardButton(answer),
                                   [&](MessageBoxDialog *box) { question = box->textLabel()->text(); });
                exitResult = page->OnExit() ? 1 : 0;
                // Taken at once: a resumed job may well end before the next look.
                sleepAfterAnswer = mFx->platform().sleepHeld;
            });
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(exitResult != -1, 20000);
        QCOMPARE(sleepAfterAnswer, answer == QMessageBox::No ? SleepHeld : QStringList());
        QCOMPARE(question, QStringLiteral("The model is being unloaded. Closing may result in the car not "
                                          "working properly. Is it turned off?"));

        if (answer == QMessageBox::No) {
            QCOMPARE(exitResult, 0);
            // Resumed: the job runs to its end.
            QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(dir), 20000);
            QVERIFY(mFx->waitScanned());
            QCOMPARE(mFx->model()->rowCount(), 0);
            QCOMPARE(mFx->platform().sleepHeld, QStringList());
        } else {
            QCOMPARE(exitResult, 1);
            QVERIFY(!page->isBusy());
            QVERIFY(QFileInfo::exists(dir));
            QVERIFY(!AppSettings::isUninstalling());
            QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));
        }
    }

    void exitDuringScanQuitsAtItsEnd()
    {
        const QString root = mFx->makeCard(30, 5);
        mFx->insert(root);
        int exitResult = -1;
        UninstallView *page = nullptr;
        QTimer::singleShot(0, this, [&] {
            page = mFx->open();
            // Asked while the scan waits for the table to copy its first vehicle.
            once(mFx->model(), &QAbstractItemModel::modelReset, [](auto...) { return true; },
                 [&] { exitResult = page->OnExit() ? 1 : 0; });
        });
        QTimer::singleShot(30000, [] { QCoreApplication::exit(2); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(exitResult, 0);
        QVERIFY(!page->isBusy());
        QVERIFY(mFx->model()->rowCount() < 30);
    }

    void destroyedDuringScan()
    {
        mFx->insert(mFx->makeCard(120, 5));
        UninstallView *page = mFx->open();
        bool seen = false;
        once(mFx->model(), &QAbstractItemModel::modelReset, [](auto...) { return true; }, [&] { seen = true; });
        QTRY_VERIFY_WITH_TIMEOUT(seen, 20000);
        // The scan may be waiting for the page to take its next vehicle.
        const bool scanning = page->isBusy();
        delete page;
        if (!scanning)
            qInfo("the scan had ended before the page went");
    }

    // A page that goes while a job runs stops it and ends the batch, so the
    // download side is not refused for the rest of the session.
    void destroyedDuringUninstall()
    {
        UninstallView *page = openOn(mFx->makeCard(2, 3000));
        const QString second = mFx->model()->Datas().at(1).mDirPath;
        mFx->clickHeaderBox();
        bool gone = false;
        once(page, &UninstallView::SignalUpdateData, [](bool uninstalling) { return uninstalling; }, [&] {
            QTimer::singleShot(0, this, [&] {
                delete page;
                gone = true;
            });
        });
        mFx->answerNextBox(QMessageBox::Ok);
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(gone, 20000);
        QVERIFY(!AppSettings::isUninstalling());
        QCOMPARE(mFx->platform().sleepHeld, QStringList());
        QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));
        QVERIFY(QFileInfo::exists(second + QStringLiteral("version.txt")));
    }

    // Nothing starts while a download runs, while another holder has the
    // global mutex, or when the mechanic says no to the question.
    void refusals_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("download running") << "download";
        QTest::newRow("mutex held elsewhere") << "mutex";
        QTest::newRow("question declined") << "declined";
    }
    void refusals()
    {
        QFETCH(QString, how);
        openOn(mFx->makeCard(2, 5));
        const QString dir = mFx->model()->Datas().at(0).mDirPath;
        mFx->clickCell(0, UninstallModel::NameColumn);
        QString text;
        const auto read = [&](MessageBoxDialog *box) { text = box->textLabel()->text(); };
        if (how == QLatin1String("mutex")) {
            mFx->platform().heldMutexes.insert(Mutex);
        } else if (how == QLatin1String("download")) {
            AppSettings::setDownloading(true);
            mFx->answerNextBox(QMessageBox::Ok, read);
        } else {
            mFx->answerNextBox(QMessageBox::Cancel, read);
        }
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        if (how == QLatin1String("download")) {
            QCOMPARE(text, QStringLiteral("Vehicle is being upgraded, do not unload!"));
            QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));
        } else if (how == QLatin1String("mutex")) {
            QCOMPARE(mFx->toastText(), QStringLiteral("Updating, Please waitting..."));
            QVERIFY(GlobalMutex::isEmpty());
        } else {
            QCOMPARE(text, QStringLiteral("Uninstall 1 vehicle software package(s) from the SD card? This frees %1.")
                               .arg(UninstallModel::SizeText(mFx->model()->Datas().at(0).mSize)));
            QVERIFY(!mFx->platform().heldMutexes.contains(Mutex));
            QVERIFY(mFx->button()->isEnabled());
        }
        QTest::qWait(50);
        QCOMPARE(mFx->state(0), QStringLiteral("0"));
        QVERIFY(QFileInfo::exists(dir + QStringLiteral("version.txt")));
        QVERIFY(!AppSettings::isUninstalling());
        QVERIFY(!mFx->page()->isBusy());
        QCOMPARE(mFx->platform().sleepInhibits, 0);
    }

    // Stop during a batch: the vehicle under way is finished, the others
    // stay on the card, ticked, and the list shows which are left.
    void stopFinishesTheRunningVehicle()
    {
        UninstallView *page = openOn(mFx->makeCard(3, 2000));
        const QStringList paths = dirPaths(mFx->model());
        auto *stop = page->findChild<QPushButton *>(QStringLiteral("btnStop"));
        QVERIFY(!stop->isVisible());
        mFx->clickHeaderBox();
        once(
            page, &UninstallView::SignalUpdateData, [](bool uninstalling) { return uninstalling; },
            [&] {
                QVERIFY(stop->isVisible() && stop->isEnabled());
                QTest::mouseClick(stop, Qt::LeftButton);
                QVERIFY(!stop->isEnabled());
            });
        mFx->answerNextBox(QMessageBox::Ok);
        QTest::mouseClick(mFx->button(), Qt::LeftButton);
        QVERIFY(mFx->waitScanned());
        QCOMPARE(mFx->toastText(), QStringLiteral("Stopped. 1 of 3 vehicle software packages were uninstalled; the "
                                                  "others stay on the SD card."));
        QVERIFY(!stop->isVisible());
        QVERIFY(!AppSettings::isUninstalling());
        int removed = 0;
        for (const QString &path : paths) {
            const bool there = QFileInfo::exists(path + QStringLiteral("version.txt"));
            removed += there ? 0 : 1;
            // Whole or gone, never half.
            QVERIFY2(there || !QFileInfo::exists(path), qPrintable(path));
            QCOMPARE(mFx->model()->RowOf(path) >= 0, there);
        }
        QCOMPARE(removed, 1);
        QCOMPARE(mFx->model()->rowCount(), 2);
        for (const VehicleData &record : mFx->model()->Datas()) {
            QVERIFY(record.mChecked);
            QCOMPARE(record.mState.value(0), QStringLiteral("0"));
        }
        QVERIFY(mFx->button()->isEnabled());
    }

    void watcherRescansOnNextVisit()
    {
        UninstallView *page = openOn(mFx->makeCard(3, 5));
        const QString gone = mFx->model()->Datas().at(0).mDirPath;
        QVERIFY(QDir(gone).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(page->isDirty(), 10000);
        QCOMPARE(mFx->model()->rowCount(), 3);

        page->OnUpdateView(QStringLiteral("DOWNLOAD"));
        QTest::qWait(20);
        QCOMPARE(mFx->model()->rowCount(), 3);

        page->OnUpdateView(QStringLiteral("UNISTALL"));
        QVERIFY(mFx->waitScanned());
        QCOMPARE(mFx->model()->rowCount(), 2);
        QVERIFY(!dirPaths(mFx->model()).contains(gone));
    }
};

QTEST_MAIN(TestUninstallPage)
#include "tst_uninstallpage.moc"
