#include "DownloadRunnable.h"

#include "InstallLog.h"

DownloadRunnable::DownloadRunnable(QObject *parent)
    : QThread(parent)
{
    // The service call makes its network objects on the calling thread, so
    // the action and its answer need not move there.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void DownloadRunnable::abandon()
{
    disconnect(this, &DownloadRunnable::finished, nullptr, nullptr);
    cancel();
}

void DownloadRunnable::run()
{
    const long id = mParam.getId();
    int status = -1;
    if (!mCancelled)
        status = mAction.getDownloadURL(&mResponse, mParam);
    if (mCancelled)
        return;
    qCDebug(lcInstall) << "getDownloadURL: " << id << status << mResponse.getCode();
    if (status != 200)
        emit finished(id, status, -1, QString());
    else if (mResponse.getCode() != 1)
        emit finished(id, 200, mResponse.getCode(), QString());
    else
        emit finished(id, 200, 1, mResponse.getData().getUrl());
}
