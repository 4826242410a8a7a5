#include "RemovableDisk.h"

#include "CardHelpers.h"
#include "CardLog.h"
#include "DirWalker.h"
#include "Platform.h"
#include "Volumes.h"

#include <QRegularExpression>

RemovableDisk::RemovableDisk(QWidget *parent)
    : QWidget(parent)
{
    if (Platform *platform = Platform::instance()) {
        if (Volumes *volumes = platform->volumes()) {
            connect(volumes, &Volumes::volumeArrived, this, [this] { RefreshDisks(); });
            connect(volumes, &Volumes::volumeRemoved, this, [this] { RefreshDisks(); });
            volumes->start();
        }
    }
}

RemovableDisk::~RemovableDisk() = default;

bool RemovableDisk::nativeEventFilter(const QByteArray &eventType, void *message, long *result)
{
    return QWidget::nativeEvent(eventType, message, result);
}

void RemovableDisk::RefreshDisks()
{
    QList<RemovableDiskInfo> found;
    Platform *platform = Platform::instance();
    Volumes *volumes = platform ? platform->volumes() : nullptr;
    const QList<VolumeInfo> mounted = volumes ? volumes->mounted() : QList<VolumeInfo>();
    for (const VolumeInfo &volume : mounted) {
        qCDebug(lcCard).noquote() << "drive:" << volume.root;
        if (!volume.removable || volume.root.isEmpty() || volume.root == QLatin1String("/"))
            continue;
        RemovableDiskInfo info;
        info.mRootPath = volume.root;
        if (MeasureDisk(info))
            found.append(info);
    }

    if (found.isEmpty()) {
        mDisks.clear();
    } else if (mDisks.isEmpty()) {
        for (const RemovableDiskInfo &info : qAsConst(found))
            mDisks.insert(info.mRootPath, info);
    } else {
        // Only an exact root keeps an entry: /media/u/CARD2 does not keep
        // /media/u/CARD.
        for (auto it = mDisks.begin(); it != mDisks.end();) {
            const bool present = std::any_of(found.cbegin(), found.cend(),
                                             [&](const RemovableDiskInfo &i) { return i.mRootPath == it.key(); });
            it = present ? std::next(it) : mDisks.erase(it);
        }
        for (const RemovableDiskInfo &info : qAsConst(found))
            mDisks.insert(info.mRootPath, info);
    }
    MarkScannerCards();
}

void RemovableDisk::MarkScannerCards()
{
    if (mDisks.isEmpty()) {
        emit SignalRemoveDiskChanged();
        emit SignalRemoveDiskFreeSizeChanged();
        return;
    }
    bool currentStillThere = false;
    for (auto it = mDisks.begin(); it != mDisks.end(); ++it) {
        if (!CardHelpers::SerialFilePath(it->mRootPath).isEmpty()) {
            it->mHasSerialFile = true;
            if (it->mIsCurrent)
                currentStillThere = true;
        }
    }
    if (!currentStillThere) {
        emit SignalRemoveDiskChanged();
        emit SignalRemoveDiskFreeSizeChanged();
    }
}

RemovableDiskInfo RemovableDisk::SelectCurrentDisk()
{
    // Only a disk whose serial can be read is the scanner's card. Without
    // one there is no current card: a pulled card, or one whose serial file
    // is broken, must not go on as the card of another serial.
    for (auto it = mDisks.begin(); it != mDisks.end(); ++it)
        it->mIsCurrent = false;
    for (auto it = mDisks.begin(); it != mDisks.end(); ++it) {
        if (!it->mHasSerialFile || ReadSerialNumber(it->mRootPath).isEmpty())
            continue;
        it->mIsCurrent = true;
        mCurrentDisk = it.value();
        return mCurrentDisk;
    }
    mCurrentDisk = RemovableDiskInfo();
    mSerialNumber.clear();
    return mCurrentDisk;
}

QString RemovableDisk::ReadSerialNumber(const QString &rootPath)
{
    // A failed read answers empty and forgets the serial read before: the
    // stored serial always belongs to the card read last.
    mSerialNumber.clear();
    const QString path = CardHelpers::SerialFilePath(rootPath);
    if (path.isEmpty())
        return QString();
    QByteArray bytes;
    if (!DirWalker::readFile(path, bytes))
        return QString();
    const QString text = QString::fromUtf8(bytes.trimmed());
    if (text.size() < 13)
        return QString();
    static const QRegularExpression alnum(QStringLiteral("^[a-zA-Z0-9]*$"));
    if (!alnum.match(text).hasMatch())
        return QString();
    mSerialNumber = text.left(13);
    return mSerialNumber;
}

QString RemovableDisk::SizeText(quint64 bytes, int decimals)
{
    const QChar fill = QLatin1Char(' ');
    if (bytes < 1024ull)
        return QStringLiteral("%1B").arg(double(bytes), 3, 'f', decimals, fill);
    if (bytes < 1048576ull)
        return QStringLiteral("%1KB").arg(double(bytes >> 10), 3, 'f', decimals, fill);
    if (bytes < 1073741824ull)
        return QStringLiteral("%1MB").arg(double(bytes) / 1048576.0, 3, 'f', decimals, fill);
    return QStringLiteral("%1GB").arg(double(bytes) / 1073741824.0, 3, 'f', decimals, fill);
}

bool RemovableDisk::MeasureDisk(RemovableDiskInfo &info) const
{
    Platform *platform = Platform::instance();
    Volumes *volumes = platform ? platform->volumes() : nullptr;
    qint64 freeBytes = 0;
    qint64 totalBytes = 0;
    if (!volumes || !volumes->space(info.mRootPath, &freeBytes, &totalBytes) || totalBytes <= 0)
        return false;
    const quint64 total = quint64(totalBytes);
    const quint64 free = quint64(qBound<qint64>(0, freeBytes, totalBytes));
    const quint64 used = total - free;
    info.mFreeText = SizeText(free, 3);
    info.mUsedText = SizeText(used, 2);
    info.mTotalText = SizeText(total, 2);
    info.mTotalBytes = total;
    info.mUsedBytes = used;
    info.mFreeBytes = float(free);
    return true;
}

void RemovableDisk::OnRemoveDiskSize()
{
    if (!mCurrentDisk.mRootPath.isEmpty())
        MeasureDisk(mCurrentDisk);
    emit SignalRemoveDiskFreeSizeChanged();
}
