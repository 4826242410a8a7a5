#include "AppSettings.h"

#include "AppPaths.h"
#include "PrivateFile.h"

#include <QFile>
#include <QSettings>

const char *const AppSettings::KeyLanguage = "language";
const char *const AppSettings::KeyInterfaceLanguage = "interfaceLanguage";
const char *const AppSettings::KeyRemember = "remember";
const char *const AppSettings::KeyToken = "/UserCenter/Token";
const char *const AppSettings::KeyUserId = "/UserCenter/UserId";
const char *const AppSettings::KeySerialNumber = "/Product/SerialNumber";
const char *const AppSettings::KeyIsDownloading = "/Download/IsDownloading";
const char *const AppSettings::KeyIsUninstalling = "/Uninstall/IsUninstalling";
const char *const AppSettings::KeyVersion = "Version";
const char *const AppSettings::KeyBuildTimeStamp = "BuildTimeStamp";
const char *const AppSettings::KeyBuildTime = "BuildTime";

namespace {
QString key(const char *k)
{
    return QString::fromLatin1(k);
}

QVariant read(const QString &file, const char *k, const QVariant &fallback)
{
    QSettings ini(file, QSettings::IniFormat);
    return ini.value(key(k), fallback);
}

void write(const QString &file, const char *k, const QVariant &value)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setValue(key(k), value);
    ini.sync();
}
} // namespace

QString AppSettings::setupFile() { return AppPaths::dataFile(QStringLiteral("setup.ini")); }
QString AppSettings::preferenceFile() { return AppPaths::dataFile(QStringLiteral("/Preference.ini")); }
QString AppSettings::operationFile() { return AppPaths::dataFile(QStringLiteral("/Operation.ini")); }
QString AppSettings::versionFile() { return AppPaths::installFile(QStringLiteral("version.txt")); }
QString AppSettings::rememberFile() { return AppPaths::dataFile(QStringLiteral("user")); }

int AppSettings::language()
{
    return read(setupFile(), KeyLanguage, QStringLiteral("4")).toInt();
}

void AppSettings::setLanguage(int index)
{
    write(setupFile(), KeyLanguage, index);
}

QString AppSettings::interfaceLanguage()
{
    const QString code = read(setupFile(), KeyInterfaceLanguage, QString()).toString();
    return code == QLatin1String("en") ? code : QStringLiteral("zh");
}

void AppSettings::setInterfaceLanguage(const QString &code)
{
    write(setupFile(), KeyInterfaceLanguage, code);
}

bool AppSettings::remember()
{
    return read(setupFile(), KeyRemember, false).toBool();
}

void AppSettings::setRemember(bool on)
{
    write(setupFile(), KeyRemember, on);
}

QString AppSettings::token()
{
    return read(preferenceFile(), KeyToken, QString()).toString();
}

int AppSettings::userId()
{
    return read(preferenceFile(), KeyUserId, 0).toInt();
}

void AppSettings::setSignedInUser(const QString &token, int userId)
{
    // The token signs in as the user: keep it from other accounts on the
    // machine. The settings writer replaces the file but keeps the mode of
    // the one it replaces, so the file is owner-only before it holds
    // anything; without that, nothing is written.
    if (!PrivateFile::prepare(preferenceFile()))
        return;
    QSettings ini(preferenceFile(), QSettings::IniFormat);
    ini.setValue(key(KeyToken), token);
    ini.setValue(key(KeyUserId), userId);
    ini.sync();
}

QString AppSettings::serialNumber()
{
    return read(preferenceFile(), KeySerialNumber, QString()).toString();
}

bool AppSettings::isDownloading()
{
    return read(operationFile(), KeyIsDownloading, false).toBool();
}

void AppSettings::setDownloading(bool on)
{
    write(operationFile(), KeyIsDownloading, on);
}

bool AppSettings::isUninstalling()
{
    return read(operationFile(), KeyIsUninstalling, false).toBool();
}

void AppSettings::setUninstalling(bool on)
{
    write(operationFile(), KeyIsUninstalling, on);
}

void AppSettings::resetBusyFlags()
{
    QSettings ini(operationFile(), QSettings::IniFormat);
    ini.setValue(key(KeyIsUninstalling), false);
    ini.setValue(key(KeyIsDownloading), false);
    ini.sync();
}

QString AppSettings::version(const QString &fallback)
{
    return read(versionFile(), KeyVersion, fallback).toString();
}

qint64 AppSettings::buildTimeStamp()
{
    return read(versionFile(), KeyBuildTimeStamp, 0).toLongLong();
}

QString AppSettings::buildTime()
{
    return read(versionFile(), KeyBuildTime, QString()).toString();
}
