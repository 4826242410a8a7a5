#include "UninstallRunnable.h"

#include "CardLog.h"
#include "Vehicles.h"

UninstallRunnable::UninstallRunnable(const Card &card, const QString &id, const QString &path)
    : mCard(card)
    , mId(id)
    , mPath(path)
{
    setAutoDelete(true);
}

void UninstallRunnable::run()
{
    emit SignalUninstallStarted(mId);
    Vehicles vehicles(mCard);
    connect(&vehicles, &Vehicles::SignalSizeChanged, this, &UninstallRunnable::OnSizeChanged, Qt::DirectConnection);
    {
        QMutexLocker lock(&mRequestLock);
        mVehicles = &vehicles;
        if (mStopRequested)
            vehicles.stop();
        else if (mPauseRequested)
            vehicles.pause();
    }
    const bool ok = vehicles.DeleteDirectory(mPath);
    {
        // Waits for a request in flight; later ones reach nothing.
        QMutexLocker lock(&mRequestLock);
        mVehicles = nullptr;
    }
    if (!ok)
        qCDebug(lcCard).noquote() << "删除文件夹失败：" << mPath;
    emit SignalUninstallFinished(mId, ok);
}

void UninstallRunnable::pause()
{
    QMutexLocker lock(&mRequestLock);
    mPauseRequested = true;
    if (mVehicles)
        mVehicles->pause();
}

void UninstallRunnable::resume()
{
    QMutexLocker lock(&mRequestLock);
    mPauseRequested = false;
    if (mVehicles)
        mVehicles->resume();
}

void UninstallRunnable::stop()
{
    QMutexLocker lock(&mRequestLock);
    mStopRequested = true;
    if (mVehicles)
        mVehicles->stop();
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
    if (code == 1)
        stop();
    else
        pause();
    emit SignalStop(code);
}

void UninstallRunnable::OnSuspend()
{
    resume();
    emit SignalSuspend();
}
