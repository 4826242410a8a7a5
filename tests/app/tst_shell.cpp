// The main window in process: the first page and first broadcast, navigation,
// the version text, the guarded exit and the binding of the download plug-in.
#include "AppSettings.h"
#include "ButtonBar.h"
#include "FXRadioButton.h"
#include "FakePlatform.h"
#include "GlobalMutex.h"
#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "SampleCardGenerator.h"
#include "SharedWindowRect.h"
#include "TestEnv.h"
#include "TitleBar.h"
#include "UninstallModel.h"
#include "UninstallView.h"
#include "WebViewTestMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
const QString kMutex = QStringLiteral("ostrel_global_mutex");
const QString kToken = QStringLiteral("token-shell");
const int kUserId = 4711;

QStringList gLog;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    gLog << message;
}

// Watches for a MainWindow while its constructor runs and attaches a spy to
// its broadcast, so the emission the constructor itself makes is counted.
class ConstructionSpy : public QObject
{
public:
    ConstructionSpy() { qApp->installEventFilter(this); }
    ~ConstructionSpy() override { qApp->removeEventFilter(this); }
    QSignalSpy *spy() const { return mSpy.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(event)
        // Any event will do: the first one the window gets after its own
        // constructor began (its central widget arriving) comes before the
        // constructor selects the first page.
        if (!mSpy) {
            if (auto *window = qobject_cast<MainWindow *>(watched))
                mSpy = std::make_unique<QSignalSpy>(window, &MainWindow::SignalBtnClicked);
        }
        return false;
    }

private:
    std::unique_ptr<QSignalSpy> mSpy;
};

// Answers the message boxes that come up, in order, and records their
// texts. A box beyond the expected ones is answered No, so that a test that
// meets one fails on the count instead of hanging in it.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QList<int> answers)
        : mAnswers(std::move(answers))
    {
        connect(&mPoll, &QTimer::timeout, this, &BoxAnswerer::poll);
        mPoll.start(10);
    }
    QStringList texts;

private:
    void poll()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<MessageBoxDialog *>(widget);
            if (!box || !box->isVisible() || box == mLast)
                continue;
            mLast = box;
            texts << box->textLabel()->text();
            const int answer = mAnswers.isEmpty() ? int(QMessageBox::No) : mAnswers.takeFirst();
            (answer == QMessageBox::No ? box->secondButton() : box->firstButton())->click();
            return;
        }
    }

    QList<int> mAnswers;
    QTimer mPoll;
    QPointer<MessageBoxDialog> mLast;
};

// Runs the application's event loop with `action` as its first step and
// returns the loop's code: 0 when the action ended it, -1 when it did not.
// The fallback only ends a loop that the action left running; a zero
// interval could fire in the same pass as the action's own exit and win.
int runLoop(const std::function<void()> &action)
{
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    QTimer::singleShot(0, qApp, [&] {
        action();
        fallback.start(500);
    });
    return QCoreApplication::exec();
}

bool copyPlugin(const QString &from, const QString &folder, const QString &name)
{
    QDir().mkpath(folder);
    return QFile::copy(from, folder + QLatin1Char('/') + name);
}
} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> mEnv;
    std::unique_ptr<FakePlatform> mPlatform;

    QString pluginsDir() const { return mEnv->installDir() + QStringLiteral("/plugins"); }

private slots:
    void initTestCase()
    {
        // Nothing here may reach out: the complaint form goes nowhere.
        qputenv("OSTREL_WEB_URL", "http://127.0.0.1:9/");
        qputenv("OSTREL_SERVICE_URL", "http://127.0.0.1:9/KvaApi/");
    }

    void init()
    {
        mEnv = std::make_unique<TestEnv>();
        mPlatform = std::make_unique<FakePlatform>();
        gLog.clear();
    }

    void cleanup()
    {
        GlobalMutex::close();
        mPlatform.reset();
        mEnv.reset();
    }

    void startsOnTheDownloadPage()
    {
        ConstructionSpy construction;
        MainWindow window(kToken, kUserId);
        QSignalSpy *spy = construction.spy();
        QVERIFY(spy);
        QCOMPARE(spy->count(), 1);
        QCOMPARE(spy->at(0), (QVariantList{QStringLiteral("DOWNLOAD"), kToken, kUserId}));

        ButtonBar *bar = window.buttonBar();
        QCOMPARE(bar->checkedId(), QStringLiteral("DOWNLOAD"));
        int checked = 0;
        for (FXRadioButton *entry : bar->findChildren<FXRadioButton *>())
            checked += entry->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
        QCOMPARE(window.pages()->currentIndex(), 0);
        QCOMPARE(window.pages()->currentWidget(), window.downloadPage());
        // Without a plug-in the entry explains itself instead of showing nothing.
        QCOMPARE(window.downloadPage()->objectName(), QStringLiteral("MissingPluginPage"));

        // Every entry carries the stack position of its own page.
        QCOMPARE(window.pages()->count(), 5);
        for (const char *id : {"DOWNLOAD", "COMPLAINT", "UNISTALL", "SETTING", "USERINFO"}) {
            QWidget *page = window.pageFor(QLatin1String(id));
            QVERIFY2(page, id);
            QCOMPARE(window.pages()->indexOf(page), ButtonBar::indexOf(QLatin1String(id)));
            QCOMPARE(page->size(), QSize(930, 745));
        }
        // Every page shows whole in the designed window below the title bar
        // (which scrolls on a screen smaller than designed): none reaches
        // below its edge.
        window.show();
        QWidget *body = window.body()->widget();
        QCOMPARE(body->size(), QSize(1200, 800 - window.titleBar()->height()));
        for (int i = 0; i < window.pages()->count(); ++i) {
            QWidget *page = window.pages()->widget(i);
            const QRect inBody(page->mapTo(body, QPoint(0, 0)), page->size());
            QVERIFY2(body->rect().contains(inBody), qPrintable(page->objectName()));
        }

        // Centred on the screen's available area, as large as designed
        // where it has room (the test screen is smaller).
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size = QSize(1200, 800).boundedTo(area.size());
        QCOMPARE(window.size(), size);
        const QRect centred(area.x() + (area.width() - size.width()) / 2,
                            area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
        QCOMPARE(window.pos(), centred.topLeft());
        QCOMPARE(SharedWindowRect::get(), centred);
        QCOMPARE(mPlatform->autostartCalls, 1);
        // The shipped edition is the debug one: it must not start with the desktop.
        QCOMPARE(mPlatform->autostartEnabled, false);
        QCOMPARE(mPlatform->shortcutCalls, 1);
    }

    void navigation()
    {
        MainWindow window(kToken, kUserId);
        window.show();
        ButtonBar *bar = window.buttonBar();
        QSignalSpy barSpy(bar, &ButtonBar::SignalBtnClicked);
        QSignalSpy windowSpy(&window, &MainWindow::SignalBtnClicked);

        // Already checked: selecting it from code still reports it, once.
        bar->selectById(QStringLiteral("DOWNLOAD"));
        QCOMPARE(barSpy.count(), 1);
        QCOMPARE(windowSpy.count(), 1);

        // ... and the flag it set does not swallow the next real click.
        QTest::mouseClick(bar->entry(QStringLiteral("COMPLAINT")), Qt::LeftButton);
        QCOMPARE(barSpy.count(), 2);
        QCOMPARE(barSpy.at(1), (QVariantList{QStringLiteral("COMPLAINT"), 1}));
        QCOMPARE(windowSpy.at(1), (QVariantList{QStringLiteral("COMPLAINT"), kToken, kUserId}));
        QCOMPARE(window.pages()->currentWidget(), window.pageFor(QStringLiteral("COMPLAINT")));

        QTest::mouseClick(bar->entry(QStringLiteral("SETTING")), Qt::LeftButton);
        QCOMPARE(window.pages()->currentWidget(), window.pageFor(QStringLiteral("SETTING")));
        QTest::mouseClick(bar->entry(QStringLiteral("DOWNLOAD")), Qt::LeftButton);
        QCOMPARE(window.pages()->currentIndex(), 0);
        QCOMPARE(barSpy.count(), 4);

        // A click on the checked entry changes nothing and reports nothing.
        QTest::mouseClick(bar->entry(QStringLiteral("DOWNLOAD")), Qt::LeftButton);
        QCOMPARE(barSpy.count(), 4);

        // An id no page answers to leaves the page, but still goes out.
        window.OnBtnClicked(QStringLiteral("NOSUCHPAGE"));
        QCOMPARE(window.pages()->currentIndex(), 0);
        QCOMPARE(windowSpy.last().at(0).toString(), QStringLiteral("NOSUCHPAGE"));

        // Window commands are not pages and are not re-broadcast.
        const int broadcasts = windowSpy.count();
        window.titleBar()->findChild<QPushButton *>(QStringLiteral("min"))->click();
        QVERIFY(window.isMinimized());
        QCOMPARE(windowSpy.count(), broadcasts);
        // A note from a second start brings it back.
        window.append(QStringLiteral("Wake up!"));
        QVERIFY(!window.isMinimized());
    }

    void framelessDragging_data()
    {
        QTest::addColumn<bool>("byTitleBar");
        QTest::addColumn<QPoint>("expectedShift");
        QTest::newRow("title bar drags") << true << QPoint(30, 20);
        QTest::newRow("navigation bar does not") << false << QPoint(0, 0);
    }
    void framelessDragging()
    {
        QFETCH(bool, byTitleBar);
        QFETCH(QPoint, expectedShift);
        MainWindow window(kToken, kUserId);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget *handle = byTitleBar ? static_cast<QWidget *>(window.titleBar()) : window.buttonBar();
        const QPoint start = window.pos();
        const QPoint local(300, 15);
        const QPoint global = handle->mapToGlobal(local);
        auto send = [handle](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, handle->mapFromGlobal(at), at, button, held, Qt::NoModifier);
            QApplication::sendEvent(handle, &event);
        };
        send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPoint(10, 5), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, global + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
        // Moves after the release no longer drag.
        send(QEvent::MouseMove, global + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
        QCOMPARE(window.pos(), start + expectedShift);
        QCOMPARE(SharedWindowRect::get(), QRect(start + expectedShift, window.size()));
    }

    void versionText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing file") << QByteArray() << QStringLiteral("V1.00.001");
        QTest::newRow("plain") << QByteArray("[General]\nVersion=V2.34.567\n") << QStringLiteral("V2.34.567");
        QTest::newRow("lower case, trailing blank")
            << QByteArray("[General]\nVersion=\"v1.23.456 \"\n") << QStringLiteral("V1.23.456");
        QTest::newRow("leading blanks") << QByteArray("Version=\"   V1.23.456\"\n") << QStringLiteral("V1.23.456");
        QTest::newRow("fewer than 9") << QByteArray("Version=V1.2.3\n") << QString();
        QTest::newRow("one digit too many") << QByteArray("Version=V1.23.4567\n") << QString();
        QTest::newRow("text before") << QByteArray("Version=XV1.23.456\n") << QString();
        QTest::newRow("letters for digits") << QByteArray("Version=V1.2A.456\n") << QString();
        QTest::newRow("no key") << QByteArray("Other=V1.23.456\n") << QStringLiteral("V1.00.001");
    }
    void versionText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        if (!file.isNull())
            QVERIFY(TestEnv::writeFile(AppSettings::versionFile(), file));
        QCOMPARE(TitleBar::versionText(), expected);
        TitleBar bar;
        QCOMPARE(bar.title(), QStringLiteral("Ostrel") + expected);
    }

    void exitRequest_data()
    {
        QTest::addColumn<bool>("downloading");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("loopCode");
        QTest::newRow("nothing running") << false << QList<int>{} << 0;
        QTest::newRow("download, no") << true << QList<int>{QMessageBox::No} << -1;
        QTest::newRow("download, ok") << true << QList<int>{QMessageBox::Ok} << 0;
    }
    void exitRequest()
    {
        QFETCH(bool, downloading);
        QFETCH(QList<int>, answers);
        QFETCH(int, loopCode);
        AppSettings::setDownloading(downloading);
        MainWindow window(kToken, kUserId);
        window.show();
        BoxAnswerer answerer(answers);
        QCOMPARE(runLoop([&] { window.titleBar()->findChild<QPushButton *>(QStringLiteral("close"))->click(); }),
                 loopCode);
        QCOMPARE(answerer.texts.size(), answers.size());
        if (downloading) {
            QCOMPARE(answerer.texts.value(0),
                     QStringLiteral("The model is upgrading. Closing may result in the car not working "
                                    "properly. Is it turned off?"));
        }
        QVERIFY(window.isVisible());
        // This process now owns the exit guard; the window lets it go with itself.
        QVERIFY(mPlatform->heldMutexes.contains(kMutex));
    }

    void exitWhileTheGuardIsHeldElsewhere()
    {
        mPlatform->heldMutexes.insert(kMutex);
        MainWindow window(kToken, kUserId);
        BoxAnswerer answerer({});
        QCOMPARE(runLoop([&] { window.OnBtnClicked(QStringLiteral("EXIT")); }), -1);
        QCOMPARE(answerer.texts, QStringList());
        // The handle is kept whatever came of it, so a second request goes on.
        QVERIFY(!GlobalMutex::isEmpty());
        QCOMPARE(runLoop([&] { window.OnBtnClicked(QStringLiteral("EXIT")); }), 0);
    }

    void exitWhileUninstalling_data()
    {
        QTest::addColumn<int>("uninstallAnswer");
        QTest::addColumn<int>("loopCode");
        QTest::newRow("page refuses") << int(QMessageBox::No) << -1;
        QTest::newRow("page agrees") << int(QMessageBox::Ok) << 0;
    }
    void exitWhileUninstalling()
    {
        QFETCH(int, uninstallAnswer);
        QFETCH(int, loopCode);
        SampleCardGenerator::Options options;
        options.vehicles = 1;
        options.filesPerVehicle = 3000;
        options.extras = false;
        const QString root = mEnv->makeDir(QStringLiteral("card")) + QLatin1Char('/');
        SampleCardGenerator generator(options);
        QVERIFY(generator.generate(root));
        mPlatform->fakeVolumes().add(root, true, 1 << 20, 1 << 22);

        MainWindow window(kToken, kUserId);
        window.show();
        QTest::mouseClick(window.buttonBar()->entry(QStringLiteral("UNISTALL")), Qt::LeftButton);
        UninstallView *page = window.uninstallPage();
        auto *table = page->findChild<QTableView *>(QStringLiteral("vehicleTable"));
        QVERIFY(table);
        QTRY_COMPARE_WITH_TIMEOUT(table->model()->rowCount(), 1, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);
        const QRect cell = table->visualRect(table->model()->index(0, UninstallModel::NameColumn));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());

        // The uninstall's own question first, then the window's and the page's.
        BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok, uninstallAnswer});
        int code = 1;
        // Asked while the job runs: the page pauses it for its own question.
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = connect(page, &UninstallView::SignalUpdateData, this, [&, connection](bool uninstalling) {
            if (!uninstalling)
                return;
            disconnect(*connection);
            // Set only now: the page itself refuses to start while a download runs.
            AppSettings::setDownloading(true);
            code = runLoop([&] { window.OnBtnClicked(QStringLiteral("EXIT")); });
        });
        QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("btnUninstall")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(code != 1, 20000);
        QCOMPARE(code, loopCode);
        QCOMPARE(answerer.texts.size(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 30000);
    }

    void pluginBinding_data()
    {
        QTest::addColumn<QStringList>("files"); // "source=name", source "junk" for a non-plug-in
        QTest::addColumn<QString>("page");      // object name of the page, "" for none
        QTest::addColumn<bool>("logsError");
        const QString page = QStringLiteral(OSTREL_TEST_PAGE_PLUGIN);
        const QString empty = QStringLiteral(OSTREL_TEST_EMPTY_PLUGIN);
        const QString found = QStringLiteral("TestDownloadPage");
        QTest::newRow("no folder") << QStringList() << QString() << false;
        QTest::newRow("not a plug-in") << QStringList{QStringLiteral("junk=libJunkDravik.so")} << QString() << true;
        QTest::newRow("creates nothing") << QStringList{empty + QStringLiteral("=libEmptyDravik.so")} << QString()
                                         << false;
        QTest::newRow("creates a page") << QStringList{page + QStringLiteral("=libPageDravik.so")} << found << false;
        QTest::newRow("other suffix") << QStringList{page + QStringLiteral("=libPage.so"),
                                                     page + QStringLiteral("=libPageDravik.so.1"),
                                                     page + QStringLiteral("=libPagedravik.so")}
                                      << QString() << false;
        QTest::newRow("bad file, then a plug-in")
            << QStringList{QStringLiteral("junk=libAJunkDravik.so"), page + QStringLiteral("=libBPageDravik.so"),
                           QStringLiteral("junk=libCJunkDravik.so")}
            << found << true;
    }
    void pluginBinding()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, page);
        QFETCH(bool, logsError);
        for (const QString &file : files) {
            const QString source = file.section(QLatin1Char('='), 0, 0);
            const QString name = file.section(QLatin1Char('='), 1);
            if (source == QLatin1String("junk"))
                QVERIFY(TestEnv::writeFile(pluginsDir() + QLatin1Char('/') + name, "not a shared object"));
            else
                QVERIFY(copyPlugin(source, pluginsDir(), name));
        }
        QLoggingCategory::setFilterRules(QStringLiteral("ostrel.app.debug=true"));
        const QtMessageHandler previous = qInstallMessageHandler(captureLog);
        auto window = std::make_unique<MainWindow>(kToken, kUserId);
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());

        bool errorLogged = false;
        for (const QString &line : qAsConst(gLog))
            errorLogged = errorLogged || line.startsWith(QLatin1String("error: "));
        QCOMPARE(errorLogged, logsError);

        QStackedWidget *stack = window->pages();
        QCOMPARE(stack->count(), 5);
        QCOMPARE(stack->currentIndex(), 0);
        QWidget *first = stack->widget(0);
        QCOMPARE(first, window->downloadPage());
        QCOMPARE(first->objectName(), page.isEmpty() ? QStringLiteral("MissingPluginPage") : page);
        QCOMPARE(first->parentWidget(), static_cast<QWidget *>(stack));
        QCOMPARE(first->size(), QSize(930, 745));
        QCOMPARE(first->minimumSize(), first->maximumSize());
    }
};

int main(int argc, char *argv[])
{
    return runWebViewTest<TestShell>(argc, argv);
}

#include "tst_shell.moc"
