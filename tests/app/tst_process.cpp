// The program as its user meets it: real processes on a virtual display,
// signed in against the stand-in service.
#include "ProgramUnderTest.h"
#include "StandInService.h"
#include "TestEnv.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace {
const QSize kMainSize(1200, 800);
const int kWait = 30000;

bool flag(const QString &file, const char *key)
{
    return QSettings(file, QSettings::IniFormat).value(QLatin1String(key), false).toBool();
}
} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

    StandInService mService;
    std::unique_ptr<TestEnv> mEnv;
    std::unique_ptr<ProgramUnderTest> mProgram;

    // Starts a copy and signs it in with the remembered account; returns
    // the main window, or "" when it did not come up.
    QString startSignedIn(QProcess **process)
    {
        *process = mProgram->start();
        const QString login = ProgramUnderTest::waitForWindow((*process)->processId());
        if (login.isEmpty() || !signIn(login))
            return QString();
        return ProgramUnderTest::waitForWindow((*process)->processId(), kMainSize);
    }

    static bool signIn(const QString &login)
    {
        return ProgramUnderTest::signIn(login, QStringLiteral("alice@ostrel.test"), QStringLiteral("alice123"));
    }

    // The harness starts a copy again when the loaded test display refused
    // it; a copy that the program or a shell started cannot be, so such a
    // test goes through its steps once more when the copy ended unseen.
    static constexpr const char *endedWithoutWindow =
        "a copy ended without a window (the test display may have refused it); once more";

    // What a copy that never showed its window left behind, for the failure message.
    static QByteArray noWindow(QProcess *process)
    {
        // A copy that has just ended is only noticed once it is reaped.
        process->waitForFinished(100);
        QByteArray why = process->state() == QProcess::NotRunning
            ? "ended with " + QByteArray::number(process->exitCode())
            : QByteArray("still running");
        return why + ", output: " + process->readAllStandardError().right(2000);
    }

    static bool finishes(QProcess *process)
    {
        return process->state() == QProcess::NotRunning || process->waitForFinished(kWait);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mService.start());
        mService.exportEnvironment();
    }

    void init()
    {
        // A test that failed half-way must not leave its faults to the next.
        QVERIFY(mService.reset());
        mEnv = std::make_unique<TestEnv>();
        mProgram = std::make_unique<ProgramUnderTest>(mEnv->makeDir(QStringLiteral("Ostrel")));
        QVERIFY(mProgram->ready());
    }

    void cleanup()
    {
        mProgram.reset();
        mEnv.reset();
    }

    void cancellingTheLoginLeavesTheBusyFlags()
    {
        const QString operation = mProgram->file(QStringLiteral("Operation.ini"));
        const QByteArray before("[Download]\nIsDownloading=true\n[Uninstall]\nIsUninstalling=true\n");
        QVERIFY(TestEnv::writeFile(operation, before));
        const QDateTime written = QFileInfo(operation).lastModified();

        QProcess *program = mProgram->start();
        const QString login = ProgramUnderTest::waitForWindow(program->processId());
        QVERIFY2(!login.isEmpty(), noWindow(program).constData());
        QVERIFY(ProgramUnderTest::pressKey(login, QStringLiteral("Escape")));
        QVERIFY(finishes(program));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(TestEnv::readFile(operation), before);
        QCOMPARE(QFileInfo(operation).lastModified(), written);
    }

    void closingTheLoginDuringAHungSignInEndsTheProgram()
    {
        // The service takes the sign-in and never answers.
        QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/user/login")},
                                   {QStringLiteral("hang"), true}}));
        QProcess *program = mProgram->start();
        const QString login = ProgramUnderTest::waitForWindow(program->processId());
        QVERIFY2(!login.isEmpty(), noWindow(program).constData());
        QVERIFY(signIn(login));
        QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(QStringLiteral("/KvaApi/user/login")).size(), 1, kWait);
        QVERIFY(ProgramUnderTest::pressKey(login, QStringLiteral("Escape")));
        // Gone at once, not after the service gave up: a copy lingering
        // without a window would swallow the user's next start.
        QVERIFY2(program->waitForFinished(10000), "the program went on waiting for the sign-in");
        QCOMPARE(program->exitCode(), 0);
        QVERIFY(mService.reset());

        QProcess *again = mProgram->start();
        QVERIFY2(!ProgramUnderTest::waitForWindow(again->processId()).isEmpty(), noWindow(again).constData());
    }

    void aCopyWhoseOutputIsGoneKeepsRunning()
    {
        // A copy started by a restart inherits the old copy's stderr, whose
        // reader may have gone; the program logs there all the time.
        QProcess *shell = nullptr;
        QString login;
        for (int attempt = 1; login.isEmpty(); ++attempt) {
            shell = mProgram->startWithOutputGone();
            QList<QPair<qint64, QStringList>> copies;
            QTRY_VERIFY_WITH_TIMEOUT((copies = mProgram->runningCopies()).size() == 1, kWait);
            login = ProgramUnderTest::waitForWindow(copies.first().first);
            // Say which way it went: a copy that died of its lost output is
            // the fault this guards, a slow one is not.
            const bool ended = mProgram->runningCopies().isEmpty();
            QVERIFY2(!login.isEmpty() || (ended && attempt < 2),
                     ended ? "the copy ended without a window" : "the copy runs but shows no window");
            if (login.isEmpty())
                qWarning("%s", endedWithoutWindow);
        }
        QVERIFY(ProgramUnderTest::pressKey(login, QStringLiteral("Escape")));
        QVERIFY(finishes(shell));
        QTRY_VERIFY_WITH_TIMEOUT(mProgram->runningCopies().isEmpty(), kWait);
    }

    void signInClearsStaleFlagsAndCloseEndsWithZero()
    {
        const QString operation = mProgram->file(QStringLiteral("Operation.ini"));
        QVERIFY(TestEnv::writeFile(operation, "[Download]\nIsDownloading=true\n[Uninstall]\nIsUninstalling=true\n"));

        QProcess *program = nullptr;
        const QString window = startSignedIn(&program);
        QVERIFY2(!window.isEmpty(), program->readAllStandardError().constData());
        QVERIFY(!flag(operation, "Download/IsDownloading"));
        QVERIFY(!flag(operation, "Uninstall/IsUninstalling"));
        // The sign-in reached the service and was kept for the plug-in.
        QCOMPARE(mService.requestsTo(QStringLiteral("/KvaApi/user/login")).size(), 1);
        QCOMPARE(QSettings(mProgram->file(QStringLiteral("Preference.ini")), QSettings::IniFormat)
                     .value(QStringLiteral("UserCenter/Token"))
                     .toString(),
                 QStringLiteral("token-alice"));

        // The close button is the title bar's right-most picture (46 x 39).
        const QRect frame = ProgramUnderTest::geometry(window);
        QVERIFY(ProgramUnderTest::click(QPoint(frame.right() - 23, frame.top() + 19)));
        QVERIFY(finishes(program));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
    }

    void aSecondStartWakesTheFirst_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("first at its login dialog") << false;
        QTest::newRow("first signed in") << true;
    }
    void aSecondStartWakesTheFirst()
    {
        QFETCH(bool, signedIn);
        QProcess *first = nullptr;
        if (signedIn) {
            QVERIFY(!startSignedIn(&first).isEmpty());
        } else {
            first = mProgram->start();
            QVERIFY2(!ProgramUnderTest::waitForWindow(first->processId()).isEmpty(), noWindow(first).constData());
        }
        first->readAllStandardError();

        QProcess *second = mProgram->start();
        QVERIFY(finishes(second));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(mProgram->runningCopies().size(), 1);

        if (signedIn) {
            QByteArray log;
            QTRY_VERIFY_WITH_TIMEOUT((log += first->readAllStandardError()).contains("append:  \"Wake up!\""), kWait);
        } else {
            // Nothing listens for the note yet; the dialog carries on.
            const QString login = ProgramUnderTest::waitForWindow(first->processId());
            QVERIFY(signIn(login));
            QVERIFY(!ProgramUnderTest::waitForWindow(first->processId(), kMainSize).isEmpty());
        }
    }

    // A copy of another session cannot wake the first: it says that Ostrel
    // runs already, and does not run beside it.
    void aSecondStartOfAnotherSessionSaysSo()
    {
        QProcess *first = mProgram->start();
        QVERIFY2(!ProgramUnderTest::waitForWindow(first->processId()).isEmpty(), noWindow(first).constData());
        QProcess *second = mProgram->startWithoutRuntimeFolder();
        const QString box = ProgramUnderTest::waitForWindow(second->processId());
        QVERIFY2(!box.isEmpty(), noWindow(second).constData());
        QVERIFY(ProgramUnderTest::pressKey(box, QStringLiteral("Return")));
        QVERIFY(finishes(second));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
    }

    void aRestartStartsExactlyOneNewCopy()
    {
        // This plug-in ends the event loop with the restart code once shown.
        QVERIFY(mProgram->addPlugin(QStringLiteral(OSTREL_TEST_RESTART_PLUGIN), QStringLiteral("libRestartDravik.so")));
        for (int attempt = 1;; ++attempt) {
            QProcess *first = mProgram->start();
            const QString login = ProgramUnderTest::waitForWindow(first->processId());
            QVERIFY2(!login.isEmpty(), noWindow(first).constData());
            QVERIFY(signIn(login));
            QVERIFY(finishes(first));
            QCOMPARE(first->exitStatus(), QProcess::NormalExit);
            QCOMPARE(first->exitCode(), 0);

            // The new copy was started before the old one returned.
            const auto copies = mProgram->runningCopies();
            QCOMPARE(copies.size(), 1);
            QVERIFY(copies.first().first != first->processId());
            QCOMPARE(copies.first().second, QStringList());
            // It is a full start: the instance lock was free for it, and it
            // opens the login dialog again.
            const QString again = ProgramUnderTest::waitForWindow(copies.first().first);
            if (!again.isEmpty())
                return;
            const bool ended = mProgram->runningCopies().isEmpty();
            QVERIFY2(ended && attempt < 2, ended ? "the new copy ended" : "no window");
            qWarning("%s", endedWithoutWindow);
        }
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
