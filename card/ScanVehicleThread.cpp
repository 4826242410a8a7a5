#include "ScanVehicleThread.h"

#include "Catalogue.h"
#include "Vehicles.h"

#include <QMutexLocker>

ScanVehicleThread::ScanVehicleThread(const QString &path, QObject *parent)
    : QThread(parent)
    , mPath(path)
    , mVehicles(new Vehicles)
{
}

ScanVehicleThread::~ScanVehicleThread()
{
    {
        // Nobody will read the result: end a running scan at its next step
        // instead of walking the rest of the card.
        QMutexLocker lock(&mLock);
        mStopPending = true;
        if (mVehicles)
            mVehicles->mStop = true;
    }
    wait();
    delete mVehicles;
}

void ScanVehicleThread::SetPath(const QString &path)
{
    QMutexLocker lock(&mLock);
    mPath = path;
}

void ScanVehicleThread::start(QThread::Priority priority)
{
    if (isRunning())
        return;
    {
        QMutexLocker lock(&mLock);
        mStopPending = false;
    }
    QThread::start(priority);
}

void ScanVehicleThread::OnStop(int code)
{
    // Held so the catalogue cannot be replaced while the request reaches it.
    QMutexLocker lock(&mLock);
    if (code == 1)
        mStopPending = true;
    emit SignalStop(code);
}

void ScanVehicleThread::OnSizeChanged(uint64_t, float)
{
    emit SignalScanVehicleProgress();
}

Vehicles *ScanVehicleThread::GetDatas()
{
    return mVehicles;
}

void ScanVehicleThread::run()
{
    Vehicles *vehicles = new Vehicles;
    QString path;
    {
        QMutexLocker lock(&mLock);
        delete mVehicles;
        mVehicles = vehicles;
        path = mPath;
        // A stop sent between start() and here went to the old catalogue.
        if (mStopPending)
            vehicles->mStop = true;
    }
    emit SignalScanVehicleStarted();
    connect(this, &ScanVehicleThread::SignalStop, vehicles, &Vehicles::OnStop, Qt::DirectConnection);
    connect(vehicles, &Vehicles::SignalSizeChanged, this, &ScanVehicleThread::OnSizeChanged, Qt::DirectConnection);
    vehicles->ScanVehicles(path, true);
    SortVehicles(vehicles->mDatas);
    emit SignalScanVehicleFinished();
}
