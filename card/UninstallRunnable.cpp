#include "UninstallRunnable.h"

#include "CardLog.h"
#include "Vehicles.h"

#include <algorithm>

#include <time.h>

namespace {
constexpr double kReportBurst = 4;
constexpr double kReportsPerSecond = 25;

// A few milliseconds of grain are plenty here, and this clock costs next
// to nothing per call.
qint64 coarseMs()
{
    struct timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
} // namespace

UninstallRunnable::UninstallRunnable(const Card &card, const QString &id, const QString &path)
    : mCard(card)
    , mId(id)
    , mPath(path)
{
    setAutoDelete(true);
}

UninstallRunnable::UninstallRunnable(const Card &card, const VehicleData &scanned)
    : UninstallRunnable(card, scanned.mDirPath, scanned.mDirPath)
{
    mScannedBytes = scanned.mSize;
}

void UninstallRunnable::run()
{
    emit SignalUninstallStarted(mId);
    mLastRefill = coarseMs();
    mReportTokens = kReportBurst;
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
    VehicleData scanned;
    scanned.mDirPath = mPath;
    scanned.mSize = mScannedBytes;
    const bool ok = vehicles.DeleteDirectory(scanned);
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
    if (whole < 100) {
        if (mReportTokens < 1.0) {
            const qint64 now = coarseMs();
            mReportTokens =
                std::min(kReportBurst, mReportTokens + double(now - mLastRefill) * kReportsPerSecond / 1000.0);
            mLastRefill = now;
            if (mReportTokens < 1.0)
                return;
        }
        mReportTokens -= 1.0;
    }
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
