#pragma once

#include "Card.h"

#include <QMutex>
#include <QObject>
#include <QRunnable>
#include <QString>

#include <cstdint>

class VehicleData;
class Vehicles;

// One vehicle's uninstall as a pool job: deletes its directory on `card`
// and reports progress in whole percent.
class UninstallRunnable : public QObject, public QRunnable
{
    Q_OBJECT
public:
    UninstallRunnable(const Card &card, const QString &id, const QString &path);
    // A vehicle the scan measured; its directory is both id and path, and
    // its files are not measured a second time.
    UninstallRunnable(const Card &card, const VehicleData &scanned);

    void run() override;
    QString id() const { return mId; }

    // Requests from the controlling thread, also before the job has begun:
    // a pause holds it before its next file until resume(); a stop ends it
    // (with a failure) at its next step.
    void pause();
    void resume();
    void stop();

public slots:
    void OnSizeChanged(uint64_t size, float percentage);
    // Code 1 stops, any other code pauses.
    void OnStop(int code);
    // Ends a pause.
    void OnSuspend();

signals:
    void SignalUninstallStarted(QString id);
    void SignalUninstallFinished(QString id, bool ok);
    void SignalUninstallProgress(QString id, uint percentage);
    void SignalStop(int code);
    void SignalSuspend();

private:
    Card mCard;
    QString mId;
    QString mPath;
    quint64 mScannedBytes = 0;
    // Held while a request passes on to the catalogue, and while run() makes
    // or drops it: the catalogue is a local of run() and must not die under
    // a request still being handled on the controlling thread.
    QMutex mRequestLock;
    Vehicles *mVehicles = nullptr;
    bool mStopRequested = false;
    bool mPauseRequested = false;

    // Every report is a queued event for the receiving thread. Whole percents
    // only, and after a short burst (so a small job still shows its steps) at
    // most a few dozen a second; 100 always passes.
    qint64 mLastRefill = 0; // ms

    double mReportTokens = 0;
    qint64 mLastPercent = -1;
};
