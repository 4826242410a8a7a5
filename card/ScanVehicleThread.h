#pragma once

#include "Card.h"

#include <QMutex>
#include <QThread>

#include <atomic>
#include <cstdint>

class Vehicles;

// Scans one card's catalogue on a worker thread, reporting every vehicle as
// it is found, then sorts the result.
class ScanVehicleThread : public QThread
{
    Q_OBJECT
public:
    explicit ScanVehicleThread(const Card &card, QObject *parent = nullptr);
    ~ScanVehicleThread() override;

    // The card whose "Vehicles/" the next run scans; a running scan goes on
    // with its own.
    void SetPath(const Card &card);

    // Starts a scan run. A stop that arrives after this call but before the
    // run has made its new catalogue still applies to that run; one sent
    // while no run was pending is forgotten.
    void start(QThread::Priority priority = QThread::InheritPriority);
    // Ends the running scan at its next step with what it found so far.
    void stop();

public slots:
    // Code 1 stops; the scan never pauses, so other codes change nothing.
    void OnStop(int code);
    void OnSizeChanged(uint64_t size, float percentage);
    // The catalogue of the last scan; owned by the thread.
    Vehicles *GetDatas();

signals:
    void SignalScanVehicleStarted();
    void SignalScanVehicleProgress();
    void SignalScanVehicleFinished();
    void SignalStop(int code);

protected:
    void run() override;

private:
    QMutex mLock; // guards mCard and the swap of mVehicles against stop()
    Card mCard;
    Vehicles *mVehicles = nullptr;
    bool mStopPending = false;
    std::atomic<bool> mEndReported{false};
};
