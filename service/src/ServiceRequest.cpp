#include "ServiceRequest.h"

#include "SornetLog.h"

#include <Sornet/BaseParam.h>
#include <Sornet/NetworkSetup.h>

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <atomic>

Q_LOGGING_CATEGORY(lcSornetHttp, "sornet.http", QtWarningMsg)

namespace {

std::atomic<int> gTimeout{ServiceRequest::DefaultTimeout};
std::atomic<int> gDeadline{ServiceRequest::DefaultDeadline};

// The requests this thread is waiting for, innermost last: a window closed
// during a call (its event arrives inside the call's wait) ends them.
thread_local QList<QNetworkReply *> tWaiting;
thread_local int tAbortGeneration = 0;

// Transport-level errors (refused, closed mid-answer, timed out, TLS):
// whatever status arrived before, the body cannot be trusted.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error > QNetworkReply::NoError && error <= QNetworkReply::UnknownNetworkError;
}

// Qt may finish a reply without an error although the peer closed before
// the end of the body it announced; such a body is no answer. A compressed
// body is counted after decoding, so only an unencoded one can be checked.
bool isCutShort(const QNetworkReply &reply, const QByteArray &body)
{
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    if (!length.isValid() || !(encoding.isEmpty() || encoding == "identity"))
        return false;
    return body.size() < length.toLongLong();
}

void connectByName(QObject *sender, const char *signal, QObject *receiver,
                   std::initializer_list<const char *> candidates)
{
    for (const char *slot : candidates) {
        const QByteArray normalized = QMetaObject::normalizedSignature(slot + 1);
        if (receiver->metaObject()->indexOfMethod(normalized.constData()) >= 0) {
            QObject::connect(sender, signal, receiver, slot);
            return;
        }
    }
}

} // namespace

ServiceRequest::ServiceRequest(const QString &url)
    : mUrl(url)
{
}

void ServiceRequest::addParam(const QString &key, const QString &value)
{
    if (!mParams.isEmpty())
        mParams += QLatin1Char('&');
    mParams += QStringLiteral("%1=%2").arg(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
}

void ServiceRequest::addParam(const QString &key, qint64 value)
{
    addParam(key, QString::number(value));
}

void ServiceRequest::addSignIn(const BaseParam &param)
{
    addParam(QStringLiteral("token"), param.getToken());
    addParam(QStringLiteral("user_id"), qint64(param.getUser_id()));
}

void ServiceRequest::setTimeout(int msecs)
{
    gTimeout = msecs > 0 ? msecs : DefaultTimeout;
}

int ServiceRequest::timeout()
{
    return gTimeout;
}

void ServiceRequest::setDeadline(int msecs)
{
    gDeadline = msecs > 0 ? msecs : DefaultDeadline;
}

int ServiceRequest::deadline()
{
    return gDeadline;
}

QString ServiceRequest::redacted(const QString &text)
{
    static const QString keys = QStringLiteral("token|password|old_password");
    QString out = text;
    out.replace(QRegularExpression(QStringLiteral("(\"(?:%1)\"\\s*:\\s*)\"(?:[^\"\\\\]|\\\\.)*\"").arg(keys)),
                QStringLiteral("\\1\"***\""));
    out.replace(QRegularExpression(QStringLiteral("(^|[?&])(%1)=[^&]*").arg(keys)),
                QStringLiteral("\\1\\2=***"));
    return out;
}

void ServiceRequest::prepare(QNetworkRequest &request) const
{
    NetworkSetup::secure(request);
}

int ServiceRequest::sendGet(QString &body)
{
    return execute(Method::Get, &body, nullptr);
}

int ServiceRequest::sendPost(QString &body)
{
    return execute(Method::Post, &body, nullptr);
}

int ServiceRequest::sendHead(qint64 &size)
{
    return execute(Method::Head, nullptr, &size);
}

int ServiceRequest::execute(Method method, QString *body, qint64 *size)
{
    QString target = mUrl;
    if (method == Method::Get && !mParams.isEmpty())
        target += QLatin1Char('?') + mParams;
    QNetworkRequest request{QUrl(target)};
    if (!NetworkSetup::isAllowed(request.url())) {
        qCDebug(lcSornetHttp).noquote() << "refused, not https:" << redacted(target);
        return -1;
    }
    prepare(request);
    qCDebug(lcSornetHttp).noquote() << "Request: " << redacted(target);

    QNetworkAccessManager manager;
    NetworkSetup::useSystemProxy(manager);
    QNetworkReply *reply = nullptr;
    switch (method) {
    case Method::Get:
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        reply = manager.get(request);
        break;
    case Method::Post:
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/x-www-form-urlencoded"));
        reply = manager.post(request, mParams.toLatin1());
        break;
    case Method::Head:
        reply = manager.head(request);
        break;
    }

    // A silent server must not hold a sign-in or a worker forever: any sign
    // of life restarts the clock, silence for the whole limit aborts.
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(timeout());
    bool timedOut = false;
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    // Nor may one that trickles a byte now and then: the whole call has a
    // limit of its own.
    QTimer overall;
    overall.setSingleShot(true);
    overall.setInterval(deadline());
    QObject::connect(&overall, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    const auto alive = [&idle] { idle.start(); };
    // An endless or huge answer must not fill the memory: it ends as soon as
    // it announces, or has brought, more than an answer can be.
    bool tooLarge = false;
    const auto limit = [&tooLarge, reply](qint64 size) {
        if (size > MaxAnswerSize && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &idle, [&, reply] {
        alive();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            limit(length.toLongLong());
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &idle, [&](qint64 received, qint64 total) {
        alive();
        limit(qMax(received, total));
    });
    QObject::connect(reply, &QNetworkReply::uploadProgress, &idle, alive);
    QObject::connect(&manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit);
    idle.start();
    overall.start();
    const int generation = tAbortGeneration;
    tWaiting.append(reply);
    if (!reply->isFinished())
        loop.exec();
    tWaiting.removeOne(reply);
    idle.stop();
    overall.stop();
    const bool aborted = generation != tAbortGeneration;

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (tooLarge) {
        qCDebug(lcSornetHttp) << "failed: the answer is larger than" << MaxAnswerSize << "bytes";
        return -1;
    }
    if (timedOut || aborted || !status.isValid() || isTransportError(reply->error())) {
        qCDebug(lcSornetHttp) << "failed:" << reply->error() << reply->errorString()
                              << (timedOut ? "(timed out)" : aborted ? "(aborted)" : "");
        return -1;
    }
    const QByteArray bytes = method == Method::Head ? QByteArray() : reply->read(MaxAnswerSize + 1);
    if (bytes.size() > MaxAnswerSize) {
        qCDebug(lcSornetHttp) << "failed: the answer is larger than" << MaxAnswerSize << "bytes";
        return -1;
    }
    if (method != Method::Head && isCutShort(*reply, bytes)) {
        qCDebug(lcSornetHttp) << "failed: the body ended after" << bytes.size() << "of"
                              << reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() << "bytes";
        return -1;
    }
    const int code = status.toInt();
    if (code != 200) {
        qCDebug(lcSornetHttp) << "Code: " << code;
        return code;
    }
    if (body) {
        *body = QString::fromUtf8(bytes);
        qCDebug(lcSornetHttp).noquote() << "Code: " << code << "response: " << redacted(*body);
    } else {
        qCDebug(lcSornetHttp) << "Code: " << code;
    }
    if (size) {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            *size = length.toLongLong();
    }
    return code;
}

void ServiceRequest::abortWaiting()
{
    ++tAbortGeneration;
    const QList<QNetworkReply *> waiting = tWaiting;
    for (QNetworkReply *reply : waiting)
        reply->abort();
}

int ServiceRequest::startDownload(qint64 offset, QObject *receiver)
{
    if (!receiver)
        return -1;
    QNetworkRequest request{QUrl(mUrl)};
    if (!NetworkSetup::isAllowed(request.url())) {
        qCDebug(lcSornetHttp).noquote() << "refused, not https:" << redacted(mUrl);
        return -1;
    }
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    if (offset > 0)
        request.setRawHeader("Range", "bytes=" + QByteArray::number(offset) + '-');
    prepare(request);

    // The manager outlives this call; it goes with the finished reply, or
    // with the receiver when that is destroyed first.
    auto *manager = new QNetworkAccessManager;
    NetworkSetup::useSystemProxy(*manager);
    if (receiver->thread() == QThread::currentThread())
        manager->setParent(receiver);
    QNetworkReply *reply = manager->get(request);
    connectByName(manager, SIGNAL(finished(QNetworkReply*)), receiver,
                  {SLOT(onFinished(QNetworkReply*)), SLOT(onFinished())});
    connectByName(reply, SIGNAL(downloadProgress(qint64,qint64)), receiver,
                  {SLOT(onDownloadProgress(qint64,qint64))});
    connectByName(reply, SIGNAL(readyRead()), receiver, {SLOT(onReadyRead())});
    QObject::connect(manager, &QNetworkAccessManager::finished, manager, &QObject::deleteLater);

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return -1;
    qCDebug(lcSornetHttp) << "Code: " << status.toInt();
    return status.toInt();
}
