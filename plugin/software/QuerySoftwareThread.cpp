#include "QuerySoftwareThread.h"

#include "SoftwareLog.h"
#include "StagingRepair.h"
#include "Vehicles.h"

#include <QDir>

QuerySoftwareThread::QuerySoftwareThread(QObject *parent)
    : ServiceCallThread(parent)
{
}

QuerySoftwareThread::~QuerySoftwareThread()
{
    requestStop();
    wait();
}

void QuerySoftwareThread::requestStop()
{
    mStop = true;
    QMutexLocker lock(&mScanMutex);
    if (mScan)
        mScan->stop();
}

int QuerySoftwareThread::call(QVariant *response)
{
    mCatalogue.clear();
    // The card this run was started for; another card inserted meanwhile
    // must not lend its catalogue to this card's list.
    if (!mCard.isNull() && QDir(mCard.root()).exists()) {
        // An install cut short is undone (or finished) first, so that the
        // list never shows a half-installed package as current.
        StagingRepair::repairCard(mCard);
        qCDebug(lcSoftware) << "ScanVehicles...";
        Vehicles vehicles(mCard);
        {
            QMutexLocker lock(&mScanMutex);
            mScan = &vehicles;
            if (mStop)
                vehicles.stop();
        }
        vehicles.ScanVehicles(mCard.vehiclesPath(), false);
        {
            QMutexLocker lock(&mScanMutex);
            mScan = nullptr;
        }
        mCatalogue = vehicles.mDatas;
        qCDebug(lcSoftware) << "ScanVehicles: end!";
    }
    if (mStop)
        return -1; // nobody waits for the answer any more
    if (mRescanOnly) {
        mRescanOnly = false;
        *response = QVariant::fromValue(mResponse);
        return 200;
    }
    mResponse.clear();
    ProductAction action;
    const int code = action.querySoftware(mResponse, mParam);
    *response = QVariant::fromValue(mResponse);
    return code;
}
