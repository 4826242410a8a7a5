#pragma once

#include "UpgradeJob.h"

#include <QPointer>

class DownloadRunnable;

// Asks the service where a package is downloaded from. The call blocks, so
// it runs on a thread of its own (DownloadRunnable); a cancelled query is
// left to finish there, its answer unheard. On success package().url is
// the address.
class AddressQuery : public UpgradeJob
{
    Q_OBJECT
public:
    AddressQuery(const Package &package, const QString &token, int userId, QObject *parent = nullptr);
    ~AddressQuery() override;

    void start() override;
    void cancel() override;

private:
    void onFinished(long id, int code, int responseCode, const QString &url);

    QString mToken;
    int mUserId = 0;
    QPointer<DownloadRunnable> mThread;
};
