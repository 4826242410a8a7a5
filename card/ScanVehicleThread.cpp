#include "ScanVehicleThread.h"

#include "Catalogue.h"
#include "StagingRepair.h"
#include "Vehicles.h"

#include <QMutexLocker>

ScanVehicleThread::ScanVehicleThread(const Card &card, QObject *parent)
    : QThread(parent)
    , mCard(card)
    , mVehicles(new Vehicles(card))
{
}

ScanVehicleThread::~ScanVehicleThread()
{
    // Nobody will read the result: end a running scan at its next step
    // instead of walking the rest of the card.
    stop();
    wait();
    delete mVehicles;
}

void ScanVehicleThread::SetPath(const Card &card)
{
    QMutexLocker lock(&mLock);
    mCard = card;
}

void ScanVehicleThread::start(QThread::Priority priority)
{
    // A run that has reported its end is only returning: a scan asked for
    // in answer to that report must not be lost.
    if (isRunning() && !mEndReported)
        return;
    wait();
    mEndReported = false;
    {
        QMutexLocker lock(&mLock);
        mStopPending = false;
    }
    QThread::start(priority);
}

void ScanVehicleThread::stop()
{
    // Held so the catalogue cannot be replaced while the request reaches it.
    QMutexLocker lock(&mLock);
    mStopPending = true;
    if (mVehicles)
        mVehicles->stop();
}

void ScanVehicleThread::OnStop(int code)
{
    if (code == 1)
        stop();
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
    Vehicles *vehicles = nullptr;
    {
        QMutexLocker lock(&mLock);
        vehicles = new Vehicles(mCard);
        delete mVehicles;
        mVehicles = vehicles;
        // A stop sent between start() and here went to the old catalogue.
        if (mStopPending)
            vehicles->stop();
    }
    emit SignalScanVehicleStarted();
    // An install cut short is undone (or finished) before the card is
    // listed, so that no half-installed package shows as current.
    StagingRepair::repairCard(vehicles->card());
    connect(vehicles, &Vehicles::SignalSizeChanged, this, &ScanVehicleThread::OnSizeChanged, Qt::DirectConnection);
    vehicles->ScanVehicles(vehicles->card().vehiclesPath(), true);
    SortVehicles(vehicles->mDatas);
    mEndReported = true;
    emit SignalScanVehicleFinished();
}
