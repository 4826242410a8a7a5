#include "UninstallRunnable.h"

#include "CardLog.h"
#include "Vehicles.h"

UninstallRunnable::UninstallRunnable(const QString &id, const QString &path)
    : mId(id)
    , mPath(path)
{
    setAutoDelete(true);
}

void UninstallRunnable::run()
{
    emit SignalUninstallStarted(mId);
    Vehicles vehicles;
    connect(&vehicles, &Vehicles::SignalSizeChanged, this, &UninstallRunnable::OnSizeChanged, Qt::DirectConnection);
    connect(this, &UninstallRunnable::SignalStop, &vehicles, &Vehicles::OnStop, Qt::DirectConnection);
    connect(this, &UninstallRunnable::SignalSuspend, &vehicles, &Vehicles::OnSuspend, Qt::DirectConnection);
    const bool ok = vehicles.DeleteDirectory(mPath);
    {
        // Waits for a request in flight; later ones reach nothing.
        QMutexLocker lock(&mRequestLock);
        disconnect(this, nullptr, &vehicles, nullptr);
    }
    if (!ok)
        qCDebug(lcCard).noquote() << "删除文件夹失败：" << mPath;
    emit SignalUninstallFinished(mId, ok);
}

void UninstallRunnable::OnSizeChanged(uint64_t, float percentage)
{
    const uint whole = percentage <= 0.0f ? 0u : uint(percentage);
    if (qint64(whole) == mLastPercent)
        return;
    mLastPercent = whole;
    emit SignalUninstallProgress(mId, whole);
}

void UninstallRunnable::OnStop(int code)
{
    QMutexLocker lock(&mRequestLock);
    emit SignalStop(code);
}

void UninstallRunnable::OnSuspend()
{
    QMutexLocker lock(&mRequestLock);
    emit SignalSuspend();
}
