#include "KeychainStore.h"

#include "PlatformLog.h"

#include <qt5keychain/keychain.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QTimer>

namespace {
const QString Service = QStringLiteral("Ostrel");

// Runs a job to its end in a local loop; true when it succeeded.
bool finish(QKeychain::Job &job)
{
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(KeychainStore::Timeout);
    job.start();
    loop.exec();
    if (limit.isActive() && job.error() == QKeychain::NoError)
        return true;
    qCDebug(lcPlatform) << "secret service:" << job.error() << job.errorString()
                        << (limit.isActive() ? "" : "(no answer)");
    return false;
}
} // namespace

SecretStore::~SecretStore() = default;

bool KeychainStore::isAvailable()
{
    // Only a service that runs: starting one on demand could stop the
    // sign-in at a prompt the desktop never shows.
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()
           && bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")).value();
}

bool KeychainStore::write(const QString &key, const QString &secret)
{
    QKeychain::WritePasswordJob job(Service);
    job.setAutoDelete(false);
    job.setKey(key);
    job.setTextData(secret);
    return finish(job);
}

bool KeychainStore::read(const QString &key, QString *secret)
{
    QKeychain::ReadPasswordJob job(Service);
    job.setAutoDelete(false);
    job.setKey(key);
    if (!finish(job))
        return false;
    *secret = job.textData();
    return true;
}

bool KeychainStore::remove(const QString &key)
{
    QKeychain::DeletePasswordJob job(Service);
    job.setAutoDelete(false);
    job.setKey(key);
    return finish(job);
}
