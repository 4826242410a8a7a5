#include "QuerySoftwareThread.h"

#include "SoftwareLog.h"
#include "Vehicles.h"

#include <QDir>

QuerySoftwareThread::QuerySoftwareThread(QObject *parent)
    : QThread(parent)
{
}

QuerySoftwareThread::~QuerySoftwareThread()
{
    requestStop();
    wait();
}

void QuerySoftwareThread::run()
{
    emit begin();
    mCatalogue.clear();
    // The card this run was started for; another card inserted meanwhile
    // must not lend its catalogue to this card's list.
    if (!mCard.isNull() && QDir(mCard.root()).exists()) {
        qCDebug(lcSoftware) << "ScanVehicles...";
        Vehicles vehicles(mCard);
        vehicles.mStop = mStop.load();
        vehicles.ScanVehicles(mCard.vehiclesPath(), false);
        mCatalogue = vehicles.mDatas;
        qCDebug(lcSoftware) << "ScanVehicles: end!";
    }
    if (mRescanOnly) {
        mRescanOnly = false;
        emit finish(200, QVariant::fromValue(mResponse));
        return;
    }
    mResponse.clear();
    ProductAction action;
    const int code = action.querySoftware(mResponse, mParam);
    emit finish(code, QVariant::fromValue(mResponse));
}
