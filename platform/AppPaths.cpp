#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {
QString gInstallOverride;
QString gDataOverride;

QString stripSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}
} // namespace

QString AppPaths::installDir()
{
    if (!gInstallOverride.isEmpty())
        return gInstallOverride;
    return stripSlash(QCoreApplication::applicationDirPath());
}

QString AppPaths::dataDir()
{
    if (!gDataOverride.isEmpty())
        return gDataOverride;
    const QString install = installDir();
    const QByteArray native = QFile::encodeName(install);
    if (!install.isEmpty() && ::access(native.constData(), W_OK) == 0)
        return install;
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return stripSlash(perUser);
}

QString AppPaths::join(const QString &dir, const QString &name)
{
    QString rel = name;
    if (rel.startsWith(QLatin1String("./")))
        rel.remove(0, 2);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return dir;
    return dir + QLatin1Char('/') + rel;
}

QString AppPaths::installFile(const QString &name)
{
    return join(installDir(), name);
}

QString AppPaths::dataFile(const QString &name)
{
    return join(dataDir(), name);
}

bool AppPaths::enterDataDir()
{
    const QString dir = dataDir();
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return false;
    return QDir::setCurrent(dir);
}

void AppPaths::setOverride(const QString &installDir, const QString &dataDir)
{
    gInstallOverride = stripSlash(installDir);
    gDataOverride = stripSlash(dataDir);
}
