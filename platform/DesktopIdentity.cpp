#include "DesktopIdentity.h"

#include "AppPaths.h"
#include "PlatformLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString DesktopIdentity::applicationId()
{
    return QStringLiteral(OSTREL_APP_ID);
}

QString DesktopIdentity::launcherExecutable()
{
    const QString self = QCoreApplication::applicationFilePath();
    const QSettings deployment(AppPaths::installFile(QStringLiteral("deployment.ini")), QSettings::IniFormat);
    const QString link = deployment.value(QStringLiteral("Paths/Launcher")).toString();
    if (link.isEmpty())
        return self;
    const QString path = QDir::cleanPath(QDir(AppPaths::installDir()).absoluteFilePath(link));
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty() || target != QFileInfo(self).canonicalFilePath()) {
        qCDebug(lcPlatform) << "launcher" << path << "does not lead to" << self;
        return self;
    }
    return path;
}

QString DesktopIdentity::iconFile()
{
    const QString icon = AppPaths::installFile(QStringLiteral("ostrel.png"));
    return QFileInfo(icon).isFile() ? icon : QString();
}
