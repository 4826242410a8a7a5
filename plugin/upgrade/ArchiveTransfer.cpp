#include "ArchiveTransfer.h"

#include "DownloadFile.h"
#include "UpgradeLog.h"

#include <Sornet/NetworkSetup.h>

ArchiveTransfer::ArchiveTransfer(const Package &package, QObject *parent)
    : UpgradeJob(package, parent)
{
}

ArchiveTransfer::~ArchiveTransfer()
{
    cancel();
}

void ArchiveTransfer::start()
{
    const QString scheme = mPackage.url.scheme();
    if (!NetworkSetup::isAllowed(mPackage.url)) {
        // Nothing is opened or written for an address that is not a web
        // one, nor asked of a server over a line anyone could read.
        emit finished(Result::failed(Failure::Download, scheme == QLatin1String("http")
                                                            ? tr("The download address is not secure (https).")
                                                            : tr("The download address is not a web address.")));
        return;
    }
    auto *download = new DownloadFile(this);
    download->setIdentity(mPackage.identity());
    download->setExpectZip(mPackage.kind() != Package::Kind::Program);
    download->setSizeHint(mPackage.size);
    connect(download, &DownloadFile::downloadProgress, this, &ArchiveTransfer::onProgress);
    connect(download, &DownloadFile::downloadFinished, this, &ArchiveTransfer::onFinished);
    mDownload = download;
    emit started();
    // An archive already here is reported from inside start(): those bytes
    // did not come over the line.
    mStarting = true;
    download->start(long(mPackage.id), mPackage.url.toString(QUrl::FullyEncoded), QString(), mPackage.downloadPath());
    mStarting = false;
}

void ArchiveTransfer::cancel()
{
    if (!mDownload)
        return;
    disconnect(mDownload, nullptr, this, nullptr);
    mDownload->stop();
    mDownload->deleteLater();
    mDownload = nullptr;
}

void ArchiveTransfer::onProgress(long, qint64 received, qint64 total)
{
    if (total == 0)
        return;
    // A new request (a restart from byte 0) counts from 0 again.
    const qint64 fresh = received >= mReceived ? received - mReceived : received;
    mReceived = received;
    mTotal = total;
    if (fresh > 0 && !mStarting)
        emit arrived(fresh);
    emit progress(received, total);
}

void ArchiveTransfer::onFinished(long, bool success, const QString &path)
{
    DownloadFile *download = mDownload;
    mDownload = nullptr;
    if (download)
        download->deleteLater();
    mReceived = mTotal = 0;
    if (success) {
        mPath = path;
        emit finished(Result());
        return;
    }
    QString reason;
    switch (download ? download->failure() : DownloadFile::Failure::Network) {
    case DownloadFile::Failure::NotWeb: reason = tr("The download address is not a web address."); break;
    case DownloadFile::Failure::HttpStatus:
        reason = tr("The download server answered %1.").arg(download->httpStatus());
        break;
    case DownloadFile::Failure::Stalled: reason = tr("The download stalled. Retry resumes it."); break;
    case DownloadFile::Failure::TooLarge:
        reason = tr("The download server sent more than the archive can be; what arrived was deleted.");
        break;
    case DownloadFile::Failure::Incomplete: reason = tr("The download ended before the archive was complete."); break;
    case DownloadFile::Failure::Changed: reason = tr("The archive changed on the server during the download."); break;
    case DownloadFile::Failure::LocalDisk:
        reason = tr("The archive could not be written to this computer's disk.");
        break;
    case DownloadFile::Failure::NoSpace: reason = tr("There is not enough space on this computer's disk."); break;
    case DownloadFile::Failure::Redirect: reason = tr("The download server sent it somewhere it may not go."); break;
    default: reason = tr("The connection to the download server failed. Retry resumes it."); break;
    }
    qCDebug(lcUpgrade).noquote() << "download failed:" << mPackage.identity()
                                 << (download ? download->errorString() : QString());
    emit finished(Result::failed(Failure::Download, reason));
}
