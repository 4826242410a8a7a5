#include "AddressQuery.h"

#include "DownloadRunnable.h"
#include "UpgradeLog.h"

#include <Sornet/Code.h>
#include <Sornet/GetDownloadURLParam.h>

AddressQuery::AddressQuery(const Package &package, const QString &token, int userId, QObject *parent)
    : UpgradeJob(package, parent)
    , mToken(token)
    , mUserId(userId)
{
}

AddressQuery::~AddressQuery()
{
    cancel();
}

void AddressQuery::start()
{
    GetDownloadURLParam param;
    param.setId(mPackage.id);
    param.setUser_id(mUserId);
    param.setToken(mToken);
    param.setSerial_number(mPackage.card.serialNumber());
    auto *thread = new DownloadRunnable;
    thread->setParam(param);
    connect(thread, &DownloadRunnable::finished, this, &AddressQuery::onFinished);
    mThread = thread;
    emit started();
    thread->start();
}

void AddressQuery::cancel()
{
    if (mThread)
        mThread->abandon();
    mThread = nullptr;
}

void AddressQuery::onFinished(long id, int code, int responseCode, const QString &url)
{
    qCDebug(lcUpgrade).nospace() << "onFinished: id: " << id << ", url: " << url;
    mThread = nullptr;
    if (code != 200) {
        // No answer: say so, not what the code -1 means in an answer.
        emit finished(Result::failed(Failure::Network,
                                     code == -1 ? tr("The service cannot be reached. Please check the network and try again.")
                                                : tr("The service answered with an error (HTTP %1).").arg(code)));
        return;
    }
    if (responseCode != 1) {
        QString reason = Code().getMessageByCode(responseCode);
        if (reason.isEmpty())
            reason = tr("The service's answer could not be read.");
        emit finished(Result::failed(Failure::Service, reason, responseCode));
        return;
    }
    const QUrl address(url);
    if (url.isEmpty() || !address.isValid()) {
        emit finished(Result::failed(Failure::Service, tr("The service named no download address.")));
        return;
    }
    mPackage.url = address;
    emit finished(Result());
}
