#include "XdgDesktopShortcut.h"

#include "DesktopEntryWriter.h"
#include "PlatformLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool XdgDesktopShortcut::ensure(const QString &executable, const QString &folder)
{
    const QString path = QDir(folder).filePath(entryName());
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink())
        return true;

    const QString exec = DesktopEntryWriter::execValue(executable);
    if (exec.isEmpty() || !QDir().mkpath(folder))
        return false;
    QFile file(path);
    // NewOnly: if one appears meanwhile it is the user's, not ours to replace.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFileInfo::exists(path);
    QList<QPair<QString, QString>> keys{
        {QStringLiteral("Type"), QStringLiteral("Application")},
        {QStringLiteral("Name"), QStringLiteral("Ostrel")},
        {QStringLiteral("Exec"), exec},
        {QStringLiteral("Terminal"), QStringLiteral("false")},
        {QStringLiteral("Categories"), QStringLiteral("Utility;")},
    };
    DesktopEntryWriter::addIcon(keys);
    const QByteArray entry = DesktopEntryWriter::render(keys);
    const bool written = file.write(entry) == entry.size() && file.flush();
    file.close();
    // Desktops only launch entries that are marked executable.
    if (!written
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                | QFileDevice::ExeOther)) {
        file.remove();
        return false;
    }
    qCDebug(lcPlatform) << "desktop shortcut created:" << path;
    return true;
}
