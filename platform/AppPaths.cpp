#include "AppPaths.h"

#include "PrivateFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>
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
    // Decided once: the install folder does not move while the process runs.
    static const QString decided = chooseDataDir(installDir());
    return decided;
}

QString AppPaths::chooseDataDir(const QString &install)
{
    const QByteArray native = QFile::encodeName(install);
    // An installed copy says so in its deployment file, so that running it as
    // root never writes into the system's program folder.
    const QSettings deployment(join(install, QStringLiteral("deployment.ini")), QSettings::IniFormat);
    const bool perUser = deployment.value(QStringLiteral("Paths/PerUserData"), false).toBool();
    if (!perUser && !install.isEmpty() && ::access(native.constData(), W_OK) == 0)
        return install;
    return stripSlash(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
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
    // Settings, the remembered sign-in, downloads and crash dumps are the
    // user's own business. A per-user folder an earlier version left open
    // is closed as well; a portable copy's own folder is left as it is.
    if (dir.isEmpty() || !PrivateFile::makePrivateFolder(dir))
        return false;
    if (dir != installDir()) {
        const QByteArray native = QFile::encodeName(dir);
        struct stat st;
        if (::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
            && (st.st_mode & 0077) != 0)
            ::chmod(native.constData(), 0700);
    }
    return QDir::setCurrent(dir);
}

void AppPaths::setOverride(const QString &installDir, const QString &dataDir)
{
    gInstallOverride = stripSlash(installDir);
    gDataOverride = stripSlash(dataDir);
}
