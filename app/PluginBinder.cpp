#include "PluginBinder.h"

#include "AppLog.h"

#include <QDir>
#include <QGenericPlugin>
#include <QPluginLoader>
#include <QWidget>

const char *const PluginBinder::FileSuffix = "Dravik.so";

QWidget *PluginBinder::createDownloadPage(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::NoSort);
    QGenericPlugin *plugin = nullptr;
    for (const QString &name : names) {
        if (!name.endsWith(QLatin1String(FileSuffix), Qt::CaseSensitive))
            continue;
        // The loader is left alive on purpose: deleting it would not unload
        // the library, and unloading would pull the page's code away.
        auto *loader = new QPluginLoader(dir.absoluteFilePath(name));
        plugin = qobject_cast<QGenericPlugin *>(loader->instance());
        if (plugin)
            break;
        qCDebug(lcApp) << "error: " << loader->errorString();
        delete loader;
    }
    if (!plugin)
        return nullptr;
    QObject *created = plugin->create(QStringLiteral("DOWNLOAD"), QString());
    auto *page = qobject_cast<QWidget *>(created);
    if (!page && created)
        delete created;
    return page;
}
