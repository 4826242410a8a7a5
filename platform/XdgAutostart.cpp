#include "XdgAutostart.h"

#include "DesktopEntryWriter.h"
#include "PlatformLog.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool XdgAutostart::setEnabled(bool enabled, const QString &executable, const QString &folder)
{
    const QString path = QDir(folder).filePath(entryName());
    if (!enabled) {
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return true;
        const bool removed = QFile::remove(path);
        qCDebug(lcPlatform) << "autostart entry removed:" << path << removed;
        return removed;
    }

    const QString exec = DesktopEntryWriter::execValue(executable);
    if (exec.isEmpty() || !QDir().mkpath(folder)) {
        qCDebug(lcPlatform) << "cannot write autostart entry for" << executable;
        return false;
    }
    // Written whole or not at all: a half entry could start something odd.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QList<QPair<QString, QString>> keys{
        {QStringLiteral("Type"), QStringLiteral("Application")},
        {QStringLiteral("Name"), QStringLiteral("Ostrel")},
        {QStringLiteral("Exec"), exec},
        {QStringLiteral("Terminal"), QStringLiteral("false")},
        {QStringLiteral("X-GNOME-Autostart-enabled"), QStringLiteral("true")},
    };
    DesktopEntryWriter::addIcon(keys);
    file.write(DesktopEntryWriter::render(keys));
    const bool ok = file.commit();
    qCDebug(lcPlatform) << "autostart entry written:" << path << ok;
    return ok;
}

bool XdgAutostart::isEnabled(const QString &folder) const
{
    QFile file(QDir(folder).filePath(entryName()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}
