#pragma once

#include "ResumeRecord.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QElapsedTimer>
#include <QTimer>
#include <QUrl>

#include <memory>

class QDateTime;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// Fetches one archive over HTTP or HTTPS into the "Downloads" folder of the
// data folder. The bytes go to a temporary file named after the card's
// serial number and the URL (or a path the caller gives); an interrupted
// transfer resumes from what is on disk with a range request, and only a
// complete body takes the final name. A resume never splices two versions
// of a file: the validators of the first answer are kept beside the
// temporary file and every partial answer must match them, else the file
// starts again from byte 0. The same record names the caller's identity and
// the address, and stays beside the finished archive, so that a file in the
// folder is never taken for another package's archive.
//
// Everything lives in the object (no global state, no widgets), so that a
// download can run on a thread of its own.
class DownloadFile : public QObject
{
    Q_OBJECT

public:
    // Why the last download failed, readable after downloadFinished.
    enum class Failure {
        None,
        NotWeb,     // not https (nor http to loopback); nothing was touched
        Network,    // no answer, or the line dropped (the partial file stays)
        HttpStatus, // the server answered with an error status (httpStatus())
        Stalled,    // no progress, or less than the speed floor, for a stall period
        TooLarge,   // more bytes than announced, or than the package can have
        Incomplete, // a body of unknown length that is not the whole archive
        Changed,    // the server's partial answers never fit the file
        LocalDisk,  // the download folder could not be written
        NoSpace,    // the body would eat into the disk's reserve
        Redirect,   // a redirect to a less safe place, or too many of them
        NotAnArchive, // a whole body that is no zip (an error page, say)
    };
    Q_ENUM(Failure)

    explicit DownloadFile(QObject *parent = nullptr);
    ~DownloadFile() override;

    // 200 when the final file is already there (reported complete at once),
    // else -1; the signals tell the outcome. An empty temporaryPath derives
    // it from prefix and url.
    int start(long id, const QString &url, const QString &prefix, const QString &temporaryPath = QString());
    // Ends the transfer without a signal; the temporary file stays for a resume.
    void stop();
    // 0 idle, 1 request sent, 2 receiving, 3 finished.
    int state() const { return mState; }

    // Settings for the next start; they stay across starts.
    // Whose archive this is (opaque, e.g. "package 10 version V12.30"). A
    // file left under the same name for another identity or address is
    // never taken for this one. Without an identity, a finished archive
    // that has no record at all is still trusted.
    void setIdentity(const QString &identity) { mIdentity = identity; }
    // The body must be a whole zip archive: checked for a finished archive
    // found at start and for a body whose length nobody announced.
    void setExpectZip(bool expect) { mExpectZip = expect; }
    // The package's size as the service announced it; 0 or less: unknown.
    // A body of unknown length may not grow past it (plus a small margin),
    // and counts as whole only at exactly this size when no zip is expected.
    void setSizeHint(qint64 bytes) { mSizeHint = bytes > 0 ? bytes : -1; }
    // A transfer whose line delivers less than bytesPerSecond, averaged over
    // a stall period, is given up; 0 catches complete silence only.
    void setSpeedFloor(qint64 bytesPerSecond) { mSpeedFloor = bytesPerSecond > 0 ? bytesPerSecond : 0; }
    // How often the watchdog judges the transfer; 0 or less: the default.
    void setStallPeriod(int msecs);
    // At most one progress report per `msecs` (the last one always comes);
    // 0 reports every step. For a download on another thread than the one
    // that shows it.
    void setReportInterval(int msecs) { mReportInterval = qMax(0, msecs); }
    static constexpr int DefaultStallPeriod = 30000;
    static constexpr qint64 DefaultSpeedFloor = 1000;
    // Space a download leaves free on the download folder's disk.
    static constexpr qint64 DiskReserve = 100 * 1024 * 1024;
    // An answer may announce up to twice the package's size and this much
    // more (the service's figure may be rounded or dated); beyond, it is
    // refused before a byte is written.
    static constexpr qint64 AnnouncedSlack = 16 * 1024 * 1024;

    // The outcome of the last start: Failure::None after a success.
    Failure failure() const { return mFailure; }
    // The HTTP status of the last answer, 0 when none came.
    int httpStatus() const { return mHttpStatus; }
    // Details for the log or a tooltip; the failure kind is what to translate.
    QString errorString() const { return mErrorString; }

    // Names in the download folder.
    static QString downloadDir();
    // The URL's file name, fully decoded; without one, a time stamp ".zip".
    static QString baseName(const QUrl &url, const QDateTime &now);
    // MD5 hex of the name up to its last '.', followed by that extension.
    static QString hashedName(const QString &name);
    static QString temporaryPath(const QString &url, const QString &prefix);
    static QString finalPath(const QString &temporaryPath);
    // Removes a finished archive together with its record; true when neither is left.
    static bool removeArchive(const QString &finalPath);
    // The most a body of unknown length may hold for a package of this size.
    static qint64 sizeLimit(qint64 sizeHint);

signals:
    void downloadFinished(long id, bool success, QString path);
    void downloadProgress(long id, qint64 received, qint64 total);
    void timeOut();
    // Body bytes that came over the line and were written since the last
    // report, sent just before each progress report.
    void bytesArrived(qint64 bytes);

private slots:
    void onFinished(QNetworkReply *reply);
    void onDownloadProgress(qint64 received, qint64 total);
    void onReadyRead();
    void onTimeOut();
    void onMetaDataChanged();

private:
    // What to do with the body of the current answer.
    enum class Verdict { Undecided, Write, Discard, Complete, Restart, Redirect, Refuse };

    bool finishedArchiveIsValid(qint64 size) const;
    void sendRequest(const QUrl &url, qint64 offset);
    void decide();
    Verdict judgeWhole(const QNetworkReply &reply);
    Verdict judgePartial(const QNetworkReply &reply);
    Verdict judgeUnsatisfied(const QNetworkReply &reply);
    void measureBudget(qint64 freed);
    bool announcesTooMuch(qint64 length);
    void saveRecord();
    void restartFromZero();
    void followRedirect();
    void refuse();
    void dropReply();
    bool writeAvailable();
    bool whole() const;
    bool moveToFinal();
    void closeFile();
    void discardPartial();
    void setFailure(Failure failure, const QString &detail);
    void finish(bool success);

    long mId = 0;
    QString mPrefix;
    QString mAddress; // as given, kept in the record
    QUrl mUrl;        // as given; every restart goes back to it
    QUrl mRequestUrl; // where the current request went
    int mRedirects = 0;
    QString mFilePath;
    QString mFinalPath;
    int mState = 0;
    bool mAborted = false;

    QString mIdentity;
    bool mExpectZip = false;
    qint64 mSizeHint = -1;

    Failure mFailure = Failure::None;
    int mHttpStatus = 0;
    QString mErrorString;

    QNetworkAccessManager *mManager = nullptr; // child of this, one per download
    QNetworkReply *mReply = nullptr;
    std::unique_ptr<QFile> mFile;
    ResumeRecord mRecord;

    qint64 mStartPoint = 0;    // size of the temporary file found at start
    qint64 mRequestOffset = 0; // where the current request asked to begin
    qint64 mBytesReceived = 0; // last progress report, within the current request
    qint64 mBytesTotal = 0;
    qint64 mWritten = 0;       // body bytes written for the current request
    qint64 mExpected = -1;     // body length the current answer announced
    qint64 mBudget = -1;       // bytes the current answer may add to the disk; -1: unmeasured
    Verdict mVerdict = Verdict::Undecided;
    bool mRestarted = false;
    bool mBroken = false;      // the body could not be written as announced
    bool mDropPartial = false; // what is on disk can never become the archive
    QByteArray mChunk;

    // Watchdog: bytes the line delivered in this attempt, and at the last tick.
    qint64 mDownloadSize = 0;
    qint64 mLastDownloadSize = 0;
    qint64 mRequestReceived = 0; // of the current request, as last reported
    bool mGrace = false;         // a new request began: the next tick only takes note
    int mStallPeriod = DefaultStallPeriod;
    qint64 mSpeedFloor = DefaultSpeedFloor;
    // A child, so that it moves with the download to another thread.
    QTimer mWatchdog{this};

    int mReportInterval = 0;
    QElapsedTimer mSinceReport;
    qint64 mArrivedPending = 0; // written since the last report
};
