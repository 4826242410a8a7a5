#include "Vehicles.h"

#include "CardHelpers.h"
#include "CardLog.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
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
    const int fd = DirWalker::openDir(path, true);
    if (fd < 0) {
        qCDebug(lcCard).noquote() << "ScanVehicles，没有发现文件夹：" << path;
        return false;
    }
    const bool ok = scan(fd, dir, withSize);
    ::close(fd);
    return ok;
}

bool Vehicles::scan(int fd, const QString &dir, bool withSize)
{
    mCurrentPath = dir;
    if (DirWalker::isFileAt(fd, "version.txt")) {
        VehicleData data;
        if (data.ParseDirectoryAt(fd, dir, withSize, mCardRoot, mLanguageCode)) {
            mDatas.append(data);
            emit SignalSizeChanged(0, 0.0f);
        }
        return true;
    }

    std::vector<DirWalker::Entry> entries;
    DirWalker::list(fd, entries, false);
    std::sort(entries.begin(), entries.end(), [](const DirWalker::Entry &a, const DirWalker::Entry &b) {
        return std::strcmp(a.name.constData(), b.name.constData()) < 0;
    });
    for (const DirWalker::Entry &e : entries) {
        if (e.kind != DirWalker::Kind::Dir)
            continue; // links are never followed
        if (mStop) {
            qCDebug(lcCard) << "return2";
            return false;
        }
        const int sub = DirWalker::openDirAt(fd, e.name.constData());
        if (sub < 0)
            continue; // vanished meanwhile
        const bool ok = scan(sub, dir + QFile::decodeName(e.name) + QLatin1Char('/'), withSize);
        ::close(sub);
        if (!ok)
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
    qint64 files = 0;
    bool missing = false;
    bool stopped = false;
    const quint64 bytes = DirWalker::measure(path, files, &mStop, &missing, &stopped);
    if (missing)
        qCDebug(lcCard).noquote() << "CalcSize 方法，文件夹路径不存在，错误路径：" << path;
    if (stopped) {
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
    if (QString(path).remove(QLatin1Char('/')).isEmpty()) {
        // Never the whole file system, whatever a caller passes.
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，拒绝删除：" << path;
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

    // One walk gives the totals and the entries to delete, so the tree is
    // not listed and measured a second time.
    if (mStop) {
        qCDebug(lcCard) << "return3";
        return false;
    }
    const int fd = DirWalker::openDir(path);
    if (fd < 0) {
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，文件夹路径不存在，错误路径：" << path;
        return false;
    }
    std::vector<DirWalker::Entry> entries;
    quint64 total = 0;
    qint64 count = 0;
    if (!DirWalker::readTree(fd, entries, total, count, &mStop)) {
        qCDebug(lcCard) << "return4";
        total = 0;
        count = 0;
    }
    qCDebug(lcCard) << "文件总大小：" << total;
    qCDebug(lcCard) << "文件总个数：" << count;
    if (total == 0 || count == 0) {
        ::close(fd);
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
    // The HOME software keeps everything but its version and program files.
    // Only the directory being uninstalled decides: a vehicle's own folder
    // named "Homepage" is deleted like any other.
    if (CardHelpers::PathBelowRoot(dir, progress.cardRoot).contains(QLatin1String("home"), Qt::CaseInsensitive)) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const DirWalker::Entry &e) {
                                         if (e.kind == DirWalker::Kind::Dir)
                                             return true;
                                         const QByteArray lower = e.name.toLower();
                                         return lower != "version.txt" && !(lower.endsWith(".bin") && lower.size() > 4);
                                     }),
                      entries.end());
    }
    const bool ok = DeleteRecursive(fd, entries, dir, progress);
    ::close(fd);
    if (ok) {
        qCDebug(lcCard).noquote() << "删除文件夹：" << dir;
        removeWithEmptyParents(dir, progress.cardRoot);
    }
    return ok;
}

bool Vehicles::DeleteRecursive(int fd, std::vector<DirWalker::Entry> &entries, const QString &dirPath,
                               Progress &progress)
{
    if (mStop)
        return false;
    DirWalker::sortFilesFirst(entries);

    for (DirWalker::Entry &e : entries) {
        if (mStop)
            return false;
        waitWhilePaused();
        if (mStop)
            return false;
        if (e.kind == DirWalker::Kind::Dir) {
            const QString sub = dirPath + QFile::decodeName(e.name) + QLatin1Char('/');
            const int subFd = DirWalker::openDirAt(fd, e.name.constData());
            const bool ok = subFd >= 0 && DeleteRecursive(subFd, e.children, sub, progress);
            if (subFd >= 0)
                ::close(subFd);
            if (!ok) {
                qCDebug(lcCard).noquote() << "删除文件夹失败：" << sub;
                return false;
            }
            qCDebug(lcCard).noquote() << "删除文件夹：" << sub;
            if (::unlinkat(fd, e.name.constData(), AT_REMOVEDIR) != 0)
                qCDebug(lcCard).noquote() << "删除文件夹失败：" << sub;
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
            return false;
        }
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
