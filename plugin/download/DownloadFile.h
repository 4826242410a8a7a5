#pragma once

#include "ResumeRecord.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>

class QDateTime;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// Fetches one archive over HTTP or HTTPS into the "Downloads" folder of the
// data folder. The bytes go to a temporary file named after the card's
// serial number and the URL; an interrupted transfer resumes from what is
// on disk with a range request, and only a complete body takes the final
// name. A resume never splices two versions of a file: the validators of
// the first answer are kept beside the temporary file and every partial
// answer must match them, else the file starts again from byte 0.
class DownloadFile : public QObject
{
    Q_OBJECT

public:
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

    // A transfer without progress for this long is given up (30 s).
    void setStallPeriod(int msecs);
    static constexpr int DefaultStallPeriod = 30000;

    // Names in the download folder.
    static QString downloadDir();
    // The URL's file name, fully decoded; without one, a time stamp ".zip".
    static QString baseName(const QUrl &url, const QDateTime &now);
    // MD5 hex of the name up to its last '.', followed by that extension.
    static QString hashedName(const QString &name);
    static QString temporaryPath(const QString &url, const QString &prefix);
    static QString finalPath(const QString &temporaryPath);

signals:
    void downloadFinished(long id, bool success, QString path);
    void downloadProgress(long id, qint64 received, qint64 total);
    void timeOut();

private slots:
    void onFinished(QNetworkReply *reply);
    void onDownloadProgress(qint64 received, qint64 total);
    void onReadyRead();
    void onTimeOut();
    void onMetaDataChanged();

private:
    // What to do with the body of the current answer.
    enum class Verdict { Undecided, Write, Discard, Complete, Restart, Redirect };

    void sendRequest(const QUrl &url, qint64 offset);
    void decide();
    Verdict judgePartial(const QNetworkReply &reply);
    Verdict judgeUnsatisfied(const QNetworkReply &reply);
    void restartFromZero();
    void followRedirect();
    void dropReply();
    bool writeAvailable();
    bool whole() const;
    bool moveToFinal();
    void closeFile();
    void finish(bool success);

    long mId = 0;
    QString mPrefix;
    QUrl mUrl;        // as given; every restart goes back to it
    QUrl mRequestUrl; // where the current request went
    int mRedirects = 0;
    QString mFilePath;
    QString mFinalPath;
    int mState = 0;
    bool mAborted = false;

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
    Verdict mVerdict = Verdict::Undecided;
    bool mRestarted = false;
    bool mBroken = false; // the body could not be written as announced
    QByteArray mChunk;

    qint64 mDownloadSize = 0;
    qint64 mLastDownloadSize = 0;
    int mStallPeriod = DefaultStallPeriod;
    QTimer mWatchdog;
};
