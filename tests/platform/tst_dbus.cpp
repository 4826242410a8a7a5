// Sleep inhibition and desktop notifications of the Linux platform, against
// stand-in services on a private bus that serves as system and session bus.
#include "DesktopNotifier.h"
#include "Platform.h"
#include "SleepGuard.h"
#include "TestEnv.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
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
// What the stand-in services were asked, in order, one line per call.
class CallLog
{
public:
    void add(const QString &line)
    {
        QMutexLocker lock(&mMutex);
        mLines << line;
    }
    QStringList lines()
    {
        QMutexLocker lock(&mMutex);
        return mLines;
    }
    void clear()
    {
        QMutexLocker lock(&mMutex);
        mLines.clear();
    }

private:
    QMutex mMutex;
    QStringList mLines;
};

class StandInLogind : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    StandInLogind(CallLog *log, QObject *parent) : QObject(parent), mLog(log) {}
    QAtomicInt refuse;
    // Read end of the pipe whose write end went out with the last answer.
    QAtomicInt readEnd{-1};

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why, const QString &mode)
    {
        mLog->add(QStringList{QStringLiteral("logind Inhibit"), what, who, why, mode}.join(QLatin1Char('|')));
        if (refuse.loadRelaxed()) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
            return QDBusUnixFileDescriptor();
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return QDBusUnixFileDescriptor();
        const QDBusUnixFileDescriptor out(fds[1]); // a copy of its own
        ::close(fds[1]);
        const int old = readEnd.fetchAndStoreRelaxed(fds[0]);
        if (old >= 0)
            ::close(old);
        return out;
    }

private:
    CallLog *mLog;
};

class StandInScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    StandInScreenSaver(CallLog *log, QObject *parent) : QObject(parent), mLog(log) {}

public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        mLog->add(QStringList{QStringLiteral("saver Inhibit"), application, reason}.join(QLatin1Char('|')));
        return 41;
    }
    void UnInhibit(uint cookie) { mLog->add(QStringLiteral("saver UnInhibit|%1").arg(cookie)); }

private:
    CallLog *mLog;
};

class StandInNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    StandInNotifications(CallLog *log, QObject *parent) : QObject(parent), mLog(log) {}

public slots:
    uint Notify(const QString &application, uint replaces, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        mLog->add(QStringList{QStringLiteral("Notify"), application, QString::number(replaces), icon, summary, body,
                              actions.join(QLatin1Char(',')), hints.value(QStringLiteral("desktop-entry")).toString(),
                              QString::number(timeout)}
                      .join(QLatin1Char('|')));
        return 7;
    }

private:
    CallLog *mLog;
};

// The stand-ins and their own bus connection, on a thread of their own: the
// platform's calls block the test's thread until they are answered.
class StandIns : public QObject
{
    Q_OBJECT
public:
    // Children, so that they move to the thread with their parent.
    StandIns(const QString &address, CallLog *log)
        : logind(new StandInLogind(log, this))
        , saver(new StandInScreenSaver(log, this))
        , notifications(new StandInNotifications(log, this))
        , mAddress(address)
    {
    }
    StandInLogind *logind;
    StandInScreenSaver *saver;
    StandInNotifications *notifications;

public slots:
    bool connectBus()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(mAddress, QStringLiteral("standin"));
        return bus.registerObject(QStringLiteral("/org/freedesktop/login1"), logind, QDBusConnection::ExportAllSlots)
            && bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), saver,
                                  QDBusConnection::ExportAllSlots)
            && bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), notifications,
                                  QDBusConnection::ExportAllSlots);
    }
    // Only the services named here answer.
    void offer(const QStringList &services)
    {
        QDBusConnection bus(QStringLiteral("standin"));
        for (const char *name : {"org.freedesktop.login1", "org.freedesktop.ScreenSaver", "org.freedesktop.Notifications"}) {
            const QString service = QLatin1String(name);
            if (services.contains(service))
                bus.registerService(service);
            else
                bus.unregisterService(service);
        }
    }
    void disconnectBus() { QDBusConnection::disconnectFromBus(QStringLiteral("standin")); }

private:
    QString mAddress;
};

// Descriptors of this process, other than `except`, open on the same pipe.
QList<int> descriptorsOnPipe(int readEnd)
{
    struct stat pipe;
    QList<int> found;
    if (::fstat(readEnd, &pipe) != 0)
        return found;
    const QStringList entries = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString &entry : entries) {
        const int fd = entry.toInt();
        struct stat st;
        if (fd != readEnd && ::fstat(fd, &st) == 0 && st.st_ino == pipe.st_ino && st.st_dev == pipe.st_dev)
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
    CallLog mLog;
    StandIns *mStandIns = nullptr;

    void offer(const QStringList &services)
    {
        QMetaObject::invokeMethod(mStandIns, "offer", Qt::BlockingQueuedConnection, Q_ARG(QStringList, services));
        mLog.clear();
    }

private slots:
    void initTestCase()
    {
        const QString config = mEnv.root() + QStringLiteral("/bus.conf");
        QVERIFY(TestEnv::writeFile(config, "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                                           "<auth>EXTERNAL</auth><policy context=\"default\">"
                                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>"));
        mDaemon.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        QVERIFY2(mDaemon.waitForStarted(10000), "dbus-daemon (Debian package dbus-daemon) did not start");
        QVERIFY(mDaemon.waitForReadyRead(10000));
        const QByteArray address = mDaemon.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        // Before the platform first asks for a bus: the connections are made once.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        mStandIns = new StandIns(QString::fromUtf8(address), &mLog);
        mStandIns->moveToThread(&mThread);
        connect(&mThread, &QThread::finished, mStandIns, &QObject::deleteLater);
        mThread.start();
        bool connected = false;
        QMetaObject::invokeMethod(mStandIns, "connectBus", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(bool, connected));
        QVERIFY(connected);
    }

    void cleanupTestCase()
    {
        if (mStandIns)
            QMetaObject::invokeMethod(mStandIns, "disconnectBus", Qt::BlockingQueuedConnection);
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
        QTest::addColumn<QStringList>("afterRelease");
        const QString logind = QStringLiteral("org.freedesktop.login1");
        const QString saver = QStringLiteral("org.freedesktop.ScreenSaver");
        const QString asked = QStringLiteral("logind Inhibit|sleep:idle|Ostrel|Copying files|block");
        const QString saverAsked = QStringLiteral("saver Inhibit|Ostrel|Copying files");
        const QString saverReleased = QStringLiteral("saver UnInhibit|41");
        QTest::newRow("logind first") << QStringList{logind, saver} << false << QStringList{asked}
                                      << QStringList{asked};
        QTest::newRow("logind refuses: screen saver")
            << QStringList{logind, saver} << true << QStringList{asked, saverAsked}
            << QStringList{asked, saverAsked, saverReleased};
        QTest::newRow("screen saver only") << QStringList{saver} << false << QStringList{saverAsked}
                                           << QStringList{saverAsked, saverReleased};
        QTest::newRow("neither") << QStringList() << false << QStringList() << QStringList();
    }
    void sleepInhibition()
    {
        QFETCH(QStringList, services);
        QFETCH(bool, logindRefuses);
        QFETCH(QStringList, whileHeld);
        QFETCH(QStringList, afterRelease);
        mStandIns->logind->refuse.storeRelaxed(logindRefuses);
        mStandIns->logind->readEnd.storeRelaxed(-1);
        offer(services);
        const bool byLogind = whileHeld.size() == 1 && whileHeld.first().startsWith(QLatin1String("logind"));

        {
            SleepGuard guard;
            guard.hold(QStringLiteral("Copying files"));
            guard.hold(QStringLiteral("Copying files")); // still the one hold
            QVERIFY(guard.isHeld());
            QCOMPARE(mLog.lines(), whileHeld);
            const int readEnd = mStandIns->logind->readEnd.loadRelaxed();
            QCOMPARE(readEnd >= 0, byLogind);
            if (byLogind) {
                QVERIFY(!writerGone(readEnd));
                // One copy, kept from programs this one starts later.
                QTRY_COMPARE(descriptorsOnPipe(readEnd).size(), 1);
                QVERIFY(::fcntl(descriptorsOnPipe(readEnd).first(), F_GETFD) & FD_CLOEXEC);
            }
            guard.release();
            QVERIFY(!guard.isHeld());
            QCOMPARE(mLog.lines(), afterRelease);
            if (byLogind) {
                QVERIFY(writerGone(readEnd));
                // Held again, and released when the guard goes.
                guard.hold(QStringLiteral("Copying files"));
                QCOMPARE(mLog.lines().size(), 2);
                QVERIFY(!writerGone(mStandIns->logind->readEnd.loadRelaxed()));
            }
        }
        if (byLogind)
            QVERIFY(writerGone(mStandIns->logind->readEnd.loadRelaxed()));
    }

    void notification_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("iconBeside");
        QTest::newRow("themed icon") << true << false;
        QTest::newRow("icon beside the program") << true << true;
        QTest::newRow("no notification service") << false << false;
    }
    void notification()
    {
        QFETCH(bool, service);
        QFETCH(bool, iconBeside);
        offer(service ? QStringList{QStringLiteral("org.freedesktop.Notifications")} : QStringList());
        const QString iconFile = mEnv.installDir() + QStringLiteral("/ostrel.png");
        if (iconBeside)
            QVERIFY(TestEnv::writeFile(iconFile, "png"));

        Platform::instance()->notifier()->notify(QStringLiteral("Update"), QStringLiteral("All software installed"));
        QFile::remove(iconFile);
        if (!service) {
            QTest::qWait(300);
            QCOMPARE(mLog.lines(), QStringList());
            return;
        }
        QTRY_COMPARE(mLog.lines().size(), 1);
        const QString icon = iconBeside ? QUrl::fromLocalFile(iconFile).toString()
                                        : QStringLiteral("example.scanner_maker.Ostrel");
        QCOMPARE(mLog.lines().first(), QStringLiteral("Notify|Ostrel|0|%1|Update|All software installed||"
                                                      "example.scanner_maker.Ostrel|-1")
                                           .arg(icon));
    }
};

QTEST_GUILESS_MAIN(TestDBus)
#include "tst_dbus.moc"
