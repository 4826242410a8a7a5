#include "FakeVolumes.h"

bool FakeVolumes::space(const QString &root, qint64 *freeBytes, qint64 *totalBytes) const
{
    *freeBytes = 0;
    *totalBytes = 0;
    const auto it = mSpace.constFind(root);
    if (it == mSpace.constEnd() || !it->ok)
        return false;
    *freeBytes = it->free;
    *totalBytes = it->total;
    return true;
}

void FakeVolumes::add(const VolumeInfo &volume)
{
    mVolumes.append(volume);
    if (!mSpace.contains(volume.root))
        mSpace.insert(volume.root, Space{512, 1536, true});
    if (isStarted())
        emit volumeArrived(volume);
}

void FakeVolumes::add(const QString &root, bool removable, qint64 freeBytes, qint64 totalBytes)
{
    VolumeInfo v;
    v.root = root;
    v.device = QStringLiteral("/dev/fake") + QString::number(mVolumes.size());
    v.fsType = QStringLiteral("vfat");
    v.removable = removable;
    mSpace.insert(root, Space{freeBytes, totalBytes, true});
    add(v);
}

void FakeVolumes::remove(const QString &root)
{
    for (int i = 0; i < mVolumes.size(); ++i) {
        if (mVolumes.at(i).root == root) {
            const VolumeInfo gone = mVolumes.takeAt(i);
            if (isStarted())
                emit volumeRemoved(gone);
            return;
        }
    }
}

void FakeVolumes::setSpace(const QString &root, qint64 freeBytes, qint64 totalBytes)
{
    mSpace.insert(root, Space{freeBytes, totalBytes, true});
}

void FakeVolumes::setSpaceFails(const QString &root)
{
    mSpace[root].ok = false;
}
