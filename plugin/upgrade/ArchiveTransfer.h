#pragma once

#include "UpgradeJob.h"

#include <QPointer>

class DownloadFile;
class QThread;

// Fetches a package's archive from the address the service named into the
// package's own file in the download folder, resuming what an earlier
// attempt left there. The bytes are DownloadFile's business, on the
// transfer thread when one is given (its reads and writes then never hold
// up the window); this job says what they mean for the package: which
// file, which identity its record must carry, how big it may grow, and why
// it failed.
class ArchiveTransfer : public UpgradeJob
{
    Q_OBJECT
public:
    // Progress reports from another thread come at most this often.
    static constexpr int ReportInterval = 100; // ms

    explicit ArchiveTransfer(const Package &package, QThread *thread = nullptr, QObject *parent = nullptr);
    ~ArchiveTransfer() override;

    void start() override;
    void cancel() override;

    // The finished archive, after a successful end.
    QString archivePath() const { return mPath; }
    // Bytes of the current request still to come; 0 when unknown.
    qint64 bytesLeft() const { return mTotal > mReceived ? mTotal - mReceived : 0; }

signals:
    // `bytes` came over the line (not from an archive already on disk).
    void arrived(qint64 bytes);

private:
    void onProgress(long id, qint64 received, qint64 total);
    void onFinished(long id, bool success, const QString &path);
    QString reasonOf(const DownloadFile &download) const;

    QThread *mThread;
    DownloadFile *mDownload = nullptr;
    QString mPath;
    qint64 mReceived = 0;
    qint64 mTotal = 0;
};
