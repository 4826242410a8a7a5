// Downloads one file the way the plug-in does, in a process of its own, so
// a test can kill it mid-way: dravik_download_helper DATA_DIR URL PREFIX.
// Exit code 0 on success, 1 on failure, 2 on bad arguments.
#include <AppPaths.h>
#include <DownloadFile.h>

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    AppPaths::setOverride(args.at(1), args.at(1));
    DownloadFile download;
    QObject::connect(&download, &DownloadFile::downloadFinished, &app,
                     [](long, bool ok, const QString &) { QCoreApplication::exit(ok ? 0 : 1); },
                     Qt::QueuedConnection);
    download.start(1, args.at(2), args.at(3));
    return app.exec();
}
