#pragma once

#include <QByteArray>
#include <QString>

class BaseParam;
class QNetworkRequest;
class QObject;

// One outgoing request to the service: the endpoint URL and the form/query
// text built so far. Every send blocks in a local event loop of the calling
// thread, on a network access manager of its own, so calls from different
// threads never share state.
class ServiceRequest
{
public:
    explicit ServiceRequest(const QString &url);

    // Appends "key=value"; the value is percent-encoded, the key is not.
    void addParam(const QString &key, const QString &value);
    void addParam(const QString &key, qint64 value);
    // "token" and "user_id", which open every signed-in request.
    void addSignIn(const BaseParam &param);

    QString url() const { return mUrl; }
    QString paramText() const { return mParams; }

    // Each returns 200, another HTTP status, or -1 when no usable HTTP
    // answer arrived (refused, TLS failure, dropped, idle or in all too long).
    int sendGet(QString &body);
    int sendPost(QString &body);
    int sendHead(qint64 &size);
    // Ranged GET that does not wait; the receiver's slots get the reply.
    int startDownload(qint64 offset, QObject *receiver);

    // Ends every request the calling thread is waiting for at once (a wait
    // nested in another included); each returns -1.
    static void abortWaiting();

    // Longest silence on a waiting request before it is given up.
    static void setTimeout(int msecs);
    static int timeout();
    static constexpr int DefaultTimeout = 60000;
    // Longest a waiting request may take in all, however steadily its
    // answer trickles in.
    static void setDeadline(int msecs);
    static int deadline();
    static constexpr int DefaultDeadline = 180000;
    // The most an answer may hold: the largest real one (a product's
    // software list) is far below. Anything longer is no answer (-1),
    // stopped as soon as its length is announced or has arrived.
    static constexpr qint64 MaxAnswerSize = 4 * 1024 * 1024;

    // Log text with token and password values replaced by "***".
    static QString redacted(const QString &text);

private:
    enum class Method { Get, Post, Head };
    int execute(Method method, QString *body, qint64 *size);
    void prepare(QNetworkRequest &request) const;

    QString mUrl;
    QString mParams;
};
