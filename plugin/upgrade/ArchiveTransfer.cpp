#include "ArchiveTransfer.h"

#include "DownloadFile.h"
#include "UpgradeLog.h"

#include <QThread>
#include <Sornet/NetworkSetup.h>

ArchiveTransfer::ArchiveTransfer(const Package &package, QThread *thread, QObject *parent)
    : UpgradeJob(package, parent)
    , mThread(thread)
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
    auto *download = new DownloadFile;
    download->setIdentity(mPackage.identity());
    download->setExpectZip(mPackage.kind() != Package::Kind::Program);
    download->setSizeHint(mPackage.size);
    connect(download, &DownloadFile::downloadProgress, this, &ArchiveTransfer::onProgress);
    connect(download, &DownloadFile::bytesArrived, this, &ArchiveTransfer::arrived);
    connect(download, &DownloadFile::downloadFinished, this, &ArchiveTransfer::onFinished);
    mDownload = download;
    emit started();
    const long id = mPackage.id;
    const QString url = mPackage.url.toString(QUrl::FullyEncoded);
    const QString path = mPackage.downloadPath();
    if (!mThread) {
        download->setParent(this);
        download->start(id, url, QString(), path);
        return;
    }
    download->setReportInterval(ReportInterval);
    download->moveToThread(mThread);
    QMetaObject::invokeMethod(download, [download, id, url, path] { download->start(id, url, QString(), path); },
                              Qt::QueuedConnection);
}

void ArchiveTransfer::cancel()
{
    DownloadFile *download = mDownload;
    if (!download)
        return;
    mDownload = nullptr;
    disconnect(download, nullptr, this, nullptr);
    // Gone before this returns: no partial write or report comes after it,
    // and nothing is left for a thread that is about to end.
    if (download->thread() == QThread::currentThread())
        delete download;
    else
        QMetaObject::invokeMethod(download, [download] { delete download; }, Qt::BlockingQueuedConnection);
}

void ArchiveTransfer::onProgress(long, qint64 received, qint64 total)
{
    // A report already on its way when the transfer was cancelled.
    if (!mDownload || sender() != mDownload || total == 0)
        return;
    mReceived = received;
    mTotal = total;
    emit progress(received, total);
}

void ArchiveTransfer::onFinished(long, bool success, const QString &path)
{
    DownloadFile *download = mDownload;
    if (!download || sender() != download)
        return;
    mDownload = nullptr;
    mReceived = mTotal = 0;
    const QString reason = success ? QString() : reasonOf(*download);
    if (!success)
        qCDebug(lcUpgrade).noquote() << "download failed:" << mPackage.identity() << download->errorString();
    // Its last signal is sent: its thread no longer touches it.
    download->deleteLater();
    if (success) {
        mPath = path;
        emit finished(Result());
        return;
    }
    emit finished(Result::failed(Failure::Download, reason));
}

QString ArchiveTransfer::reasonOf(const DownloadFile &download) const
{
    switch (download.failure()) {
    case DownloadFile::Failure::NotWeb: return tr("The download address is not a web address.");
    case DownloadFile::Failure::HttpStatus: return tr("The download server answered %1.").arg(download.httpStatus());
    case DownloadFile::Failure::Stalled: return tr("The download stalled. Retry resumes it.");
    case DownloadFile::Failure::TooLarge:
        return tr("The download server sent more than the archive can be; what arrived was deleted.");
    case DownloadFile::Failure::Incomplete: return tr("The download ended before the archive was complete.");
    case DownloadFile::Failure::Changed: return tr("The archive changed on the server during the download.");
    case DownloadFile::Failure::LocalDisk: return tr("The archive could not be written to this computer's disk.");
    case DownloadFile::Failure::NoSpace: return tr("There is not enough space on this computer's disk.");
    case DownloadFile::Failure::Redirect: return tr("The download server sent it somewhere it may not go.");
    case DownloadFile::Failure::NotAnArchive:
        return tr("The download server sent something that is not an archive; it was deleted.");
    default: return tr("The connection to the download server failed. Retry resumes it.");
    }
}
