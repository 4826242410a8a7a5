// One session as a user has it: sign in against the stand-in service, the
// main window on a simulated removable drive, every page, and one vehicle
// uninstalled from a generated card.
#include "AccessibilityAudit.h"
#include "AppSettings.h"
#include "ButtonBar.h"
#include "FXRadioButton.h"
#include "FocusRing.h"
#include "LoginDialog.h"
#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "OpenMessageBox.h"
#include "SampleCardGenerator.h"
#include "StandInService.h"
#include "TestEnv.h"
#include "UninstallModel.h"
#include "UninstallView.h"
#include "WebViewTestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

class TestEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> mEnv;
    StandInService mService;
    QString mCard;

    QString home() const { return mEnv->root() + QStringLiteral("/home"); }

private slots:
    void initTestCase()
    {
        mEnv = std::make_unique<TestEnv>();
        // The real platform layer writes an autostart entry and a desktop
        // shortcut: keep them in the test's folder even when run by hand.
        const QString home = mEnv->makeDir(QStringLiteral("home"));
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
        QVERIFY(mService.start());
        mService.exportEnvironment();
        // The card sits on a simulated drive that the real volume layer finds.
        const QString media = mEnv->makeDir(QStringLiteral("media"));
        mCard = media + QStringLiteral("/SCANNER/");
        SampleCardGenerator::Options options;
        options.serial = QStringLiteral("ABCDEFGHIJKLM");
        options.vehicles = 3;
        SampleCardGenerator generator(options);
        QVERIFY2(generator.generate(mCard), qPrintable(generator.errorString()));
        qputenv("OSTREL_REMOVABLE_ROOTS", media.toUtf8());
        // A previous run that died mid-download.
        AppSettings::setDownloading(true);
    }

    void cleanupTestCase() { mEnv.reset(); }

    void signInThenUninstallAVehicle()
    {
        LoginDialog login;
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTest::keyClicks(login.findChild<QLineEdit *>(QStringLiteral("account")), QStringLiteral("alice@ostrel.test"));
        QTest::keyClicks(login.findChild<QLineEdit *>(QStringLiteral("password")), QStringLiteral("alice123"));
        QTest::mouseClick(login.findChild<QPushButton *>(QStringLiteral("login")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(login.result(), int(QDialog::Accepted), 20000);
        QCOMPARE(login.token(), QStringLiteral("token-alice"));
        QCOMPARE(login.userId(), 1001L);

        // What the program does between the dialog and the window.
        AppSettings::resetBusyFlags();
        QVERIFY(!AppSettings::isDownloading());

        MainWindow window(login.token(), int(login.userId()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ButtonBar *bar = window.buttonBar();

        // The profile page asks the service as the signed-in user.
        QTest::mouseClick(bar->entry(QStringLiteral("USERINFO")), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), window.pageFor(QStringLiteral("USERINFO")));
        QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(QStringLiteral("/KvaApi/user/get_info")).size(), 1, 20000);
        const QJsonObject profileRequest = mService.requestsTo(QStringLiteral("/KvaApi/user/get_info")).at(0).toObject();
        const QString sent = profileRequest.value(QStringLiteral("query")).toString()
            + profileRequest.value(QStringLiteral("body")).toString();
        QVERIFY2(sent.contains(QLatin1String("token-alice")) && sent.contains(QLatin1String("1001")), qPrintable(sent));

        // The complaint form opens as the signed-in user.
        QTest::mouseClick(bar->entry(QStringLiteral("COMPLAINT")), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), window.pageFor(QStringLiteral("COMPLAINT")));
        QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(QStringLiteral("/complain-add")).size(), 1, 30000);
        const QUrlQuery form(
            mService.requestsTo(QStringLiteral("/complain-add")).at(0).toObject().value(QStringLiteral("query")).toString());
        QCOMPARE(form.queryItemValue(QStringLiteral("token")), QStringLiteral("token-alice"));
        QCOMPARE(form.queryItemValue(QStringLiteral("user_id")), QStringLiteral("1001"));

        QTest::mouseClick(bar->entry(QStringLiteral("SETTING")), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), window.pageFor(QStringLiteral("SETTING")));

        QTest::mouseClick(bar->entry(QStringLiteral("UNISTALL")), Qt::LeftButton);
        UninstallView *page = window.uninstallPage();
        QCOMPARE(window.pages()->currentWidget(), static_cast<QWidget *>(page));
        auto *table = page->findChild<QTableView *>(QStringLiteral("vehicleTable"));
        QVERIFY(table);
        auto *model = qobject_cast<UninstallModel *>(table->model());
        QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 3, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);

        QStringList dirs;
        for (const VehicleData &record : model->Datas()) {
            QVERIFY2(record.mDirPath.startsWith(mCard), qPrintable(record.mDirPath));
            QVERIFY(QFileInfo(record.mDirPath).isDir());
            dirs << record.mDirPath;
        }
        const QRect cell = table->visualRect(model->index(1, UninstallModel::NameColumn));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        // Asked first, with what goes and what it frees.
        QString question;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (MessageBoxDialog *box = openMessageBox()) {
                answer.stop();
                question = box->textLabel()->text();
                box->firstButton()->click();
            }
        });
        answer.start(20);
        QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("btnUninstall")), Qt::LeftButton);
        QVERIFY2(question.startsWith(QLatin1String("Uninstall 1 vehicle software package(s) from the SD card?")),
                 qPrintable(question));

        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(dirs.at(1)), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);
        QVERIFY(QFileInfo(dirs.at(0)).isDir());
        QVERIFY(QFileInfo(dirs.at(2)).isDir());
        QVERIFY(QFileInfo::exists(mCard + QStringLiteral("sn.txt")));
        QVERIFY(!AppSettings::isUninstalling());
        QVERIFY(QFileInfo::exists(home() + QStringLiteral("/Desktop/Ostrel.desktop")));
    }

    // Every page of the main window as a screen reader and an eye meet it:
    // each control named, each cell told, each text readable. Tab moves a
    // visible focus: no two steps look the same.
    void everyPageForTheKeyboardAndAScreenReader()
    {
        // The program's look: its style sheet takes the style's own focus
        // marks away (and the ring puts one back).
        QFile style(QStringLiteral(":/qss/Resources/qss/style.qss"));
        QVERIFY(style.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
        const auto plain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        FocusRing::install();
        MainWindow window(QStringLiteral("token-alice"), 1001);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ButtonBar *bar = window.buttonBar();
        for (const char *id : {"DOWNLOAD", "COMPLAINT", "UNISTALL", "SETTING", "USERINFO"}) {
            QTest::mouseClick(bar->entry(QLatin1String(id)), Qt::LeftButton);
            QCOMPARE(window.pages()->currentWidget(), window.pageFor(QLatin1String(id)));
            if (qstrcmp(id, "UNISTALL") == 0) {
                auto *model = window.uninstallPage()->findChild<QTableView *>()->model();
                QTRY_VERIFY_WITH_TIMEOUT(model->rowCount() > 0, 20000);
                QTRY_VERIFY_WITH_TIMEOUT(!window.uninstallPage()->isBusy(), 20000);
            } else if (qstrcmp(id, "USERINFO") == 0) {
                QTRY_VERIFY_WITH_TIMEOUT(
                    window.pageFor(QLatin1String(id))->findChild<QTableView *>()->model()->rowCount() > 0, 20000);
            }
            QCOMPARE(AccessibilityAudit::report(&window), QString());
        }

        // Round the whole window once: every stop shows where the focus is.
        const auto picture = [&window] { return window.grab().toImage(); };
        QWidget *first = QApplication::focusWidget();
        QList<QImage> steps{picture()};
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
            steps << picture();
            QVERIFY2(!steps.mid(0, steps.size() - 1).contains(steps.last()),
                     qPrintable(QStringLiteral("the focus on %1 does not show")
                                    .arg(QLatin1String(QApplication::focusWidget()->metaObject()->className()))));
        }
        QCOMPARE(QApplication::focusWidget(), first);
        QVERIFY(steps.size() >= 5); // the page's button and table, the title bar's two, the navigation
    }
};

int main(int argc, char *argv[])
{
    return runWebViewTest<TestEndToEnd>(argc, argv);
}

#include "tst_endtoend.moc"
