#include "LinuxVolumes.h"

#include "PlatformLog.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
QString asRoot(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStringList foldersFromEnvironment()
{
    QStringList folders;
    const QString value = qEnvironmentVariable("OSTREL_REMOVABLE_ROOTS");
    for (const QString &part : value.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString folder = QDir::cleanPath(QDir(part).absolutePath());
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}
} // namespace

LinuxVolumes::LinuxVolumes(QObject *parent)
    : LinuxVolumes(QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/sys"), parent)
{
}

LinuxVolumes::LinuxVolumes(const QString &mountInfoPath, const QString &sysRoot, QObject *parent)
    : Volumes(parent)
    , mMountInfoPath(mountInfoPath)
    , mClassifier(sysRoot)
    , mSimulatedFolders(foldersFromEnvironment())
{
    qRegisterMetaType<VolumeInfo>();
}

LinuxVolumes::~LinuxVolumes()
{
    stop();
}

QList<VolumeInfo> LinuxVolumes::mounted() const
{
    return mountedFromTable() + simulated();
}

QList<VolumeInfo> LinuxVolumes::mountedFromTable() const
{
    QList<VolumeInfo> volumes;
    QFile file(mMountInfoPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcPlatform) << "cannot read" << mMountInfoPath;
        return volumes;
    }
    // procfs reports size 0; readAll reads on to the end regardless.
    const QList<MountInfoParser::Entry> entries = MountInfoParser::parse(file.readAll());
    for (const MountInfoParser::Entry &entry : entries) {
        const QString root = asRoot(entry.mountPoint);
        // A later mount on the same point hides the earlier one.
        volumes.erase(
            std::remove_if(volumes.begin(), volumes.end(), [&root](const VolumeInfo &v) { return v.root == root; }),
            volumes.end());
        if (!mClassifier.isVolume(entry))
            continue;
        VolumeInfo v;
        v.root = root;
        v.device = entry.source;
        v.fsType = entry.fsType;
        v.removable = mClassifier.isRemovable(entry);
        if (v.removable)
            v.label = QStorageInfo(v.root).name();
        volumes.append(v);
    }
    return volumes;
}

QList<VolumeInfo> LinuxVolumes::simulated() const
{
    QList<VolumeInfo> volumes;
    for (const QString &folder : mSimulatedFolders) {
        const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString &name : names) {
            VolumeInfo v;
            v.device = folder + QLatin1Char('/') + name;
            v.root = v.device + QLatin1Char('/');
            v.fsType = QStringLiteral("simulated");
            v.label = name;
            v.removable = true;
            volumes.append(v);
        }
    }
    return volumes;
}

bool LinuxVolumes::space(const QString &root, qint64 *freeBytes, qint64 *totalBytes) const
{
    *freeBytes = 0;
    *totalBytes = 0;
    if (root.isEmpty())
        return false;
    struct statvfs st;
    const QByteArray path = QFile::encodeName(root);
    int rc;
    do {
        rc = ::statvfs(path.constData(), &st);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return false;
    // Space available to this user: root-reserved blocks cannot take a download.
    *freeBytes = qint64(st.f_bavail) * qint64(st.f_frsize);
    *totalBytes = qint64(st.f_blocks) * qint64(st.f_frsize);
    return true;
}

void LinuxVolumes::startWatching()
{
    mKnown = mounted();

    mMountInfoFd = ::open(QFile::encodeName(mMountInfoPath).constData(), O_RDONLY | O_CLOEXEC);
    if (mMountInfoFd >= 0) {
        // The kernel flags POLLPRI on this file whenever a mount table changes.
        mNotifier = new QSocketNotifier(mMountInfoFd, QSocketNotifier::Exception, this);
        connect(mNotifier, &QSocketNotifier::activated, this, &LinuxVolumes::rescan);
    }

    mTimer = new QTimer(this);
    connect(mTimer, &QTimer::timeout, this, &LinuxVolumes::rescan);
    mTimer->start(mRescanMs);

    if (!mSimulatedFolders.isEmpty()) {
        mWatcher = new QFileSystemWatcher(this);
        connect(mWatcher, &QFileSystemWatcher::directoryChanged, this, &LinuxVolumes::rescan);
        watchSimulatedFolders();
    }
}

void LinuxVolumes::stop()
{
    delete mNotifier;
    mNotifier = nullptr;
    if (mMountInfoFd >= 0) {
        ::close(mMountInfoFd);
        mMountInfoFd = -1;
    }
    delete mTimer;
    mTimer = nullptr;
    delete mWatcher;
    mWatcher = nullptr;
}

void LinuxVolumes::setRescanInterval(int ms)
{
    mRescanMs = qMax(1, ms);
    if (mTimer)
        mTimer->setInterval(mRescanMs);
}

void LinuxVolumes::watchSimulatedFolders()
{
    if (!mWatcher)
        return;
    // A listed folder created after start() is picked up by the slow re-scan.
    QStringList missing;
    const QStringList watched = mWatcher->directories();
    for (const QString &folder : mSimulatedFolders) {
        if (!watched.contains(folder) && QFileInfo::exists(folder))
            missing.append(folder);
    }
    if (!missing.isEmpty())
        mWatcher->addPaths(missing);
}

void LinuxVolumes::rescan()
{
    if (!mTimer)
        return;
    watchSimulatedFolders();
    const QList<VolumeInfo> now = mounted();
    if (now == mKnown)
        return;
    const QList<VolumeInfo> before = mKnown;
    mKnown = now;
    for (const VolumeInfo &v : before) {
        if (!now.contains(v)) {
            qCDebug(lcPlatform) << "volume removed:" << v.root << v.device;
            emit volumeRemoved(v);
        }
    }
    for (const VolumeInfo &v : now) {
        if (!before.contains(v)) {
            qCDebug(lcPlatform) << "volume arrived:" << v.root << v.device;
            emit volumeArrived(v);
        }
    }
}
