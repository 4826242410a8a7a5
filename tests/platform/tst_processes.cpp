// The facilities that only show across processes: the named lock, the single
// instance and the crash log. A helper executable plays the other process.
#include "FlockNamedMutex.h"
#include "LinuxCrashHandler.h"
#include "TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <memory>

class TestProcesses : public QObject
{
    Q_OBJECT

private slots:
    void lockHeldByAnotherProcess();
    void lockOfKilledHolderIsFree();
    void waitBlocksUntilHolderLets();
    void lockWithinOneProcess();
    void lockNotInheritedByChildren();
    void lockFileNames();
    void runtimeFolder_data();
    void runtimeFolder();
    void lockAgreesAcrossSessions_data();
    void lockAgreesAcrossSessions();

    void secondInstanceWakesFirst_data();
    void secondInstanceWakesFirst();
    void staleSocketOfCrashedFirstIsReplaced();
    void copyOfAnotherSessionDoesNotRunBeside();
    void restartingCopyLetsSuccessorRun();

    void crashFileName_data();
    void crashFileName();
    void crashWritesLog_data();
    void crashWritesLog();
    void crashWithoutWritableFolder();
    void crashLogIsPrivate();

private:
    struct Helper
    {
        std::unique_ptr<QProcess> process;
        QByteArray firstLine;
    };
    // Starts the helper and reads its first line of output.
    Helper startHelper(const QStringList &args, bool readLine = true);
    static QString helperPath();
    static void finish(QProcess *process);

    int mNameCounter = 0;
    QString uniqueName() { return QStringLiteral("test lock/%1").arg(++mNameCounter); }
};

QString TestProcesses::helperPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ostrel_platform_helper");
}

TestProcesses::Helper TestProcesses::startHelper(const QStringList &args, bool readLine)
{
    Helper h;
    h.process = std::make_unique<QProcess>();
    h.process->setProcessChannelMode(QProcess::SeparateChannels);
    h.process->start(helperPath(), args);
    if (!h.process->waitForStarted(10000))
        return h;
    if (readLine) {
        while (!h.process->canReadLine() && h.process->state() == QProcess::Running)
            h.process->waitForReadyRead(10000);
        h.firstLine = h.process->readLine().trimmed();
    }
    return h;
}

void TestProcesses::finish(QProcess *process)
{
    if (process->state() == QProcess::NotRunning)
        return;
    process->closeWriteChannel();
    if (!process->waitForFinished(10000)) {
        process->kill();
        process->waitForFinished(10000);
    }
}

void TestProcesses::lockHeldByAnotherProcess()
{
    const QString name = uniqueName();
    Helper holder = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(holder.firstLine, QByteArray("owned"));

    FlockNamedMutex mine(name);
    QVERIFY(mine.alreadyExisted());
    QVERIFY(!mine.isOwned());

    Helper third = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(third.firstLine, QByteArray("existed"));
    finish(third.process.get());
    finish(holder.process.get());
}

void TestProcesses::lockOfKilledHolderIsFree()
{
    const QString name = uniqueName();
    Helper holder = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(holder.firstLine, QByteArray("owned"));
    ::kill(pid_t(holder.process->processId()), SIGKILL);
    QVERIFY(holder.process->waitForFinished(10000));

    FlockNamedMutex mine(name);
    QVERIFY(mine.isOwned());
    QVERIFY(!mine.alreadyExisted());
}

void TestProcesses::waitBlocksUntilHolderLets()
{
    const QString name = uniqueName();
    Helper holder = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(holder.firstLine, QByteArray("owned"));
    FlockNamedMutex mine(name);
    QVERIFY(mine.alreadyExisted());
    holder.process->write("release\n");
    QVERIFY(holder.process->waitForBytesWritten(10000));
    // Returns only once the holder has exited and so let go.
    QVERIFY(mine.wait());
    QVERIFY(mine.isOwned());
    QVERIFY(mine.alreadyExisted());
    finish(holder.process.get());

    mine.release();
    QVERIFY(!mine.isOwned());
    Helper next = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(next.firstLine, QByteArray("owned"));
    finish(next.process.get());
    // The handle survives a release and can own the lock again.
    QVERIFY(mine.wait());
}

void TestProcesses::lockWithinOneProcess()
{
    const QString name = uniqueName();
    auto first = std::make_unique<FlockNamedMutex>(name);
    QVERIFY(first->isOwned());
    FlockNamedMutex second(name);
    QVERIFY(second.alreadyExisted());
    QVERIFY(!second.isOwned());
    first.reset();
    FlockNamedMutex third(name);
    QVERIFY(third.isOwned());
}

void TestProcesses::lockNotInheritedByChildren()
{
    const QString name = uniqueName();
    auto mine = std::make_unique<FlockNamedMutex>(name);
    QVERIFY(mine->isOwned());
    // A child started while the lock is held must not keep it alive.
    Helper child = startHelper({QStringLiteral("lock"), uniqueName()});
    QCOMPARE(child.firstLine, QByteArray("owned"));
    mine.reset();
    FlockNamedMutex again(name);
    QVERIFY(again.isOwned());
    finish(child.process.get());
}

void TestProcesses::lockFileNames()
{
    const QString dir = FlockNamedMutex::runtimeDir();
    QCOMPARE(dir, qEnvironmentVariable("XDG_RUNTIME_DIR"));
    const QString slash = FlockNamedMutex::lockFilePath(QStringLiteral("a/b"));
    const QString underscore = FlockNamedMutex::lockFilePath(QStringLiteral("a_b"));
    QCOMPARE(QFileInfo(slash).absolutePath(), dir);
    QCOMPARE(QFileInfo(FlockNamedMutex::lockFilePath(QStringLiteral("../x"))).absolutePath(), dir);
    QVERIFY(slash != underscore);
    QCOMPARE(FlockNamedMutex(QStringLiteral("ostrel_global_mutex")).lockFilePath(),
             dir + QStringLiteral("/ostrel_global_mutex.lock"));
}

void TestProcesses::runtimeFolder_data()
{
    QTest::addColumn<QString>("xdg");      // "<tmp>" stands for a fresh folder
    QTest::addColumn<int>("xdgMode");      // of that folder
    QTest::addColumn<int>("squatMode");    // -1: nobody made the temp folder's "ostrel-<uid>"
    QTest::addColumn<int>("homeMode");     // -1: no fallback folder below the home beforehand
    QTest::addColumn<QString>("expected"); // "xdg", "home" or "" (none: the lock counts as held)
    QTest::newRow("runtime folder set") << "<tmp>" << 0700 << -1 << -1 << "xdg";
    QTest::newRow("loose runtime folder") << "<tmp>" << 0777 << -1 << -1 << "home";
    QTest::newRow("unset") << QString() << 0700 << -1 << -1 << "home";
    QTest::newRow("relative") << "relative/run" << 0700 << -1 << -1 << "home";
    QTest::newRow("missing") << "<tmp>/gone" << 0700 << -1 << -1 << "home";
    // Another user made the shared temp folder's name first: no matter.
    QTest::newRow("squatted temp folder") << QString() << 0700 << 0777 << -1 << "home";
    QTest::newRow("private fallback kept") << QString() << 0700 << -1 << 0700 << "home";
    // Another user could have planted links in a folder others can write to.
    QTest::newRow("loose fallback refused") << QString() << 0700 << -1 << 0777 << QString();
}

void TestProcesses::runtimeFolder()
{
    QFETCH(QString, xdg);
    QFETCH(int, xdgMode);
    QFETCH(int, squatMode);
    QFETCH(int, homeMode);
    QFETCH(QString, expected);
    TestEnv env;
    const QString tmp = env.makeDir(QStringLiteral("tmp"));
    const QString cache = env.makeDir(QStringLiteral("cache"));
    const QString fresh = env.makeDir(QStringLiteral("xdg"));
    QVERIFY(::chmod(QFile::encodeName(fresh).constData(), mode_t(xdgMode)) == 0);
    const QString home = cache + QStringLiteral("/ostrel-runtime");
    const QString squatted = tmp + QStringLiteral("/ostrel-") + QString::number(::getuid());
    for (const auto &made : {qMakePair(squatted, squatMode), qMakePair(home, homeMode)}) {
        if (made.second >= 0) {
            QVERIFY(QDir().mkpath(made.first));
            QVERIFY(::chmod(QFile::encodeName(made.first).constData(), mode_t(made.second)) == 0);
        }
    }
    const QByteArray savedXdg = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTmp = qgetenv("TMPDIR");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_RUNTIME_DIR", xdg.replace(QStringLiteral("<tmp>"), fresh).toUtf8());
    qputenv("TMPDIR", tmp.toUtf8());
    qputenv("XDG_CACHE_HOME", cache.toUtf8());

    const QString dir = FlockNamedMutex::runtimeDir();
    FlockNamedMutex lock(QStringLiteral("runtime-folder-test"));
    FlockNamedMutex second(QStringLiteral("runtime-folder-test"));
    qputenv("XDG_RUNTIME_DIR", savedXdg);
    qputenv("TMPDIR", savedTmp);
    qputenv("XDG_CACHE_HOME", savedCache);

    QCOMPARE(dir, expected == QLatin1String("xdg") ? fresh : expected == QLatin1String("home") ? home : QString());
    // Whatever the folder, a second taker never gets the lock as well.
    QVERIFY(second.alreadyExisted() && !second.isOwned());
    if (expected.isEmpty()) {
        QVERIFY(!lock.isOwned() && lock.alreadyExisted());
        QVERIFY(!lock.wait());
    } else {
        QVERIFY(lock.isOwned());
        QCOMPARE(QFileInfo(lock.lockFilePath()).absolutePath(), dir);
    }
    if (expected == QLatin1String("home"))
        QCOMPARE(QFileInfo(home).permissions() & 0x0077, QFileDevice::Permissions());
}

void TestProcesses::lockAgreesAcrossSessions_data()
{
    // The runtime folder each side sees: "own" the test's, "other" another
    // private one, "" none at all (ssh, sudo, some launchers).
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("taker");
    const QString own = QStringLiteral("own");
    QTest::newRow("other runtime folder") << own << QStringLiteral("other");
    QTest::newRow("taker without one") << own << QString();
    QTest::newRow("holder without one") << QString() << own;
}

void TestProcesses::lockAgreesAcrossSessions()
{
    QFETCH(QString, holder);
    QFETCH(QString, taker);
    TestEnv env;
    const QByteArray own = qgetenv("XDG_RUNTIME_DIR");
    const QString other = env.makeDir(QStringLiteral("other-runtime"));
    QVERIFY(QFile::setPermissions(other, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const auto restore = qScopeGuard([own] { qputenv("XDG_RUNTIME_DIR", own); });
    const auto see = [&](const QString &which) {
        qputenv("XDG_RUNTIME_DIR", which == QLatin1String("own") ? own : other.toLocal8Bit());
        if (which.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
    };

    const QString name = uniqueName();
    see(holder);
    Helper first = startHelper({QStringLiteral("lock"), name});
    QCOMPARE(first.firstLine, QByteArray("owned"));
    see(taker);
    FlockNamedMutex mine(name);
    QVERIFY(mine.alreadyExisted() && !mine.isOwned() && !mine.isBroken());
    finish(first.process.get());
    QVERIFY(mine.wait());
}

void TestProcesses::secondInstanceWakesFirst_data()
{
    QTest::addColumn<bool>("deepRuntimeFolder");
    QTest::newRow("runtime folder") << false;
    // A socket path longer than the kernel takes must not stop the wake-up.
    QTest::newRow("deep runtime folder") << true;
}

void TestProcesses::secondInstanceWakesFirst()
{
    QFETCH(bool, deepRuntimeFolder);
    const QByteArray savedXdg = qgetenv("XDG_RUNTIME_DIR");
    if (deepRuntimeFolder) {
        QString deep = QString::fromLocal8Bit(savedXdg);
        while (deep.size() < 120)
            deep += QStringLiteral("/deeper-runtime-folder");
        QVERIFY(QDir().mkpath(deep));
        QFile::setPermissions(deep, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());
    }
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", savedXdg); });

    Helper first = startHelper({QStringLiteral("single"), QStringLiteral("unused")});
    QCOMPARE(first.firstLine, QByteArray("listening"));

    Helper second = startHelper({QStringLiteral("single"), QStringLiteral("Wake up!")}, false);
    QVERIFY(second.process->waitForFinished(15000));
    QCOMPARE(second.process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process->exitCode(), 0);

    QVERIFY(first.process->waitForFinished(15000));
    QCOMPARE(first.process->exitCode(), 0);
    const QByteArray out = first.process->readAll();
    QVERIFY2(out.contains("received:Wake up!\n"), out.constData());
    // The activation window was brought back from its minimised state.
    QVERIFY2(out.contains("minimized:0\n"), out.constData());
    // Warnings of our own would mean a failed step; the platform plugin's are not ours.
    QVERIFY(!first.process->readAllStandardError().contains("SingleApplication"));
}

void TestProcesses::staleSocketOfCrashedFirstIsReplaced()
{
    Helper crashed = startHelper({QStringLiteral("single"), QStringLiteral("unused")});
    QCOMPARE(crashed.firstLine, QByteArray("listening"));
    ::kill(pid_t(crashed.process->processId()), SIGKILL);
    QVERIFY(crashed.process->waitForFinished(10000));
    const QStringList sockets =
        QDir(FlockNamedMutex::runtimeDir()).entryList({QStringLiteral("*.sock")}, QDir::System);
    QCOMPARE(sockets.size(), 1);

    // The next start becomes the running copy although the socket file is left.
    Helper first = startHelper({QStringLiteral("single"), QStringLiteral("unused")});
    QCOMPARE(first.firstLine, QByteArray("listening"));
    Helper second = startHelper({QStringLiteral("single"), QStringLiteral("again")}, false);
    QVERIFY(second.process->waitForFinished(15000));
    QCOMPARE(second.process->exitCode(), 0);
    QVERIFY(first.process->waitForFinished(15000));
    QVERIFY(first.process->readAll().contains("received:again\n"));
}

// A copy started from another session cannot reach the first one's socket;
// it must still not run beside it.
void TestProcesses::copyOfAnotherSessionDoesNotRunBeside()
{
    Helper first = startHelper({QStringLiteral("single"), QStringLiteral("unused")});
    QCOMPARE(first.firstLine, QByteArray("listening"));
    const QByteArray own = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    Helper second = startHelper({QStringLiteral("single"), QStringLiteral("unheard")}, false);
    qputenv("XDG_RUNTIME_DIR", own);
    QVERIFY(second.process->waitForFinished(15000));
    QCOMPARE(second.process->exitCode(), 3); // running elsewhere, not woken
    QCOMPARE(first.process->state(), QProcess::Running);
    first.process->kill();
    first.process->waitForFinished(10000);
}

void TestProcesses::restartingCopyLetsSuccessorRun()
{
    Helper old = startHelper({QStringLiteral("restart")}, false);
    QVERIFY(old.process->waitForFinished(30000));
    QCOMPARE(old.process->exitCode(), 0);
    QCOMPARE(old.process->readAllStandardOutput(), QByteArray("next:listening\n"));
}

void TestProcesses::crashFileName_data()
{
    QTest::addColumn<qlonglong>("seconds");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("epoch") << 0LL << QByteArray("19700101_000000.Log");
    QTest::newRow("leap day 2000") << 951782400LL << QByteArray("20000229_000000.Log");
    QTest::newRow("end of leap day 2024") << 1709251199LL << QByteArray("20240229_235959.Log");
    QTest::newRow("before epoch (offset east)") << -1LL << QByteArray("19691231_235959.Log");
    QTest::newRow("century, not a leap year") << 4102444800LL << QByteArray("21000101_000000.Log");
    QTest::newRow("ordinary") << 1765000000LL << QByteArray("20251206_054640.Log");
}

void TestProcesses::crashFileName()
{
    QFETCH(qlonglong, seconds);
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    LinuxCrashHandler::formatFileName(seconds, buffer);
    QTEST(QByteArray(buffer), "name");
}

void TestProcesses::crashWritesLog_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QByteArray>("label");
    QTest::newRow("null pointer") << "segv" << int(SIGSEGV) << QByteArray("Signal: 11 (SIGSEGV)");
    QTest::newRow("stack overflow") << "overflow" << int(SIGSEGV) << QByteArray("Signal: 11 (SIGSEGV)");
    QTest::newRow("division by zero") << "fpe" << int(SIGFPE) << QByteArray("Signal: 8 (SIGFPE)");
    QTest::newRow("abort") << "abort" << int(SIGABRT) << QByteArray("Signal: 6 (SIGABRT)");
    QTest::newRow("bus error") << "bus" << int(SIGBUS) << QByteArray("Signal: 7 (SIGBUS)");
    QTest::newRow("illegal instruction") << "ill" << int(SIGILL) << QByteArray("Signal: 4 (SIGILL)");
}

void TestProcesses::crashWritesLog()
{
    QFETCH(QString, kind);
    QFETCH(int, signal);
    QFETCH(QByteArray, label);
    TestEnv env;
    const QString dataDir = env.makeDir(QStringLiteral("crash-") + kind);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    Helper child = startHelper({QStringLiteral("crash"), dataDir, kind}, false);
    QVERIFY(child.process->waitForFinished(30000));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QCOMPARE(child.process->exitStatus(), QProcess::CrashExit);
    QCOMPARE(child.process->exitCode(), signal);
    const QByteArray err = child.process->readAllStandardError();
    QVERIFY2(err.contains("errCode: " + QByteArray::number(signal, 16) + '\n'), err.constData());
    // The four labelled lines, in their order.
    int at = -1;
    for (const char *label : {"errCode: ", "errAddr: ", "errFlag: ", "errPara: "}) {
        const int next = err.indexOf(label);
        QVERIFY2(next > at, label);
        at = next;
    }

    const QStringList logs = QDir(dataDir + QStringLiteral("/Crash")).entryList(QDir::Files);
    QCOMPARE(logs.size(), 1);
    const QRegularExpressionMatch name =
        QRegularExpression(QStringLiteral("^(\\d{8}_\\d{6})\\.Log$")).match(logs.first());
    QVERIFY2(name.hasMatch(), qPrintable(logs.first()));
    // Local time, as the user reads it.
    const QDateTime stamp = QDateTime::fromString(name.captured(1), QStringLiteral("yyyyMMdd_hhmmss"));
    QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after,
             qPrintable(name.captured(1)));

    const QByteArray log = TestEnv::readFile(dataDir + QStringLiteral("/Crash/") + logs.first());
    QVERIFY2(log.startsWith(label + '\n'), log.left(200).constData());
    const int backtrace = log.indexOf("\nBacktrace:\n");
    const int maps = log.indexOf("\nMemory map:\n");
    QVERIFY(backtrace > 0 && maps > backtrace);
    // At least one frame, and the map names the program itself.
    QVERIFY(log.mid(backtrace, maps - backtrace).count('\n') > 3);
    QVERIFY(log.mid(maps).contains("ostrel_platform_helper"));
    if (kind == QLatin1String("segv"))
        QVERIFY(log.contains("\nAddress: 0x0\n"));
}

void TestProcesses::crashWithoutWritableFolder()
{
    TestEnv env;
    // "Crash" cannot be made below a plain file.
    const QString notAFolder = env.root() + QStringLiteral("/plain-file");
    QVERIFY(TestEnv::writeFile(notAFolder, "x"));
    Helper child = startHelper({QStringLiteral("crash"), notAFolder, QStringLiteral("abort")}, false);
    QVERIFY(child.process->waitForFinished(30000));
    QCOMPARE(child.process->exitStatus(), QProcess::CrashExit);
    QCOMPARE(child.process->exitCode(), int(SIGABRT));
    QVERIFY(child.process->readAllStandardError().contains("hDumpFile == null\n"));
}

// The log holds the memory map: owner-only whatever the umask, and never
// written through a link planted under the name it is about to take, nor
// through one planted in place of its folder.
void TestProcesses::crashLogIsPrivate()
{
    TestEnv env;
    const QString dataDir = env.makeDir(QStringLiteral("crash-private"));
    const QString victim = env.root() + QStringLiteral("/victim");
    QVERIFY(TestEnv::writeFile(victim, "keep"));
    const QString elsewhere = env.makeDir(QStringLiteral("elsewhere"));
    for (const QString &folder : {QStringLiteral("new"), QStringLiteral("planted"), QStringLiteral("linked")}) {
        const QString crashDir = dataDir + QLatin1Char('/') + folder + QStringLiteral("/Crash");
        QVERIFY(QDir().mkpath(QFileInfo(crashDir).path()));
        if (folder == QLatin1String("linked"))
            QVERIFY(QFile::link(elsewhere, crashDir));
        if (folder == QLatin1String("planted")) {
            QVERIFY(QDir().mkpath(crashDir));
            const qint64 now = QDateTime::currentSecsSinceEpoch() + QDateTime::currentDateTime().offsetFromUtc();
            for (qint64 s = now - 2; s < now + 20; ++s) {
                char name[32];
                LinuxCrashHandler::formatFileName(s, name);
                QVERIFY(QFile::link(victim, crashDir + QLatin1Char('/') + QLatin1String(name)));
            }
        }
        const mode_t old = ::umask(0);
        Helper child =
            startHelper({QStringLiteral("crash"), QFileInfo(crashDir).path(), QStringLiteral("abort")}, false);
        ::umask(old);
        QVERIFY(child.process->waitForFinished(30000));
        QCOMPARE(child.process->exitCode(), int(SIGABRT));
        if (folder == QLatin1String("linked")) {
            QVERIFY(child.process->readAllStandardError().contains("hDumpFile == null\n"));
            continue;
        }
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(crashDir).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));
        if (folder == QLatin1String("new")) {
            const QStringList logs = QDir(crashDir).entryList(QDir::Files);
            QCOMPARE(logs.size(), 1);
            QVERIFY(::lstat(QFile::encodeName(crashDir + QLatin1Char('/') + logs.first()).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 07777, mode_t(0600));
        }
    }
    QCOMPARE(TestEnv::readFile(victim), QByteArray("keep"));
    QVERIFY(QDir(elsewhere).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
