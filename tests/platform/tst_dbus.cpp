// Sleep inhibition and desktop notifications of the Linux platform, against
// stand-in services on a private bus that serves as system and session bus.
#include "DesktopNotifier.h"
#include "Platform.h"
#include "SleepGuard.h"
#include "TestEnv.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QDir>
#include <QMutex>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Every object below /org/freedesktop: logs each call as "Member|arg|...",
// answers logind's Inhibit with the write end of a fresh pipe, the screen
// saver's Inhibit with cookie 41 and Notify with 7. Lives on its own thread,
// since the platform's calls block the test's thread until answered.
class StandIn : public QDBusVirtualObject
{
public:
    QMutex mutex;
    QStringList calls;
    int readEnd = -1; // of the pipe handed out last
    bool logindRefuses = false;

    QString introspect(const QString &) const override { return QString(); }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        QMutexLocker lock(&mutex);
        QStringList line{message.member()};
        for (const QVariant &argument : message.arguments()) {
            if (argument.canConvert<QDBusArgument>()) // the hints
                line << qdbus_cast<QVariantMap>(argument).value(QStringLiteral("desktop-entry")).toString();
            else if (argument.userType() == QMetaType::QStringList) // the actions
                line << argument.toStringList().join(QLatin1Char(','));
            else
                line << argument.toString();
        }
        calls << line.join(QLatin1Char('|'));
        QDBusMessage reply = message.createReply();
        if (message.path().endsWith(QLatin1String("login1"))) {
            int fds[2];
            if (logindRefuses || ::pipe2(fds, O_CLOEXEC) != 0)
                return connection.send(message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("no")));
            reply << QVariant::fromValue(QDBusUnixFileDescriptor(fds[1])); // a copy of its own
            ::close(fds[1]);
            if (readEnd >= 0)
                ::close(readEnd);
            readEnd = fds[0];
        } else if (message.member() != QLatin1String("UnInhibit")) {
            reply << uint(message.member() == QLatin1String("Notify") ? 7 : 41);
        }
        return connection.send(reply);
    }
};

// Other descriptors of this process open on the pipe of `readEnd`.
QList<int> writeEnds(int readEnd)
{
    struct stat pipe;
    QList<int> found;
    const QStringList entries = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString &entry : entries) {
        struct stat st;
        const int fd = entry.toInt();
        if (fd != readEnd && ::fstat(readEnd, &pipe) == 0 && ::fstat(fd, &st) == 0 && st.st_ino == pipe.st_ino)
            found << fd;
    }
    return found;
}

bool writerGone(int readEnd)
{
    pollfd p{readEnd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}
} // namespace

class TestDBus : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    QProcess mDaemon;
    QThread mThread;
    StandIn mStandIn;

    QStringList calls()
    {
        QMutexLocker lock(&mStandIn.mutex);
        return mStandIn.calls;
    }
    int readEnd()
    {
        QMutexLocker lock(&mStandIn.mutex);
        return mStandIn.readEnd;
    }
    // Only the named services answer; the call log starts afresh.
    void offer(const QStringList &services, bool logindRefuses = false)
    {
        QDBusConnection bus(QStringLiteral("standin"));
        for (const char *name : {"org.freedesktop.login1", "org.freedesktop.ScreenSaver", "org.freedesktop.Notifications"}) {
            if (services.contains(QLatin1String(name)))
                bus.registerService(QLatin1String(name));
            else
                bus.unregisterService(QLatin1String(name));
        }
        QMutexLocker lock(&mStandIn.mutex);
        mStandIn.calls.clear();
        mStandIn.readEnd = -1;
        mStandIn.logindRefuses = logindRefuses;
    }

private slots:
    void initTestCase()
    {
        const QString config = mEnv.root() + QStringLiteral("/bus.conf");
        // Its socket in the test's folder, gone with it.
        QVERIFY(TestEnv::writeFile(config, "<busconfig><type>session</type><listen>unix:dir=" + mEnv.root().toUtf8()
                                               + "</listen>"
                                           "<auth>EXTERNAL</auth><policy context=\"default\">"
                                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>"));
        mDaemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                      QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY2(mDaemon.waitForReadyRead(10000), "no dbus-daemon (Debian package dbus-daemon)");
        const QByteArray address = mDaemon.readLine().trimmed();
        // Before the platform first asks for a bus: it connects once.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        mStandIn.moveToThread(&mThread);
        mThread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("standin"));
        bool registered = false;
        // From its own thread: registering makes children of it.
        QMetaObject::invokeMethod(
            &mStandIn,
            [&] { return bus.registerVirtualObject(QStringLiteral("/org/freedesktop"), &mStandIn, QDBusConnection::SubPath); },
            Qt::BlockingQueuedConnection, &registered);
        QVERIFY(registered);
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("standin"));
        mThread.quit();
        mThread.wait();
        mDaemon.terminate();
        mDaemon.waitForFinished(5000);
    }

    void sleepInhibition_data()
    {
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<bool>("logindRefuses");
        QTest::addColumn<QStringList>("whileHeld");
        QTest::addColumn<QStringList>("released"); // calls added by the release
        const QString logind = QStringLiteral("org.freedesktop.login1");
        const QString saver = QStringLiteral("org.freedesktop.ScreenSaver");
        const QString toLogind = QStringLiteral("Inhibit|sleep:idle|Ostrel|Copying files|block");
        const QString toSaver = QStringLiteral("Inhibit|Ostrel|Copying files");
        const QStringList saverReleased{QStringLiteral("UnInhibit|41")};
        QTest::newRow("logind first") << QStringList{logind, saver} << false << QStringList{toLogind} << QStringList();
        QTest::newRow("logind refuses") << QStringList{logind, saver} << true << QStringList{toLogind, toSaver}
                                        << saverReleased;
        QTest::newRow("screen saver only") << QStringList{saver} << false << QStringList{toSaver} << saverReleased;
        QTest::newRow("neither") << QStringList() << false << QStringList() << QStringList();
    }
    void sleepInhibition()
    {
        QFETCH(QStringList, services);
        QFETCH(bool, logindRefuses);
        QFETCH(QStringList, whileHeld);
        QFETCH(QStringList, released);
        offer(services, logindRefuses);
        SleepGuard guard;
        guard.hold(QStringLiteral("Copying files"));
        guard.hold(QStringLiteral("Copying files")); // still the one hold
        QCOMPARE(calls(), whileHeld);
        const int pipe = readEnd();
        QCOMPARE(pipe >= 0, whileHeld.size() == 1 && whileHeld.first().contains(QLatin1String("sleep:idle")));
        if (pipe >= 0) {
            QVERIFY(!writerGone(pipe));
            // One copy, which programs started later do not inherit.
            QTRY_COMPARE(writeEnds(pipe).size(), 1);
            QVERIFY(::fcntl(writeEnds(pipe).first(), F_GETFD) & FD_CLOEXEC);
        }
        guard.release();
        QCOMPARE(calls(), whileHeld + released);
        if (pipe >= 0) {
            // Let go at once here; the bus daemon may still hold the copy it
            // passed on for a moment.
            QCOMPARE(writeEnds(pipe).size(), 0);
            QTRY_VERIFY(writerGone(pipe));
        }
    }

    void notification_data()
    {
        QTest::addColumn<bool>("service");
        QTest::newRow("to the notification service") << true;
        QTest::newRow("no notification service") << false;
    }
    void notification()
    {
        QFETCH(bool, service);
        offer(service ? QStringList{QStringLiteral("org.freedesktop.Notifications")} : QStringList());
        Platform::instance()->notifier()->notify(QStringLiteral("Update"), QStringLiteral("<b>BENZ</b> installed"));
        if (!service) {
            QTest::qWait(300); // nothing arrives, nothing waits
            QCOMPARE(calls(), QStringList());
            return;
        }
        // No icon beside the program here: the themed one, named like the
        // launcher. The body is read as markup: names arrive as written.
        QTRY_COMPARE(calls(),
                     QStringList{QStringLiteral("Notify|Ostrel|0|%1|Update|&lt;b&gt;BENZ&lt;/b&gt; installed||%1|-1")
                                     .arg(QStringLiteral("example.scanner_maker.Ostrel"))});
    }
};

QTEST_GUILESS_MAIN(TestDBus)
#include "tst_dbus.moc"
