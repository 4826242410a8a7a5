#pragma once

#include <QMutex>
#include <QObject>
#include <QRunnable>
#include <QString>

#include <cstdint>

// One vehicle's uninstall as a pool job: deletes its directory and reports
// progress in whole percent.
class UninstallRunnable : public QObject, public QRunnable
{
    Q_OBJECT
public:
    UninstallRunnable(const QString &id, const QString &path);

    void run() override;

public slots:
    void OnSizeChanged(uint64_t size, float percentage);
    void OnStop(int code);
    void OnSuspend();

signals:
    void SignalUninstallStarted(QString id);
    void SignalUninstallFinished(QString id, bool ok);
    void SignalUninstallProgress(QString id, uint percentage);
    void SignalStop(int code);
    void SignalSuspend();

private:
    QString mId;
    QString mPath;
    // Held while a stop or pause request passes through to the catalogue,
    // and while run() cuts that link: the catalogue is a local of run() and
    // must not die under a request still being handled on the GUI thread.
    QMutex mRequestLock;
    // Last percentage passed on; repeats are dropped so a directory of many
    // small files does not flood the receiver with identical events.
    qint64 mLastPercent = -1;
};
