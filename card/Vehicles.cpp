#include "Vehicles.h"

#include "CardHelpers.h"
#include "CardLog.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

Vehicles::Vehicles(QObject *parent)
    : QObject(parent)
{
    // Receivers on other threads need the typedef's name registered.
    static const int registered = qRegisterMetaType<uint64_t>("uint64_t");
    Q_UNUSED(registered)
}

Vehicles::~Vehicles()
{
    // A catalogue destroyed during a pause must not leave its mutex locked.
    if (mSuspend.exchange(false))
        mMutex.unlock();
}

void Vehicles::OnStop(int code)
{
    if (code == 1) {
        mStop = true;
        // A paused worker has to wake up to see the stop.
        OnSuspend();
        return;
    }
    if (mSuspend)
        return;
    // Lock before raising the flag, so a worker that sees the flag always
    // finds the mutex held.
    mMutex.lock();
    mSuspend = true;
}

void Vehicles::OnSuspend()
{
    if (!mSuspend)
        return;
    mSuspend = false;
    mMutex.unlock();
}

void Vehicles::waitWhilePaused()
{
    if (mSuspend) {
        mMutex.lock();
        mMutex.unlock();
    }
}

bool Vehicles::ScanVehicles(const QString &path, bool withSize, const QString &cardRoot)
{
    QString dir = path;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    mCardRoot = cardRoot.isEmpty() ? CardHelpers::CardRootOf(dir) : cardRoot;
    mLanguageCode = GetLanguageCode();
    return scan(path, withSize);
}

bool Vehicles::scan(const QString &path, bool withSize)
{
    if (!QFileInfo(path).isDir()) {
        qCDebug(lcCard).noquote() << "ScanVehicles，没有发现文件夹：" << path;
        return false;
    }
    mCurrentPath = path;
    if (!mCurrentPath.endsWith(QLatin1Char('/')))
        mCurrentPath += QLatin1Char('/');
    const QString dir = mCurrentPath;

    if (QFileInfo(dir + QStringLiteral("version.txt")).isFile()) {
        VehicleData data;
        if (data.ParseDirectory(dir, withSize, mCardRoot, mLanguageCode)) {
            mDatas.append(data);
            emit SignalSizeChanged(0, 0.0f);
        }
        return true;
    }

    const QStringList subdirs = DirWalker::subdirectories(dir);
    for (const QString &name : subdirs) {
        if (mStop) {
            qCDebug(lcCard) << "return2";
            return false;
        }
        if (!scan(dir + name, withSize))
            return false;
    }
    return true;
}

quint64 Vehicles::CalcSize(const QString &path, int &count)
{
    if (mStop) {
        qCDebug(lcCard) << "return3";
        return 0;
    }
    if (path.isEmpty())
        return 0;
    count = 0;
    bool exists = false;
    quint64 size = 0;
    const DirWalker::Kind kind = DirWalker::kindOf(path, &exists, &size);
    if (exists && kind == DirWalker::Kind::File) {
        count = 1;
        return size;
    }
    const int fd = kind == DirWalker::Kind::Dir ? DirWalker::openDir(path) : -1;
    if (fd < 0) {
        qCDebug(lcCard).noquote() << "CalcSize 方法，文件夹路径不存在，错误路径：" << path;
        return 0;
    }
    quint64 bytes = 0;
    qint64 files = 0;
    if (!DirWalker::sumTree(fd, bytes, files, &mStop)) {
        qCDebug(lcCard) << "return4";
        count = 0;
        return 0;
    }
    count = int(files);
    return bytes;
}

bool Vehicles::DeleteDirectory(const QString &path)
{
    if (path.isEmpty()) {
        qCDebug(lcCard) << "路径为空";
        return false;
    }
    bool exists = false;
    const DirWalker::Kind kind = DirWalker::kindOf(path, &exists);
    if (kind != DirWalker::Kind::Dir) {
        if (exists) {
            // A file, or a link (removed as a link, its target untouched).
            QByteArray p = DirWalker::encode(path);
            while (p.size() > 1 && p.endsWith('/'))
                p.chop(1);
            return ::unlink(p.constData()) == 0;
        }
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，文件夹路径不存在，错误路径：" << path;
        return false;
    }

    int count = 0;
    const quint64 total = CalcSize(path, count);
    qCDebug(lcCard) << "文件总大小：" << total;
    qCDebug(lcCard) << "文件总个数：" << count;
    if (total == 0 || count == 0) {
        qCDebug(lcCard).noquote() << "没有文件，路径：" << path;
        return false;
    }

    Progress progress;
    progress.totalBytes = total;
    progress.totalFiles = quint64(count);
    progress.cardRoot = mCardRoot.isEmpty() || !path.startsWith(mCardRoot) ? CardHelpers::CardRootOf(path)
                                                                           : mCardRoot;
    QString dir = path;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return deleteRecursive(-1, QByteArray(), dir, progress);
}

bool Vehicles::deleteRecursive(int parentFd, const QByteArray &name, const QString &dirPath, Progress &progress)
{
    if (mStop)
        return false;
    const int fd = parentFd < 0 ? DirWalker::openDir(dirPath) : DirWalker::openDirAt(parentFd, name.constData());
    if (fd < 0) {
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，文件夹路径不存在，错误路径：" << dirPath;
        return false;
    }

    std::vector<DirWalker::Entry> entries;
    DirWalker::list(fd, entries, true);
    // The HOME software keeps everything but its version and program files.
    const bool home = CardHelpers::PathBelowRoot(dirPath, progress.cardRoot)
                          .contains(QLatin1String("home"), Qt::CaseInsensitive);
    if (home) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const DirWalker::Entry &e) {
                                         if (e.kind == DirWalker::Kind::Dir)
                                             return true;
                                         const QByteArray lower = e.name.toLower();
                                         return lower != "version.txt" && !(lower.endsWith(".bin") && lower.size() > 4);
                                     }),
                      entries.end());
    }
    DirWalker::sortFilesFirst(entries);

    for (const DirWalker::Entry &e : entries) {
        if (mStop) {
            ::close(fd);
            return false;
        }
        waitWhilePaused();
        if (mStop) {
            ::close(fd);
            return false;
        }
        if (e.kind == DirWalker::Kind::Dir) {
            const QString sub = dirPath + QFile::decodeName(e.name) + QLatin1Char('/');
            if (!deleteRecursive(fd, e.name, sub, progress)) {
                qCDebug(lcCard).noquote() << "删除文件夹失败：" << sub;
                ::close(fd);
                return false;
            }
            continue;
        }
        if (e.kind == DirWalker::Kind::File) {
            progress.deletedBytes += e.size;
            const double ratio = double(progress.deletedBytes) / double(progress.totalBytes);
            const float percent = float(std::min(ratio * 100.0, 100.0));
            qCDebug(lcCard).noquote() << "文件：" << dirPath + QFile::decodeName(e.name) << " 大小：" << e.size;
            qCDebug(lcCard) << "文件大小：" << progress.deletedBytes;
            qCDebug(lcCard) << "进度：" << ratio;
            emit SignalSizeChanged(progress.deletedBytes, percent);
            ++progress.deletedFiles;
            emit SignalNumChanged(progress.deletedFiles,
                                  float(std::min(double(progress.deletedFiles) / double(progress.totalFiles) * 100.0, 100.0)));
        }
        // Links and special files go as themselves; a link's target is
        // never touched.
        if (::unlinkat(fd, e.name.constData(), 0) != 0) {
            qCDebug(lcCard).noquote() << "删除文件失败：" << dirPath + QFile::decodeName(e.name);
            ::close(fd);
            return false;
        }
    }

    qCDebug(lcCard).noquote() << "删除文件夹：" << dirPath;
    if (parentFd < 0) {
        ::close(fd);
        removeWithEmptyParents(dirPath, progress.cardRoot);
    } else {
        ::close(fd);
        if (::unlinkat(parentFd, name.constData(), AT_REMOVEDIR) != 0)
            qCDebug(lcCard).noquote() << "删除文件夹失败：" << dirPath;
    }
    return true;
}

void Vehicles::removeWithEmptyParents(const QString &dirPath, const QString &cardRoot)
{
    QString dir = dirPath;
    while (dir.endsWith(QLatin1Char('/')) && dir.size() > 1)
        dir.chop(1);
    if (!QDir().rmdir(dir)) {
        qCDebug(lcCard).noquote() << "删除文件夹失败：" << dirPath;
        return;
    }
    // Emptied ancestors go too, up to and including "Vehicles/", never the
    // card root or anything above it.
    if (cardRoot.isEmpty())
        return;
    while (true) {
        const int slash = dir.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return;
        dir.truncate(slash);
        if (dir.size() + 1 <= cardRoot.size() || !QString(dir + QLatin1Char('/')).startsWith(cardRoot))
            return;
        if (!QDir().rmdir(dir))
            return;
    }
}
