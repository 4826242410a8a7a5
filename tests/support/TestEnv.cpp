#include "TestEnv.h"

#include "AppPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <sys/inotify.h>
#include <unistd.h>

TestEnv::TestEnv()
{
    QString base = qEnvironmentVariable("OSTREL_TEST_TMP");
    if (base.isEmpty()) {
        base = QDir::tempPath();
        mOwned = true;
    }
    mRoot = base + QStringLiteral("/env-") + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(installDir());
    QDir().mkpath(dataDir());
    AppPaths::setOverride(installDir(), dataDir());
}

TestEnv::~TestEnv()
{
    AppPaths::setOverride(QString(), QString());
    if (mOwned)
        QDir(mRoot).removeRecursively();
}

QString TestEnv::makeDir(const QString &name) const
{
    const QString path = mRoot + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QString TestEnv::buildBinDir()
{
    return qEnvironmentVariable("OSTREL_BUILD_BIN");
}

QString TestEnv::buildDir()
{
    return qEnvironmentVariable("OSTREL_BUILD_DIR");
}

QString TestEnv::sourceDir()
{
    return qEnvironmentVariable("OSTREL_SOURCE_DIR");
}

bool TestEnv::writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(content) == content.size();
}

QByteArray TestEnv::readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QMap<QString, QByteArray> TestEnv::snapshot(const QString &dir)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        tree.insert(path, info.isSymLink() ? "-> " + info.symLinkTarget().toUtf8()
                          : info.isFile()  ? readFile(path)
                                           : QByteArray("<dir>"));
    }
    return tree;
}

QStringList TestEnv::attributeChanges(const QString &dir, const std::function<void()> &action)
{
    const int fd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0 || ::inotify_add_watch(fd, QFile::encodeName(dir).constData(), IN_ATTRIB) < 0) {
        if (fd >= 0)
            ::close(fd);
        return {QStringLiteral("<no watch on %1>").arg(dir)};
    }
    action();
    QStringList names;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        for (const char *p = buffer; p < buffer + n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(p);
            names << QFile::decodeName(event->len > 0 ? event->name : "");
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(fd);
    return names;
}
