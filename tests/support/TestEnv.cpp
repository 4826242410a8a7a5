#include "TestEnv.h"

#include "AppPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

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
