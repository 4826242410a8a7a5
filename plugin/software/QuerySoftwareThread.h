#pragma once

#include "Card.h"
#include "ServiceCallThread.h"
#include "VehicleData.h"

#include <Sornet/ProductAction.h>
#include <Sornet/QuerySoftwareParam.h>
#include <Sornet/QuerySoftwareResponse.h>

#include <QList>
#include <QMutex>
#include <QString>

#include <atomic>

class Vehicles;

// Scans the card's catalogue and asks the service for the product's
// software list, off the GUI thread; `finish` carries a
// QuerySoftwareResponse. A rescan-only run keeps the last answer and only
// scans the card again.
class QuerySoftwareThread : public ServiceCallThread
{
    Q_OBJECT
public:
    explicit QuerySoftwareThread(QObject *parent = nullptr);
    ~QuerySoftwareThread() override;

    // Set before start(), not while running.
    void setParam(const QuerySoftwareParam &param) { mParam = param; }
    const QuerySoftwareParam &param() const { return mParam; }
    void setCard(const Card &card) { mCard = card; }
    Card card() const { return mCard; }
    void setRescanOnly(bool on) { mRescanOnly = on; }
    bool isRescanOnly() const { return mRescanOnly; }

    // The catalogue of the last run; read after finish, before the next start.
    const QList<VehicleData> &catalogue() const { return mCatalogue; }

    // Ends a card scan early, even one under way, and skips the service
    // call after it (the page is going away). Any thread.
    void requestStop();

protected:
    int call(QVariant *response) override;

private:
    QuerySoftwareParam mParam;
    QuerySoftwareResponse mResponse;
    QList<VehicleData> mCatalogue;
    Card mCard;
    bool mRescanOnly = false;
    std::atomic<bool> mStop{false};
    QMutex mScanMutex;
    Vehicles *mScan = nullptr; // the scan under way, guarded by mScanMutex
};
