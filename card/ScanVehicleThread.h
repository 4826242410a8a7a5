#pragma once

#include <QMutex>
#include <QString>
#include <QThread>

#include <cstdint>

class Vehicles;

// Scans one card's catalogue on a worker thread, reporting every vehicle as
// it is found, then sorts the result.
class ScanVehicleThread : public QThread
{
    Q_OBJECT
public:
    explicit ScanVehicleThread(const QString &path, QObject *parent = nullptr);
    ~ScanVehicleThread() override;

    // Takes effect at the next start.
    void SetPath(const QString &path);

    // Starts a scan run. A stop that arrives after this call but before the
    // run has made its new catalogue still applies to that run; one sent
    // while no run was pending is forgotten.
    void start(QThread::Priority priority = QThread::InheritPriority);

public slots:
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
    QMutex mLock; // guards mPath and the swap of mVehicles against OnStop
    QString mPath;
    Vehicles *mVehicles = nullptr;
    bool mStopPending = false;
};
