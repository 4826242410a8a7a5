#include "Vehicles.h"

#include "CardFs.h"
#include "CardLog.h"
#include "Catalogue.h"
#include "DirWalker.h"

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

Vehicles::Vehicles(QObject *parent)
    : Vehicles(Card(), parent)
{
}

Vehicles::Vehicles(const Card &card, QObject *parent)
    : QObject(parent)
    , mCard(card)
{
    // Receivers on other threads need the typedef's name registered.
    static const int registered = qRegisterMetaType<uint64_t>("uint64_t");
    Q_UNUSED(registered)
}

Vehicles::~Vehicles() = default;

void Vehicles::pause()
{
    QMutexLocker lock(&mMutex);
    mSuspend = true;
}

void Vehicles::resume()
{
    QMutexLocker lock(&mMutex);
    mSuspend = false;
    mResumed.wakeAll();
}

void Vehicles::stop()
{
    mStop = true;
    // A paused worker has to wake up to see the stop.
    resume();
}

void Vehicles::OnStop(int code)
{
    if (code == 1)
        stop();
    else
        pause();
}

void Vehicles::OnSuspend()
{
    resume();
}

void Vehicles::waitWhilePaused()
{
    if (!mSuspend)
        return;
    QMutexLocker lock(&mMutex);
    while (mSuspend && !mStop)
        mResumed.wait(&mMutex);
}

bool Vehicles::ScanVehicles(const QString &path, bool withSize)
{
    QString dir = path;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    mLanguageCode = GetLanguageCode();
    // Reached from the card root without following any link: a "Vehicles"
    // that is a link lists nothing.
    const int fd = CardFs::openDir(mCard.root(), dir);
    if (fd < 0) {
        qCDebug(lcCard).noquote() << "ScanVehicles，没有发现文件夹：" << path;
        return false;
    }
    const bool ok = scan(fd, dir, withSize, 0);
    ::close(fd);
    return ok;
}

bool Vehicles::scan(int fd, const QString &dir, bool withSize, int depth)
{
    mCurrentPath = dir;
    if (DirWalker::isFileAt(fd, "version.txt")) {
        VehicleData data;
        if (data.ParseDirectoryAt(fd, dir, withSize, mCard, mLanguageCode)) {
            mDatas.append(data);
            emit SignalSizeChanged(0, 0.0f);
        }
        return true;
    }

    // Links are never followed.
    for (const DirWalker::Entry &e : DirWalker::subdirectories(fd)) {
        if (mStop) {
            qCDebug(lcCard) << "return2";
            return false;
        }
        if (depth + 1 >= DirWalker::kMaxDepth) {
            qCDebug(lcCard).noquote() << "ScanVehicles: not below" << dir << "(nested too deep)";
            break;
        }
        const int sub = DirWalker::openDirAt(fd, e.name.constData());
        if (sub < 0)
            continue; // vanished meanwhile
        const bool ok = scan(sub, dir + DirWalker::decode(e.name) + QLatin1Char('/'), withSize, depth + 1);
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
    const quint64 bytes = DirWalker::measure(mCard.root(), path, files, &mStop, &missing, &stopped);
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
    return deleteTree(path, 0);
}

bool Vehicles::DeleteDirectory(const VehicleData &scanned)
{
    return deleteTree(scanned.mDirPath, scanned.mSize);
}

bool Vehicles::deleteTree(const QString &path, quint64 scannedBytes)
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
    QByteArray name;
    const int parent = CardFs::openParent(mCard.root(), path, &name);
    struct stat st;
    if (parent < 0 || name.isEmpty() || ::fstatat(parent, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (parent >= 0)
            ::close(parent);
        // Also what a path through a link on the card ends in: nothing
        // beyond the link is ever touched.
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，文件夹路径不存在，错误路径：" << path;
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        // A file, or a link (removed as a link, its target untouched).
        const bool removed = ::unlinkat(parent, name.constData(), 0) == 0;
        ::close(parent);
        return removed;
    }

    // One walk gives the totals and the entries to delete, so the tree is
    // not listed and measured a second time.
    if (mStop) {
        ::close(parent);
        qCDebug(lcCard) << "return3";
        return false;
    }
    const int fd = CardFs::openDirAt(parent, name);
    if (fd < 0) {
        ::close(parent);
        qCDebug(lcCard).noquote() << "DeleteDirectory 方法，文件夹路径不存在，错误路径：" << path;
        return false;
    }
    std::vector<DirWalker::Entry> entries;
    quint64 total = 0;
    qint64 count = 0;
    bool cut = false;
    const bool byFiles = scannedBytes > 0;
    if (!DirWalker::readTree(fd, entries, total, count, &mStop, &cut, !byFiles)) {
        qCDebug(lcCard) << "return4";
        total = 0;
        count = 0;
    }
    // The folder may have changed since the scan: files that are all empty
    // now still leave it alone.
    if (byFiles)
        total = count > 0 && DirWalker::hasContent(fd, entries) ? scannedBytes : 0;
    qCDebug(lcCard) << "文件总大小：" << total;
    qCDebug(lcCard) << "文件总个数：" << count;
    if (total == 0 || count == 0) {
        ::close(fd);
        ::close(parent);
        qCDebug(lcCard).noquote() << "没有文件，路径：" << path;
        return false;
    }
    if (cut) {
        // What lies too deep could not be removed: better not to start.
        ::close(fd);
        ::close(parent);
        qCDebug(lcCard).noquote() << "删除文件夹失败：" << path << "(nested too deep)";
        return false;
    }

    Progress progress;
    progress.totalBytes = total;
    progress.totalFiles = quint64(count);
    progress.byFiles = byFiles;
    QString dir = path;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    // The HOME software keeps everything but its version and program files.
    // Only the directory being uninstalled decides: a vehicle's own folder
    // named "Homepage" is deleted like any other.
    if (mCard.packageOf(dir) == Card::Package::Home) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const DirWalker::Entry &e) {
                                         if (e.kind == DirWalker::Kind::Dir)
                                             return true;
                                         const QByteArray lower = e.name.toLower();
                                         return lower != "version.txt" && !(lower.endsWith(".bin") && lower.size() > 4);
                                     }),
                      entries.end());
    }
    // What makes the folder a listed vehicle goes last: its text resources,
    // then its program, name and version files. A deletion cut short (a
    // pulled card, a stop, a crash) leaves a vehicle that is still listed
    // and can be uninstalled again, not invisible leftovers.
    DirWalker::sortFilesFirst(entries, deletionRank);
    const bool ok = DeleteRecursive(fd, entries, dir, progress, false);
    ::close(fd);
    if (ok) {
        qCDebug(lcCard).noquote() << "删除文件夹：" << dir;
        if (::unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0)
            removeEmptyParents(dir);
        else
            qCDebug(lcCard).noquote() << "删除文件夹失败：" << dir;
    }
    ::close(parent);
    return ok;
}

int Vehicles::deletionRank(const DirWalker::Entry &e)
{
    const char *name = e.name.constData();
    if (e.kind == DirWalker::Kind::Dir)
        return ::strcasecmp(name, "res") == 0 ? 1 : 0;
    const int length = e.name.size();
    const bool program = length > 4 && ::strcasecmp(name + length - 4, ".bin") == 0;
    return program || ::strcasecmp(name, "version.txt") == 0 || ::strcasecmp(name, "names.txt") == 0 ? 2 : 0;
}

bool Vehicles::DeleteRecursive(int fd, std::vector<DirWalker::Entry> &entries, const QString &dirPath,
                               Progress &progress, bool sort)
{
    if (mStop)
        return false;
    if (sort)
        DirWalker::sortFilesFirst(entries);

    for (DirWalker::Entry &e : entries) {
        if (mStop)
            return false;
        waitWhilePaused();
        if (mStop)
            return false;
        if (e.kind == DirWalker::Kind::Dir) {
            const QString sub = dirPath + DirWalker::decode(e.name) + QLatin1Char('/');
            const int subFd = DirWalker::openDirAt(fd, e.name.constData());
            const bool ok = subFd >= 0 && DeleteRecursive(subFd, e.children, sub, progress, true);
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
            ++progress.deletedFiles;
            const double fileRatio = double(progress.deletedFiles) / double(progress.totalFiles);
            double ratio = fileRatio;
            if (progress.byFiles) {
                progress.deletedBytes = quint64(double(progress.totalBytes) * std::min(fileRatio, 1.0));
            } else {
                progress.deletedBytes += e.size;
                ratio = double(progress.deletedBytes) / double(progress.totalBytes);
            }
            qCDebug(lcCard).noquote() << "文件：" << dirPath + DirWalker::decode(e.name) << " 大小：" << e.size;
            qCDebug(lcCard) << "文件大小：" << progress.deletedBytes;
            qCDebug(lcCard) << "进度：" << ratio;
            emit SignalSizeChanged(progress.deletedBytes, float(std::min(ratio * 100.0, 100.0)));
            emit SignalNumChanged(progress.deletedFiles, float(std::min(fileRatio * 100.0, 100.0)));
        }
        // Links and special files go as themselves; a link's target is
        // never touched.
        if (::unlinkat(fd, e.name.constData(), 0) != 0) {
            qCDebug(lcCard).noquote() << "删除文件失败：" << dirPath + DirWalker::decode(e.name);
            return false;
        }
    }
    return true;
}

void Vehicles::removeEmptyParents(const QString &dirPath)
{
    // Emptied ancestors go too, up to and including "Vehicles/", never the
    // card root or anything above it, and never through a link.
    const QString cardRoot = mCard.root();
    if (cardRoot.isEmpty())
        return;
    QString dir = dirPath;
    while (dir.endsWith(QLatin1Char('/')) && dir.size() > 1)
        dir.chop(1);
    while (true) {
        const int slash = dir.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return;
        dir.truncate(slash);
        if (dir.size() + 1 <= cardRoot.size() || !QString(dir + QLatin1Char('/')).startsWith(cardRoot))
            return;
        QByteArray name;
        const int parent = CardFs::openParent(cardRoot, dir, &name);
        if (parent < 0)
            return;
        const bool removed = !name.isEmpty() && ::unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0;
        ::close(parent);
        if (!removed)
            return;
    }
}
