#include "DownloadFile.h"

#include "ContentRange.h"
#include "DownloadLog.h"
#include "ZipProbe.h"

#include <AppPaths.h>
#include <Platform.h>
#include <Sornet/NetworkSetup.h>
#include <Volumes.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcDownload, "dravik.download", QtWarningMsg)

namespace {

// Bounds what Qt buffers when the disk or the event loop is slower than
// the line (HTTP/1.1 only; the HTTP/2 stack of this Qt ignores the cap).
const qint64 ReadBufferSize = 1024 * 1024;
const int WriteChunk = 256 * 1024;
const int MaxRedirects = 10;
// What a body of unknown length may hold beyond the announced package size.
const qint64 SizeHintSlack = 64 * 1024;

QString errorName(QNetworkReply::NetworkError error)
{
    return QString::fromLatin1(QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error));
}

// https, or http to this computer's loopback only.
bool isWebAddress(const QUrl &url)
{
    return NetworkSetup::isAllowed(url);
}

// A finished archive's record whose archive is gone (the install job
// removed it) would only collect in the folder.
void sweepFinishedRecords(const QString &folder)
{
    const QDir dir(folder);
    const QStringList records = dir.entryList({QStringLiteral(".*.resume")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : records) {
        const QString archive = ResumeRecord::archiveOf(dir.filePath(name));
        if (!archive.isEmpty() && !QFileInfo::exists(archive))
            ResumeRecord::remove(dir.filePath(name));
    }
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

// Opens (or makes) the partial file itself: a link planted under its name
// is not followed, so the body never lands where the link points, and a
// FIFO or device there is refused rather than written to.
bool openPartial(QFile &file, QString *error)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(file.fileName()).constData(),
                    O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("Not a plain file: %1").arg(file.fileName());
        return false;
    }
    if (!file.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
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

bool DownloadFile::removeArchive(const QString &finalPath)
{
    // The record goes after the archive: a record alone is harmless, an
    // archive without one is fetched again.
    const bool archiveGone = !QFileInfo::exists(finalPath) || QFile::remove(finalPath);
    const QString record = ResumeRecord::finishedPathFor(finalPath);
    const bool recordGone = !QFileInfo::exists(record) || QFile::remove(record);
    return archiveGone && recordGone;
}

qint64 DownloadFile::sizeLimit(qint64 sizeHint)
{
    if (sizeHint <= 0)
        return -1;
    return sizeHint + sizeHint / 100 + SizeHintSlack;
}

int DownloadFile::start(long id, const QString &url, const QString &prefix, const QString &temporaryPath)
{
    stop(); // one transfer at a time; an earlier one ends silently
    mId = id;
    mPrefix = prefix;
    mAddress = url;
    mUrl = QUrl(url);
    mAborted = false;
    mState = 0;
    mRestarted = false;
    mRedirects = 0;
    mBroken = false;
    mDropPartial = false;
    mFailure = Failure::None;
    mHttpStatus = 0;
    mErrorString.clear();
    mDownloadSize = 0;
    mLastDownloadSize = 0;
    mGrace = false;

    mFilePath = temporaryPath.isEmpty() ? DownloadFile::temporaryPath(url, prefix) : temporaryPath;
    // A temporary name must differ from the final one, or a partial file
    // would pass for a finished download.
    if (!mFilePath.endsWith(QLatin1String(".tmp")))
        mFilePath += QStringLiteral(".tmp");
    mFinalPath = finalPath(mFilePath);

    // Another scheme would have Qt read a local file or worse; refused
    // before anything on disk is looked at or made.
    if (!isWebAddress(mUrl)) {
        setFailure(Failure::NotWeb, QStringLiteral("Not a web address: %1").arg(url));
        mState = 3;
        emit downloadFinished(mId, false, mFilePath);
        return -1;
    }

    const QFileInfo done(mFinalPath);
    if (done.isFile()) {
        if (finishedArchiveIsValid(done.size())) {
            mFilePath = mFinalPath;
            emit downloadProgress(mId, done.size(), done.size());
            emit downloadFinished(mId, true, mFinalPath);
            return 200;
        }
        qCDebug(lcDownload).noquote() << "not this download's archive, fetched again:" << mFinalPath;
        removeArchive(mFinalPath);
    }

    const QString folder = QFileInfo(mFilePath).absolutePath();
    QDir().mkpath(folder);
    sweepFinishedRecords(folder);
    mFile = std::make_unique<QFile>(mFilePath);
    QString openError;
    if (!openPartial(*mFile, &openError)) {
        qCDebug(lcDownload).noquote() << "error: cannot open" << mFilePath << openError;
        setFailure(Failure::LocalDisk, openError);
        mFile.reset();
        mState = 3;
        emit downloadFinished(mId, false, mFilePath);
        return -1;
    }
    mStartPoint = mFile->size();
    const QString recordPath = ResumeRecord::pathFor(mFilePath);
    // Bytes of another package or address, bytes whose version no validator
    // can vouch for, or more bytes than the file has cannot be resumed:
    // start afresh.
    const bool known = mRecord.load(recordPath) && mRecord.isFor(mIdentity, mAddress) && mRecord.canVouch();
    if (mStartPoint > 0 && (!known || (mRecord.length >= 0 && mStartPoint > mRecord.length))) {
        qCDebug(lcDownload) << "partial file not resumable, starting afresh:" << mStartPoint << "bytes";
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

// A finished archive counts only when its record says it is this package
// from this address and as long as it was, and, where a zip is expected,
// when it still opens as one.
bool DownloadFile::finishedArchiveIsValid(qint64 size) const
{
    ResumeRecord record;
    bool valid;
    if (record.load(ResumeRecord::finishedPathFor(mFinalPath)))
        valid = record.isFor(mIdentity, mAddress) && record.length == size;
    else
        valid = mIdentity.isEmpty(); // a caller that names no package trusts the name alone
    return valid && (!mExpectZip || ZipProbe::isComplete(mFinalPath));
}

void DownloadFile::sendRequest(const QUrl &url, qint64 offset)
{
    mRequestUrl = url;
    mRequestOffset = offset;
    mBytesReceived = 0;
    mBytesTotal = 0;
    mWritten = 0;
    mExpected = -1;
    mBudget = -1;
    mRequestReceived = 0;
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
        setFailure(Failure::Network, QStringLiteral("The answer started over after a dropped line."));
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
    mHttpStatus = status;
    switch (status) {
    case 200: mVerdict = judgeWhole(*mReply); break;
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
    else if (mVerdict == Verdict::Refuse)
        QMetaObject::invokeMethod(this, &DownloadFile::refuse, Qt::QueuedConnection);
}

DownloadFile::Verdict DownloadFile::judgeWhole(const QNetworkReply &reply)
{
    // A whole body: a server without ranges, or a file that changed since
    // the partial one was written. Begin again at byte 0.
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    mExpected = length.isValid() ? length.toLongLong() : -1;
    if (announcesTooMuch(mExpected))
        return Verdict::Refuse;
    measureBudget(mFile->size());
    if (mBudget >= 0 && mExpected > mBudget) {
        setFailure(Failure::NoSpace,
                   QStringLiteral("%1 bytes announced, %2 bytes free for downloads.").arg(mExpected).arg(mBudget));
        return Verdict::Refuse;
    }
    if (mFile->size() > 0)
        mFile->resize(0);
    mFile->seek(0);
    ResumeRecord record;
    const QByteArray etag = reply.rawHeader("ETag");
    if (!etag.startsWith("W/"))
        record.etag = etag;
    record.lastModified = reply.rawHeader("Last-Modified");
    record.length = mExpected;
    mRecord = record;
    // Written before the first body byte, so what is on disk is always vouched for.
    saveRecord();
    return Verdict::Write;
}

// An archive announced far bigger than the service said the package is
// would only fill the disk with what cannot be it.
bool DownloadFile::announcesTooMuch(qint64 length)
{
    if (mSizeHint <= 0 || length <= mSizeHint * 2 + AnnouncedSlack)
        return false;
    setFailure(Failure::TooLarge,
               QStringLiteral("%1 bytes announced; the package has %2.").arg(length).arg(mSizeHint));
    mDropPartial = true;
    return true;
}

// The free space of the download folder's disk, less the reserve, is what
// this answer may add; `freed` bytes of the file are given back first.
void DownloadFile::measureBudget(qint64 freed)
{
    mBudget = -1;
    Platform *platform = Platform::instance();
    Volumes *volumes = platform ? platform->volumes() : nullptr;
    qint64 free = 0;
    qint64 total = 0;
    if (!volumes || !volumes->space(QFileInfo(mFilePath).absolutePath(), &free, &total)) {
        qCDebug(lcDownload) << "free space unknown; no budget";
        return;
    }
    mBudget = qMax<qint64>(0, free + freed - DiskReserve);
}

void DownloadFile::saveRecord()
{
    mRecord.identity = mIdentity;
    mRecord.address = mAddress;
    if (!mRecord.save(ResumeRecord::pathFor(mFilePath)))
        qCDebug(lcDownload) << "cannot write the resume record";
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
    mExpected = range.last - range.first + 1;
    if (announcesTooMuch(range.complete))
        return Verdict::Refuse;
    measureBudget(0);
    if (mBudget >= 0 && mExpected > mBudget) {
        // The partial file stays: it is sound, and resumes once there is room.
        setFailure(Failure::NoSpace,
                   QStringLiteral("%1 more bytes announced, %2 bytes free for downloads.").arg(mExpected).arg(mBudget));
        return Verdict::Refuse;
    }
    if (mRequestOffset == 0 || mRecord.length < 0) {
        if (mRequestOffset == 0) {
            mRecord = ResumeRecord();
            if (!etag.startsWith("W/"))
                mRecord.etag = etag;
            mRecord.lastModified = modified;
        }
        mRecord.length = range.complete;
        saveRecord();
    }
    mFile->seek(mRequestOffset);
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
        setFailure(Failure::Changed, QStringLiteral("The server's partial answers do not fit the file."));
        discardPartial();
        finish(false);
        return;
    }
    mRestarted = true;
    mFile->resize(0);
    mFile->seek(0);
    mRecord = ResumeRecord();
    ResumeRecord::remove(ResumeRecord::pathFor(mFilePath));
    mGrace = true; // a new request: the next tick must not see a stall
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
    const bool allowed = isWebAddress(target)
                         && (scheme == QLatin1String("https")
                             || (scheme == QLatin1String("http") && mRequestUrl.scheme() == QLatin1String("http")));
    if (!allowed || ++mRedirects > MaxRedirects) {
        qCDebug(lcDownload).noquote() << "error: redirect refused:" << target.toString()
                                      << (allowed ? "(too many)" : "(less safe)");
        setFailure(Failure::Redirect, allowed
                                          ? QStringLiteral("Too many redirects.")
                                          : QStringLiteral("Redirect to a less safe address refused: %1").arg(target.toString()));
        finish(false);
        return;
    }
    qCDebug(lcDownload).noquote() << "redirected to" << target.toString();
    mGrace = true;
    sendRequest(target, mRequestOffset);
}

void DownloadFile::refuse()
{
    if (mAborted || !mReply || mVerdict != Verdict::Refuse)
        return;
    dropReply();
    finish(false);
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
    // Without an announced length only the package's size bounds the body.
    const qint64 limit = mExpected >= 0 ? -1 : sizeLimit(mSizeHint);
    while (mReply->bytesAvailable() > 0) {
        const qint64 n = mReply->read(mChunk.data(), mChunk.size());
        if (n <= 0)
            break;
        Failure failure = Failure::None;
        QString detail;
        if (mExpected >= 0 && mWritten + n > mExpected) {
            // More than the answer announced: not bytes of this file, and
            // nothing tells which of the bytes before were.
            failure = Failure::TooLarge;
            detail = QStringLiteral("The server sent more than the %1 bytes it announced.").arg(mExpected);
        } else if (limit >= 0 && mRequestOffset + mWritten + n > limit) {
            failure = Failure::TooLarge;
            detail = QStringLiteral("The body grew past %1 bytes; the package has %2.").arg(limit).arg(mSizeHint);
        } else if (mBudget >= 0 && mWritten + n > mBudget) {
            failure = Failure::NoSpace;
            detail = QStringLiteral("The body grew past the %1 bytes free for downloads.").arg(mBudget);
        }
        if (failure != Failure::None) {
            qCDebug(lcDownload).noquote() << "error:" << detail;
            setFailure(failure, detail);
            mDropPartial = true;
            mBroken = true;
            mReply->abort();
            return false;
        }
        if (mFile->write(mChunk.constData(), n) != n) {
            // Disk full or gone: a short write would leave a hole in the file.
            qCDebug(lcDownload).noquote() << "error: cannot write" << mFilePath << mFile->errorString();
            setFailure(Failure::LocalDisk, mFile->errorString());
            mBroken = true;
            mReply->abort();
            return false;
        }
        mWritten += n;
        mArrivedPending += n;
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
    // Every byte on the line counts for the watchdog, an error page's too.
    if (received > mRequestReceived)
        mDownloadSize += received - mRequestReceived;
    mRequestReceived = received;
    mState = 2;
    if (mVerdict != Verdict::Write)
        return; // an error page or an answer about to be replaced
    mBytesReceived = received;
    mBytesTotal = total;
    if (mAborted)
        return;
    const bool last = total >= 0 && received >= total;
    if (mReportInterval > 0 && !last && mSinceReport.isValid() && mSinceReport.elapsed() < mReportInterval)
        return;
    mSinceReport.start();
    if (mArrivedPending > 0) {
        emit bytesArrived(mArrivedPending);
        mArrivedPending = 0;
    }
    emit downloadProgress(mId, received, total);
}

void DownloadFile::onTimeOut()
{
    qCDebug(lcDownload).nospace() << "onTimeOut: mLastDownloadSize: " << mLastDownloadSize
                                  << ", mDownloadSize: " << mDownloadSize;
    const qint64 delivered = mDownloadSize - mLastDownloadSize;
    mLastDownloadSize = mDownloadSize;
    if (mGrace) {
        mGrace = false;
        return;
    }
    // A trickle is as good as silence: a floor on the rate over the whole
    // period, not just on any sign of life.
    const qint64 needed = mSpeedFloor * mStallPeriod / 1000;
    if (delivered > 0 && delivered >= needed)
        return;
    // Stalled: give up this attempt; the partial file stays for a resume.
    const bool wasAborted = mAborted;
    stop();
    mState = 3;
    if (wasAborted)
        return;
    setFailure(Failure::Stalled,
               QStringLiteral("%1 bytes in %2 ms, less than %3 bytes a second.").arg(delivered).arg(mStallPeriod).arg(mSpeedFloor));
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
    } else if (mBroken || mVerdict == Verdict::Refuse) {
        // Why was set where it went wrong.
        qCDebug(lcDownload).noquote() << "error: " << errorName(error);
        if (mDropPartial)
            discardPartial();
    } else if (mVerdict == Verdict::Discard || mVerdict == Verdict::Undecided) {
        if (mHttpStatus >= 300 && mHttpStatus < 400)
            setFailure(Failure::Redirect, QStringLiteral("Redirect without a target (HTTP %1).").arg(mHttpStatus));
        else if (mHttpStatus > 0)
            setFailure(Failure::HttpStatus, QStringLiteral("HTTP status %1.").arg(mHttpStatus));
        else
            setFailure(Failure::Network, reply->errorString());
        qCDebug(lcDownload).noquote() << "error: " << errorName(error);
        qCDebug(lcDownload).noquote() << "errorString: " << reply->errorString();
    } else if (error != QNetworkReply::NoError) {
        setFailure(Failure::Network, reply->errorString());
        qCDebug(lcDownload).noquote() << "error: " << errorName(error);
        qCDebug(lcDownload).noquote() << "errorString: " << reply->errorString();
    } else if (writeAvailable()) {
        if (whole() && mExpectZip && !ZipProbe::isComplete(mFilePath)) {
            // An error page or a compressed body that said how long it is:
            // not the archive, however whole.
            setFailure(Failure::NotAnArchive, QStringLiteral("The body of %1 bytes is not a zip archive.").arg(mFile->size()));
            discardPartial();
        } else if (whole()) {
            success = moveToFinal();
        } else if (mExpected < 0 && mRecord.length < 0) {
            // Only the closed line ended this body: what is here may be any
            // prefix of the archive, and nothing can resume it soundly.
            setFailure(Failure::Incomplete, QStringLiteral("The body of unknown length ended after %1 bytes and is not a "
                                               "whole archive.")
                                                .arg(mFile->size()));
            discardPartial();
        } else {
            // Qt may end a reply whose line dropped without an error; the
            // announced length tells. What arrived stays for a resume.
            setFailure(Failure::Network,
                       QStringLiteral("The line closed after %1 of %2 bytes.").arg(mFile->size()).arg(mRecord.length));
        }
    } else if (mDropPartial) {
        discardPartial();
    }
    finish(success);
}

// Everything the progress reports announced arrived, and also what a report
// cannot see: the body the answer announced, and the file the first answer
// described. A body whose length nobody announced is whole only when it
// proves itself: a complete zip, or exactly the package's size.
bool DownloadFile::whole() const
{
    const qint64 size = mFile->size();
    if (mExpected < 0 && mRecord.length < 0) {
        if (size <= 0)
            return false;
        if (mExpectZip)
            return ZipProbe::isComplete(mFilePath);
        return mSizeHint > 0 && size == mSizeHint;
    }
    const bool reported = mBytesTotal < 0 ? mWritten > 0 : mBytesReceived > 0 && mBytesReceived == mBytesTotal;
    return reported && (mExpected < 0 || mWritten == mExpected) && (mRecord.length < 0 || size == mRecord.length);
}

bool DownloadFile::moveToFinal()
{
    const qint64 size = mFile->size();
    mFile->close();
    removeArchive(mFinalPath); // an older archive goes with its record
    if (!QFile::rename(mFilePath, mFinalPath)) {
        qCDebug(lcDownload).noquote() << "error: cannot rename" << mFilePath << "to" << mFinalPath;
        setFailure(Failure::LocalDisk, QStringLiteral("Cannot rename %1 to %2.").arg(mFilePath, mFinalPath));
        return false;
    }
    // The record follows the archive: it tells a later start whose archive
    // this is.
    mRecord.identity = mIdentity;
    mRecord.address = mAddress;
    mRecord.length = size;
    if (!mRecord.save(ResumeRecord::finishedPathFor(mFinalPath)))
        qCDebug(lcDownload) << "cannot write the record of the finished archive";
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

// A partial file that can never become the archive goes with its record,
// so that it neither fills the disk nor is resumed.
void DownloadFile::discardPartial()
{
    closeFile();
    QFile::remove(mFilePath);
    ResumeRecord::remove(ResumeRecord::pathFor(mFilePath));
}

void DownloadFile::setFailure(Failure failure, const QString &detail)
{
    // The first reason is the real one; an abort that follows adds nothing.
    if (mFailure != Failure::None)
        return;
    mFailure = failure;
    mErrorString = detail;
}

void DownloadFile::finish(bool success)
{
    if (success) {
        mFailure = Failure::None;
        mErrorString.clear();
    } else if (mFailure == Failure::None) {
        setFailure(Failure::Network, QStringLiteral("The download failed."));
    }
    mDownloadSize = 0;
    mLastDownloadSize = 0;
    mWatchdog.stop();
    mState = 3;
    closeFile();
    // An attempt refused before its first byte leaves no empty file behind.
    if (!success && mFilePath != mFinalPath && QFileInfo(mFilePath).isFile() && QFileInfo(mFilePath).size() == 0)
        discardPartial();
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
