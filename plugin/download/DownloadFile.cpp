#include "DownloadFile.h"

#include "ContentRange.h"
#include "DownloadLog.h"

#include <AppPaths.h>
#include <Sornet/NetworkSetup.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

Q_LOGGING_CATEGORY(lcDownload, "dravik.download", QtWarningMsg)

namespace {

// Bounds what Qt buffers when the disk or the event loop is slower than
// the line (HTTP/1.1 only; the HTTP/2 stack of this Qt ignores the cap).
const qint64 ReadBufferSize = 1024 * 1024;
const int WriteChunk = 256 * 1024;
const int MaxRedirects = 10;

QString errorName(QNetworkReply::NetworkError error)
{
    return QString::fromLatin1(QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error));
}

// An extension kept in clear must stay a plain part of a file name.
bool isPlainExtension(const QString &extension)
{
    for (const QChar c : extension) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

} // namespace

DownloadFile::DownloadFile(QObject *parent)
    : QObject(parent)
{
    connect(&mWatchdog, &QTimer::timeout, this, &DownloadFile::onTimeOut);
}

DownloadFile::~DownloadFile()
{
    // Silent, like stop(): nobody is listening any more.
    stop();
}

void DownloadFile::setStallPeriod(int msecs)
{
    mStallPeriod = msecs > 0 ? msecs : DefaultStallPeriod;
}

QString DownloadFile::downloadDir()
{
    return AppPaths::dataFile(QStringLiteral("Downloads")) + QLatin1Char('/');
}

QString DownloadFile::baseName(const QUrl &url, const QDateTime &now)
{
    const QString name = url.fileName(QUrl::FullyDecoded);
    if (!name.isEmpty())
        return name;
    return now.toString(QStringLiteral("yyyyMMdd_hhmmsszzz")) + QStringLiteral(".zip");
}

QString DownloadFile::hashedName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const bool keepExtension = dot > 0 && isPlainExtension(name.mid(dot));
    const QString hashed = keepExtension ? name.left(dot) : name;
    const QString hex = QString::fromLatin1(
        QCryptographicHash::hash(hashed.toUtf8(), QCryptographicHash::Md5).toHex());
    return keepExtension ? hex + name.mid(dot) : hex;
}

QString DownloadFile::temporaryPath(const QString &url, const QString &prefix)
{
    const QString name = prefix + QLatin1Char('_') + baseName(QUrl(url), QDateTime::currentDateTime());
    return downloadDir() + hashedName(name) + QStringLiteral(".tmp");
}

QString DownloadFile::finalPath(const QString &temporaryPath)
{
    const int at = temporaryPath.lastIndexOf(QLatin1String(".tmp"));
    return at < 0 ? temporaryPath : temporaryPath.left(at);
}

int DownloadFile::start(long id, const QString &url, const QString &prefix, const QString &temporaryPath)
{
    stop(); // one transfer at a time; an earlier one ends silently
    mId = id;
    mPrefix = prefix;
    mUrl = QUrl(url);
    mAborted = false;
    mState = 0;
    mRestarted = false;
    mRedirects = 0;
    mBroken = false;
    mDownloadSize = 0;
    mLastDownloadSize = 0;

    mFilePath = temporaryPath.isEmpty() ? DownloadFile::temporaryPath(url, prefix) : temporaryPath;
    // A temporary name must differ from the final one, or a partial file
    // would pass for a finished download.
    if (!mFilePath.endsWith(QLatin1String(".tmp")))
        mFilePath += QStringLiteral(".tmp");
    mFinalPath = finalPath(mFilePath);

    const QFileInfo done(mFinalPath);
    if (done.isFile()) {
        mFilePath = mFinalPath;
        emit downloadProgress(mId, done.size(), done.size());
        emit downloadFinished(mId, true, mFinalPath);
        return 200;
    }

    QDir().mkpath(QFileInfo(mFilePath).absolutePath());
    mFile = std::make_unique<QFile>(mFilePath);
    if (!mFile->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        qCDebug(lcDownload).noquote() << "error: cannot open" << mFilePath << mFile->errorString();
        mFile.reset();
        mState = 3;
        emit downloadFinished(mId, false, mFilePath);
        return -1;
    }
    mStartPoint = mFile->size();
    const QString recordPath = ResumeRecord::pathFor(mFilePath);
    const bool known = mRecord.load(recordPath) && mRecord.canVouch();
    // Bytes whose version nothing vouches for, or more bytes than the file
    // has, cannot be resumed: start afresh.
    if (mStartPoint > 0 && (!known || (mRecord.length >= 0 && mStartPoint > mRecord.length))) {
        mFile->resize(0);
        mStartPoint = 0;
    }
    if (mStartPoint == 0) {
        mRecord = ResumeRecord();
        ResumeRecord::remove(recordPath);
    }

    mManager = new QNetworkAccessManager(this);
    NetworkSetup::useSystemProxy(*mManager);
    connect(mManager, &QNetworkAccessManager::finished, this, &DownloadFile::onFinished);
    sendRequest(mUrl, mStartPoint);
    mWatchdog.stop();
    mWatchdog.start(mStallPeriod);

    const QVariant status = mReply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return -1;
    qCDebug(lcDownload) << "Code:" << status.toInt();
    return status.toInt();
}

void DownloadFile::sendRequest(const QUrl &url, qint64 offset)
{
    mRequestUrl = url;
    mRequestOffset = offset;
    mBytesReceived = 0;
    mBytesTotal = 0;
    mWritten = 0;
    mExpected = -1;
    mVerdict = Verdict::Undecided;

    // Redirects are followed here, on a request of their own: Qt 5.15's own
    // following may send the first request again beside the redirected one
    // and feed both answers into the same reply.
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // Range offsets count the bytes as sent: no transfer compression.
    request.setRawHeader("Accept-Encoding", "identity");
    if (offset > 0) {
        request.setRawHeader("Range", "bytes=" + QByteArray::number(offset) + '-');
        const QByteArray validator = mRecord.ifRange();
        if (!validator.isEmpty())
            request.setRawHeader("If-Range", validator);
    }
    NetworkSetup::secure(request);

    mState = 1;
    mReply = mManager->get(request);
    mReply->setReadBufferSize(ReadBufferSize);
    connect(mReply, &QNetworkReply::metaDataChanged, this, &DownloadFile::onMetaDataChanged);
    connect(mReply, &QNetworkReply::downloadProgress, this, &DownloadFile::onDownloadProgress);
    connect(mReply, &QNetworkReply::readyRead, this, &DownloadFile::onReadyRead);
}

void DownloadFile::onMetaDataChanged()
{
    if (sender() != mReply)
        return;
    if (mVerdict == Verdict::Write && mWritten > 0) {
        // Qt sends a request again by itself when the line drops; the
        // answer would begin again behind the bytes already written.
        qCDebug(lcDownload) << "error: the answer started over";
        mBroken = true;
        mReply->abort();
        return;
    }
    decide();
}

// Decides once per answer, from its status and headers, before any of its
// body reaches the file.
void DownloadFile::decide()
{
    if (!mReply || mVerdict != Verdict::Undecided)
        return;
    const QVariant statusValue = mReply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusValue.isValid())
        return;
    const int status = statusValue.toInt();
    switch (status) {
    case 200: {
        // A whole body: a server without ranges, or a file that changed
        // since the partial one was written. Begin again at byte 0.
        if (mFile->size() > 0)
            mFile->resize(0);
        mFile->seek(0);
        ResumeRecord record;
        const QByteArray etag = mReply->rawHeader("ETag");
        if (!etag.startsWith("W/"))
            record.etag = etag;
        record.lastModified = mReply->rawHeader("Last-Modified");
        const QVariant length = mReply->header(QNetworkRequest::ContentLengthHeader);
        record.length = length.isValid() ? length.toLongLong() : -1;
        mRecord = record;
        // Written before the first body byte, so what is on disk is always vouched for.
        if (!mRecord.save(ResumeRecord::pathFor(mFilePath)))
            qCDebug(lcDownload) << "cannot write the resume record";
        mExpected = record.length;
        mVerdict = Verdict::Write;
        break;
    }
    case 206:
        mVerdict = judgePartial(*mReply);
        break;
    case 416:
        mVerdict = judgeUnsatisfied(*mReply);
        break;
    case 301:
    case 302:
    case 303:
    case 307:
    case 308:
        mVerdict = mReply->hasRawHeader("Location") ? Verdict::Redirect : Verdict::Discard;
        break;
    default:
        // An error page is not archive bytes.
        mVerdict = Verdict::Discard;
        break;
    }
    // Not from inside the reply's own signal: the old answer is dropped
    // once control is back in the event loop.
    if (mVerdict == Verdict::Restart)
        QMetaObject::invokeMethod(this, &DownloadFile::restartFromZero, Qt::QueuedConnection);
    else if (mVerdict == Verdict::Redirect)
        QMetaObject::invokeMethod(this, &DownloadFile::followRedirect, Qt::QueuedConnection);
}

DownloadFile::Verdict DownloadFile::judgePartial(const QNetworkReply &reply)
{
    ContentRange range;
    if (!ContentRange::parse(reply.rawHeader("Content-Range"), &range) || range.isUnsatisfied()) {
        qCDebug(lcDownload) << "206 without a usable Content-Range:" << reply.rawHeader("Content-Range");
        return Verdict::Restart;
    }
    // Exactly the rest of the same file: from our offset to its very end.
    bool same = range.first == mRequestOffset && range.complete >= 0 && range.last == range.complete - 1;
    if (mRecord.length >= 0)
        same = same && range.complete == mRecord.length;
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid())
        same = same && length.toLongLong() == range.last - range.first + 1;
    const QByteArray etag = reply.rawHeader("ETag");
    if (!mRecord.etag.isEmpty() && !etag.isEmpty())
        same = same && etag == mRecord.etag;
    const QByteArray modified = reply.rawHeader("Last-Modified");
    if (mRecord.etag.isEmpty() && !mRecord.lastModified.isEmpty() && !modified.isEmpty())
        same = same && modified == mRecord.lastModified;
    if (!same) {
        qCDebug(lcDownload) << "206 for another range or version:" << reply.rawHeader("Content-Range")
                            << "asked from" << mRequestOffset << "of" << mRecord.length;
        return Verdict::Restart;
    }
    if (mRequestOffset == 0 || mRecord.length < 0) {
        if (mRequestOffset == 0) {
            mRecord = ResumeRecord();
            if (!etag.startsWith("W/"))
                mRecord.etag = etag;
            mRecord.lastModified = modified;
        }
        mRecord.length = range.complete;
        mRecord.save(ResumeRecord::pathFor(mFilePath));
    }
    mFile->seek(mRequestOffset);
    mExpected = range.last - range.first + 1;
    return Verdict::Write;
}

DownloadFile::Verdict DownloadFile::judgeUnsatisfied(const QNetworkReply &reply)
{
    // "Nothing after byte N" is good news only when N is the whole file as
    // the first answer described it.
    ContentRange range;
    const qint64 size = mFile->size();
    if (ContentRange::parse(reply.rawHeader("Content-Range"), &range) && range.isUnsatisfied() && size > 0
        && range.complete == size && mRecord.length == size && mRequestOffset == size)
        return Verdict::Complete;
    qCDebug(lcDownload) << "416 for an incomplete file:" << reply.rawHeader("Content-Range") << "have" << size;
    return Verdict::Restart;
}

void DownloadFile::dropReply()
{
    QNetworkReply *old = mReply;
    mReply = nullptr;
    disconnect(old, nullptr, this, nullptr);
    old->abort();
    old->deleteLater();
}

void DownloadFile::restartFromZero()
{
    if (mAborted || !mReply || mVerdict != Verdict::Restart)
        return;
    dropReply();
    if (mRestarted) {
        // The second try went wrong too: give up, keeping nothing that
        // could be mistaken for a resumable partial file.
        qCDebug(lcDownload) << "error: the server's partial answers do not fit the file";
        mFile->resize(0);
        ResumeRecord::remove(ResumeRecord::pathFor(mFilePath));
        finish(false);
        return;
    }
    mRestarted = true;
    mFile->resize(0);
    mFile->seek(0);
    mRecord = ResumeRecord();
    ResumeRecord::remove(ResumeRecord::pathFor(mFilePath));
    mLastDownloadSize = -1; // progress starts over; the next tick must not see a stall
    sendRequest(mUrl, 0);
}

void DownloadFile::followRedirect()
{
    if (mAborted || !mReply || mVerdict != Verdict::Redirect)
        return;
    const QUrl target = mRequestUrl.resolved(QUrl::fromEncoded(mReply->rawHeader("Location")));
    dropReply();
    const QString scheme = target.scheme();
    // Never less safe than the request before: no way from https to http.
    const bool allowed = target.isValid() && !target.host().isEmpty()
        && (scheme == QLatin1String("https")
            || (scheme == QLatin1String("http") && mRequestUrl.scheme() == QLatin1String("http")));
    if (!allowed || ++mRedirects > MaxRedirects) {
        qCDebug(lcDownload).noquote() << "error: redirect refused:" << target.toString()
                                      << (allowed ? "(too many)" : "(less safe)");
        finish(false);
        return;
    }
    qCDebug(lcDownload).noquote() << "redirected to" << target.toString();
    mLastDownloadSize = -1;
    sendRequest(target, mRequestOffset);
}

void DownloadFile::onReadyRead()
{
    qCDebug(lcDownload) << "onReadyRead...";
    if (!mReply || sender() != mReply)
        return;
    decide();
    if (mAborted || mVerdict != Verdict::Write) {
        mReply->skip(mReply->bytesAvailable());
        return;
    }
    writeAvailable();
}

bool DownloadFile::writeAvailable()
{
    if (mChunk.size() != WriteChunk)
        mChunk.resize(WriteChunk);
    while (mReply->bytesAvailable() > 0) {
        const qint64 n = mReply->read(mChunk.data(), mChunk.size());
        if (n <= 0)
            break;
        if (mExpected >= 0 && mWritten + n > mExpected) {
            // More than the answer announced: not bytes of this file.
            qCDebug(lcDownload) << "error: body longer than announced";
            mBroken = true;
            mReply->abort();
            return false;
        }
        if (mFile->write(mChunk.constData(), n) != n) {
            // Disk full or gone: a short write would leave a hole in the file.
            qCDebug(lcDownload).noquote() << "error: cannot write" << mFilePath << mFile->errorString();
            mBroken = true;
            mReply->abort();
            return false;
        }
        mWritten += n;
    }
    return true;
}

void DownloadFile::onDownloadProgress(qint64 received, qint64 total)
{
    qCDebug(lcDownload).nospace() << "bytesTotal: " << total << ", bytesReceived: " << received
                                  << ", mStartPoint: " << mRequestOffset;
    if (sender() != mReply)
        return;
    decide();
    mDownloadSize = received;
    mState = 2;
    if (mVerdict != Verdict::Write)
        return; // an error page or an answer about to be replaced
    mBytesReceived = received;
    mBytesTotal = total;
    if (!mAborted)
        emit downloadProgress(mId, received, total);
}

void DownloadFile::onTimeOut()
{
    qCDebug(lcDownload).nospace() << "onTimeOut: mLastDownloadSize: " << mLastDownloadSize
                                  << ", mDownloadSize: " << mDownloadSize;
    if (mLastDownloadSize != mDownloadSize) {
        mLastDownloadSize = mDownloadSize;
        return;
    }
    // Stalled: give up this attempt; the partial file stays for a resume.
    const bool wasAborted = mAborted;
    stop();
    mState = 3;
    if (wasAborted)
        return;
    emit downloadFinished(mId, false, mFilePath);
    emit timeOut();
}

void DownloadFile::onFinished(QNetworkReply *reply)
{
    if (reply != mReply || mAborted) {
        reply->deleteLater(); // a replaced or stopped answer
        return;
    }
    qCDebug(lcDownload) << "onFinished!";
    decide();
    if (mVerdict == Verdict::Restart || mVerdict == Verdict::Redirect)
        return; // the queued restart or redirect takes over

    bool success = false;
    const QNetworkReply::NetworkError error = reply->error();
    if (mVerdict == Verdict::Complete) {
        success = moveToFinal();
        if (success)
            emit downloadProgress(mId, mRecord.length, mRecord.length);
    } else if (error != QNetworkReply::NoError || mBroken) {
        qCDebug(lcDownload).noquote() << "error: " << errorName(error);
        qCDebug(lcDownload).noquote() << "errorString: " << reply->errorString();
    } else if (mVerdict == Verdict::Write && writeAvailable() && whole()) {
        success = moveToFinal();
    }
    finish(success);
}

// Everything the progress reports announced arrived, and also what a report
// cannot see: the body the answer announced, and the file the first answer
// described.
bool DownloadFile::whole() const
{
    const bool reported = mBytesTotal < 0 ? mWritten > 0 : mBytesReceived > 0 && mBytesReceived == mBytesTotal;
    return reported && (mExpected < 0 || mWritten == mExpected)
        && (mRecord.length < 0 || mFile->size() == mRecord.length);
}

bool DownloadFile::moveToFinal()
{
    mFile->close();
    if (QFileInfo::exists(mFinalPath))
        QFile::remove(mFinalPath);
    if (!QFile::rename(mFilePath, mFinalPath)) {
        qCDebug(lcDownload).noquote() << "error: cannot rename" << mFilePath << "to" << mFinalPath;
        return false;
    }
    ResumeRecord::remove(ResumeRecord::pathFor(mFilePath));
    mFilePath = mFinalPath;
    return true;
}

void DownloadFile::closeFile()
{
    if (!mFile)
        return;
    if (mFile->isOpen()) {
        mFile->flush();
        mFile->close();
    }
    mFile.reset();
}

void DownloadFile::finish(bool success)
{
    mDownloadSize = 0;
    mLastDownloadSize = 0;
    mWatchdog.stop();
    mState = 3;
    closeFile();
    if (mReply) {
        mReply->deleteLater();
        mReply = nullptr;
    }
    if (mManager) {
        mManager->deleteLater();
        mManager = nullptr;
    }
    if (!mAborted)
        emit downloadFinished(mId, success, mFilePath);
}

void DownloadFile::stop()
{
    mAborted = true;
    mWatchdog.stop();
    if (mManager)
        disconnect(mManager, nullptr, this, nullptr);
    if (mReply)
        dropReply();
    closeFile();
    if (mManager) {
        mManager->deleteLater();
        mManager = nullptr;
    }
}
