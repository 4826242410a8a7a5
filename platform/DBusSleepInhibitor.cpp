#include "DBusSleepInhibitor.h"

#include "PlatformLog.h"
#include "SleepInhibition.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

namespace {
const QString kLogindService = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kSaverInterface = QStringLiteral("org.freedesktop.ScreenSaver");

class LogindInhibition : public SleepInhibition
{
public:
    explicit LogindInhibition(int fd) : mFd(fd) {}
    ~LogindInhibition() override { ::close(mFd); }
    QString service() const override { return QStringLiteral("logind"); }

private:
    int mFd;
};

class ScreenSaverInhibition : public SleepInhibition
{
public:
    explicit ScreenSaverInhibition(uint cookie) : mCookie(cookie) {}
    ~ScreenSaverInhibition() override
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kSaverService, kSaverPath, kSaverInterface,
                                                           QStringLiteral("UnInhibit"));
        call << mCookie;
        // Waited for, so a release at exit is not left in the send queue.
        const QDBusMessage reply =
            QDBusConnection::sessionBus().call(call, QDBus::Block, DBusSleepInhibitor::CallTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage)
            qCDebug(lcPlatform) << "screen saver uninhibit:" << reply.errorName();
    }
    QString service() const override { return QStringLiteral("screensaver"); }

private:
    uint mCookie;
};

QDBusMessage callService(const QDBusConnection &bus, const QDBusMessage &call)
{
    if (!bus.isConnected())
        return QDBusMessage();
    const QDBusMessage reply = bus.call(call, QDBus::Block, DBusSleepInhibitor::CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        qCDebug(lcPlatform) << call.service() << "inhibit:" << reply.errorName();
        return QDBusMessage();
    }
    return reply;
}

std::unique_ptr<SleepInhibition> viaLogind(const QString &who, const QString &why)
{
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (!(bus.connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing))
        return nullptr;
    QDBusMessage call = QDBusMessage::createMethodCall(kLogindService, kLogindPath, kLogindInterface,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << who << why << QStringLiteral("block");
    const QDBusMessage reply = callService(bus, call);
    if (reply.arguments().isEmpty())
        return nullptr;
    const QDBusUnixFileDescriptor fd = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    if (!fd.isValid())
        return nullptr;
    // A copy of our own that programs started later (a restart, an update)
    // do not inherit: they would keep the computer awake on our behalf.
    const int own = ::fcntl(fd.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return nullptr;
    return std::make_unique<LogindInhibition>(own);
}

std::unique_ptr<SleepInhibition> viaScreenSaver(const QString &who, const QString &why)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kSaverService, kSaverPath, kSaverInterface,
                                                       QStringLiteral("Inhibit"));
    call << who << why;
    const QDBusMessage reply = callService(QDBusConnection::sessionBus(), call);
    if (reply.arguments().isEmpty() || reply.signature() != QLatin1String("u"))
        return nullptr;
    return std::make_unique<ScreenSaverInhibition>(reply.arguments().constFirst().toUInt());
}
} // namespace

std::unique_ptr<SleepInhibition> DBusSleepInhibitor::inhibit(const QString &who, const QString &why)
{
    if (auto held = viaLogind(who, why))
        return held;
    return viaScreenSaver(who, why);
}
