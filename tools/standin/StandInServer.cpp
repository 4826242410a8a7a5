#include "StandInServer.h"

#include "AccountStore.h"
#include "FileStore.h"
#include "LineLimit.h"
#include "ProductCatalogue.h"
#include "RequestLog.h"
#include "ServiceApi.h"

#include <httplib.h>

#include <sys/socket.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Enough workers that stalled transfers, which each hold one until they are
// released, never starve the rest.
const size_t WorkerThreads = 64;
const size_t SendPiece = 64 * 1024;
const int ListenBacklog = 256;

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

// The query exactly as the client wrote it, without the '?'.
QString rawQuery(const httplib::Request &req)
{
    const std::string::size_type q = req.target.find('?');
    return q == std::string::npos ? QString() : qs(req.target.substr(q + 1));
}

// The Host header goes into the download addresses handed out; anything
// but a plain host and port is not repeated back.
QString hostOf(const httplib::Request &req, int port)
{
    static const QRegularExpression plain(
        QStringLiteral("^([A-Za-z0-9.-]+|\\[[0-9A-Fa-f:.]+\\])(:[0-9]{1,5})?$"));
    const QString host = qs(req.get_header_value("Host"));
    return plain.match(host).hasMatch() ? host : QStringLiteral("127.0.0.1:") + QString::number(port);
}

QByteArray htmlEscape(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;")).toUtf8();
}

QByteArray page(const QByteArray &title, const QByteArray &body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title
        + "</title></head>\n<body>\n<h1>" + title + "</h1>\n" + body + "</body></html>\n";
}

// "bytes=a-b", "bytes=a-" or "bytes=-n" against a size. Returns false when
// the header is not a single byte range (it is then ignored and the whole
// file is sent); *satisfiable tells whether the range meets the file.
bool parseRange(const QString &header, qint64 size, qint64 *first, qint64 *last, bool *satisfiable)
{
    const QString h = header.trimmed();
    if (!h.startsWith(QLatin1String("bytes=")) || h.contains(QLatin1Char(',')))
        return false;
    const QString spec = h.mid(6).trimmed();
    const int dash = spec.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return false;
    const QString a = spec.left(dash).trimmed();
    const QString b = spec.mid(dash + 1).trimmed();
    bool okA = true;
    bool okB = true;
    if (a.isEmpty()) {
        const qint64 suffix = b.toLongLong(&okB);
        if (!okB || suffix < 0)
            return false;
        *satisfiable = suffix > 0 && size > 0;
        *first = qMax<qint64>(0, size - suffix);
        *last = size - 1;
        return true;
    }
    *first = a.toLongLong(&okA);
    *last = b.isEmpty() ? size - 1 : b.toLongLong(&okB);
    if (!okA || !okB || *first < 0 || (!b.isEmpty() && *last < *first))
        return false;
    *last = qMin(*last, size - 1);
    *satisfiable = *first < size;
    return true;
}

// "Sun, 06 Nov 1994 08:49:37 GMT"
std::string httpDate(const QDateTime &time)
{
    return QLocale::c()
        .toString(time.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
        .toStdString();
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Status " + QByteArray::number(status);
    }
}

} // namespace

StandInServer::StandInServer(const Options &options)
    : mOptions(options)
{
}

StandInServer::~StandInServer() = default;

bool StandInServer::setUp(QString *error)
{
    QString fixtureDir;
    if (!mOptions.fixture.isEmpty()) {
        QFile f(mOptions.fixture);
        if (!f.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read fixture ") + mOptions.fixture;
            return false;
        }
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
        if (!doc.isObject()) {
            *error = QStringLiteral("fixture is not a JSON object: ") + parseError.errorString()
                + QStringLiteral(" at offset ") + QString::number(parseError.offset);
            return false;
        }
        mFixture = doc.object();
        fixtureDir = QFileInfo(mOptions.fixture).absolutePath();
    }

    mFiles = std::make_unique<FileStore>(mFixture, fixtureDir, mOptions.filesDir);
    if (!mFiles->errors().isEmpty()) {
        *error = mFiles->errors().join(QLatin1Char('\n'));
        return false;
    }
    mAccounts = std::make_unique<AccountStore>(mFixture);
    mCatalogue = std::make_unique<ProductCatalogue>(mFixture, mFiles.get());
    mApi = std::make_unique<ServiceApi>(mAccounts.get(), mCatalogue.get());
    mLog = std::make_unique<RequestLog>(mOptions.logFile);
    if (!mOptions.logFile.isEmpty() && !mLog->isFileOpen()) {
        *error = QStringLiteral("cannot write log ") + mOptions.logFile;
        return false;
    }
    QString why;
    loadFixtureFaults(&why);
    if (!why.isEmpty()) {
        *error = QStringLiteral("fixture fault: ") + why;
        return false;
    }

    mTls = !mOptions.certFile.isEmpty();
    if (mTls) {
        auto ssl = std::make_unique<httplib::SSLServer>(mOptions.certFile.toLocal8Bit().constData(),
                                                        mOptions.keyFile.toLocal8Bit().constData());
        if (!ssl->is_valid()) {
            *error = QStringLiteral("cannot use certificate ") + mOptions.certFile + QStringLiteral(" / key ")
                + mOptions.keyFile;
            return false;
        }
        mServer = std::move(ssl);
    } else {
        mServer = std::make_unique<httplib::Server>();
    }
    mServer->new_task_queue = [] { return new httplib::ThreadPool(WorkerThreads); };
    // The HTTP layer's default lets a second server share a port that is in
    // use (SO_REUSEPORT); a busy --port must fail instead.
    mServer->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    const auto handler = [this](const httplib::Request &req, httplib::Response &res) { dispatch(req, res); };
    mServer->Get(".*", handler);
    mServer->Post(".*", handler);
    mServer->Put(".*", handler);
    mServer->Delete(".*", handler);
    mServer->Patch(".*", handler);
    mServer->Options(".*", handler);
    // A request without Content-Length or chunked coding has no body; the
    // HTTP layer would wait for the connection to close instead (a bare
    // "curl -X POST" then never got an answer). Such requests are answered
    // before it starts reading.
    mServer->set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        const bool bodyless = !req.has_header("Content-Length") && !req.has_header("Transfer-Encoding");
        if (!bodyless || req.method == "GET" || req.method == "HEAD" || req.method == "OPTIONS")
            return httplib::Server::HandlerResponse::Unhandled;
        dispatch(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });

    // A whole batch opens its connections at once; the HTTP layer listens
    // with a backlog of 5, which made some wait a second for a retry. The
    // socket is caught as it is made, to listen again with a longer one.
    int listener = -1;
    mServer->set_socket_options([&listener](socket_t sock) {
        // Reused address only: a port another server holds is refused, not
        // shared.
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        listener = sock;
    });
    if (mOptions.port > 0) {
        if (!mServer->bind_to_port("127.0.0.1", mOptions.port)) {
            *error = QStringLiteral("cannot bind to port ") + QString::number(mOptions.port);
            return false;
        }
        mPort = mOptions.port;
    } else {
        mPort = mServer->bind_to_any_port("127.0.0.1");
        if (mPort <= 0) {
            *error = QStringLiteral("cannot bind to a free port");
            return false;
        }
    }
    if (listener >= 0)
        ::listen(listener, ListenBacklog);
    if (mOptions.rateLimit > 0)
        mLine = std::make_unique<LineLimit>(mOptions.rateLimit);
    return true;
}

bool StandInServer::run()
{
    const bool ok = mStopping || mServer->listen_after_bind();
    mRunFinished = true;
    return ok || mStopping;
}

void StandInServer::stop()
{
    {
        std::lock_guard<std::mutex> lock(mWaitMutex);
        mStopping = true;
    }
    mWaitCondition.notify_all();
    if (!mServer)
        return;
    // A stop that arrives before the listener is up would be lost (the HTTP
    // layer ignores it), so wait for the listener or for run() to give up.
    while (!mServer->is_running() && !mRunFinished)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    mServer->stop();
}

void StandInServer::waitForRelease()
{
    std::unique_lock<std::mutex> lock(mWaitMutex);
    const quint64 generation = mReleaseGeneration;
    mWaitCondition.wait(lock, [&] { return mStopping.load() || mReleaseGeneration != generation; });
}

void StandInServer::pause(int ms)
{
    std::unique_lock<std::mutex> lock(mWaitMutex);
    const quint64 generation = mReleaseGeneration;
    mWaitCondition.wait_for(lock, std::chrono::milliseconds(ms),
                            [&] { return mStopping.load() || mReleaseGeneration != generation; });
}

void StandInServer::loadFixtureFaults(QString *error)
{
    mFaults.clear();
    const QJsonArray faults = mFixture.value(QStringLiteral("faults")).toArray();
    for (const QJsonValue &fault : faults) {
        if (!mFaults.add(fault.toObject(), error))
            return;
    }
}

void StandInServer::resetState()
{
    QString unused; // the fixture's rules were checked at start-up
    loadFixtureFaults(&unused);
    mAccounts->reset();
    mCatalogue->reset();
    mFiles->reset();
    mLog->clear();
    {
        std::lock_guard<std::mutex> lock(mWaitMutex);
        ++mReleaseGeneration;
    }
    mWaitCondition.notify_all();
}

QJsonObject StandInServer::headersJson(const httplib::Request &req)
{
    QJsonObject headers;
    for (const auto &h : req.headers) {
        // The HTTP layer files the peer's addresses among the headers.
        if (h.first == "REMOTE_ADDR" || h.first == "REMOTE_PORT" || h.first == "LOCAL_ADDR"
            || h.first == "LOCAL_PORT")
            continue;
        const QString name = qs(h.first);
        const QString value = qs(h.second);
        const QString before = headers.value(name).toString();
        headers.insert(name, before.isEmpty() ? value : before + QStringLiteral(", ") + value);
    }
    return headers;
}

StandInServer::Reply StandInServer::textReply(int status, const QByteArray &body, const char *contentType)
{
    Reply r;
    r.status = status;
    r.contentType = contentType;
    r.body = FileStore::share(body);
    r.length = size_t(body.size());
    return r;
}

StandInServer::Reply StandInServer::jsonReply(int status, const QJsonObject &body)
{
    return textReply(status, QJsonDocument(body).toJson(QJsonDocument::Compact), "application/json; charset=utf-8");
}

void StandInServer::dispatch(const httplib::Request &req, httplib::Response &res)
{
    // Ranges are answered here, exactly; the HTTP layer must not apply them
    // a second time to what this server sends.
    const_cast<httplib::Request &>(req).ranges.clear();

    const QString path = qs(req.path);
    if (path.startsWith(QLatin1String("/control/"))) {
        control(req, res);
        return;
    }

    QJsonObject entry;
    entry.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    entry.insert(QStringLiteral("method"), qs(req.method));
    entry.insert(QStringLiteral("path"), path);
    entry.insert(QStringLiteral("query"), rawQuery(req));
    const QByteArray body = QByteArray::fromStdString(req.body);
    const QString text = QString::fromUtf8(body);
    entry.insert(QStringLiteral("body"), text);
    if (text.toUtf8() != body) // not UTF-8: keep the exact bytes too
        entry.insert(QStringLiteral("body_base64"), QString::fromLatin1(body.toBase64()));
    entry.insert(QStringLiteral("headers"), headersJson(req));
    const int seq = mLog->add(entry);

    FaultRules::Fault fault;
    const bool faulty = mFaults.take(qs(req.method), path, &fault);
    if (faulty && (fault.chunked || fault.closeDelimited)) // a compressed stream would make the byte counts of faults meaningless
        const_cast<httplib::Request &>(req).headers.erase("Accept-Encoding");
    if (faulty && fault.hang)
        waitForRelease();
    else if (faulty && fault.delayMs > 0)
        pause(fault.delayMs);

    const Reply reply = route(req, faulty ? &fault : nullptr);
    send(reply, faulty ? &fault : nullptr, res);
    mLog->finish(seq, reply.status, faulty ? fault.spec : QJsonObject());
    if (mOptions.verbose)
        std::fprintf(stderr, "%s %s -> %d\n", req.method.c_str(), req.target.c_str(), reply.status);
}

StandInServer::Reply StandInServer::route(const httplib::Request &req, const FaultRules::Fault *fault)
{
    const QString path = qs(req.path);
    if (fault && !fault->redirect.isEmpty()) {
        Reply moved = textReply(fault->status ? fault->status : 302, "Moved\n", "text/plain; charset=utf-8");
        moved.headers.emplace_back("Location", fault->redirect.toStdString());
        return moved;
    }
    if (fault && fault->status)
        return textReply(fault->status, reasonPhrase(fault->status) + '\n',
                         "text/plain; charset=utf-8");
    if (fault && fault->malformed)
        return textReply(200, R"({"code":1,"message":"Success","success":tr)", "application/json; charset=utf-8");
    if (fault && fault->hasCode)
        return jsonReply(200, ServiceApi::envelope(ApiResult::fail(fault->code), fault->message));

    if (path.startsWith(QLatin1String("/KvaApi/")))
        return serviceReply(req, path.mid(8));
    if (path.startsWith(QLatin1String("/files/")))
        return fileReply(req, path.mid(7), fault);
    return pageReply(path, rawQuery(req));
}

StandInServer::Reply StandInServer::serviceReply(const httplib::Request &req, const QString &endpoint)
{
    // GET endpoints read the query, POST endpoints the form body.
    const QHash<QString, QString> params = ServiceApi::parseForm(
        req.method == "POST" ? QByteArray::fromStdString(req.body) : rawQuery(req).toUtf8());
    const QString fileBase = (mTls ? QStringLiteral("https://") : QStringLiteral("http://")) + hostOf(req, mPort)
        + QLatin1Char('/');
    const ServiceApi::Answer answer = mApi->handle(qs(req.method), endpoint, params, fileBase);
    if (answer.status != 200)
        return textReply(answer.status, reasonPhrase(answer.status) + '\n',
                         "text/plain; charset=utf-8");
    return jsonReply(200, answer.body);
}

StandInServer::Reply StandInServer::fileReply(const httplib::Request &req, const QString &name,
                                              const FaultRules::Fault *fault)
{
    if (req.method != "GET" && req.method != "HEAD")
        return textReply(405, "Method Not Allowed\n", "text/plain; charset=utf-8");
    const FileStore::Version version = mFiles->version(name);
    const FileStore::Content &content = version.content;
    if (!content)
        return textReply(404, "Not Found\n", "text/plain; charset=utf-8");
    const qint64 size = qint64(content->size());
    const bool validators = !(fault && fault->noValidators);
    const std::string etag = version.etag.toStdString();
    const std::string modified = httpDate(version.modified);
    const auto addHeaders = [&](Reply &r) {
        r.headers.emplace_back("Accept-Ranges", "bytes");
        if (validators) {
            r.headers.emplace_back("ETag", etag);
            r.headers.emplace_back("Last-Modified", modified);
        }
    };
    Reply r;
    r.contentType = name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) ? "application/zip"
                                                                              : "application/octet-stream";
    r.body = content;
    r.offset = 0;
    r.length = size_t(size);
    addHeaders(r);

    // If-Range: the range only while the client's validator still names
    // this version (an ETag compared strongly, a date exactly); else the
    // whole file.
    bool rangeApplies = req.has_header("Range") && !(fault && fault->ignoreRange);
    if (rangeApplies && req.has_header("If-Range")) {
        const std::string ifRange = req.get_header_value("If-Range");
        rangeApplies = validators && (ifRange == etag || ifRange == modified);
    }
    qint64 first = 0;
    qint64 last = 0;
    bool satisfiable = false;
    if (!rangeApplies || !parseRange(qs(req.get_header_value("Range")), size, &first, &last, &satisfiable))
        return r;
    if (!satisfiable || (fault && fault->refuseRange)) {
        // No body: a client that appends whatever arrives must not
        // find an error text in its partial file.
        Reply refused = textReply(416, QByteArray(), "application/octet-stream");
        addHeaders(refused);
        refused.headers.emplace_back("Content-Range", "bytes */" + std::to_string(size));
        return refused;
    }
    if (fault && fault->rangeShift)
        first = qBound<qint64>(0, first + fault->rangeShift, last);
    r.status = 206;
    r.offset = size_t(first);
    r.length = size_t(last - first + 1);
    if (!(fault && fault->omitContentRange))
        r.headers.emplace_back("Content-Range", "bytes " + std::to_string(first) + '-' + std::to_string(last) + '/'
                                                    + std::to_string(size));
    return r;
}

StandInServer::Reply StandInServer::pageReply(const QString &path, const QString &query)
{
    if (path == QLatin1String("/complain-add")) {
        const QHash<QString, QString> params = ServiceApi::parseForm(query.toUtf8());
        const QByteArray body = "<p>Token: <span id=\"token\">" + htmlEscape(params.value(QStringLiteral("token")))
            + "</span></p>\n<p>User id: <span id=\"user_id\">"
            + htmlEscape(params.value(QStringLiteral("user_id"))) + "</span></p>\n"
            + "<form method=\"post\" action=\"complain-add\"><textarea name=\"content\"></textarea>"
              "<button type=\"submit\">Submit</button></form>\n";
        return textReply(200, page("Complaint", body), "text/html; charset=utf-8");
    }
    if (path == QLatin1String("/forget.html"))
        return textReply(200, page("Retrieve Password", "<p>Enter the e-mail address of your account.</p>\n"),
                         "text/html; charset=utf-8");
    if (path == QLatin1String("/registration-agreement.html"))
        return textReply(200, page("Conditions of Use and Privacy Notice",
                                   "<p>Stand-in terms for local testing.</p>\n"),
                         "text/html; charset=utf-8");
    return textReply(404, "Not Found\n", "text/plain; charset=utf-8");
}

void StandInServer::send(const Reply &reply, const FaultRules::Fault *fault, httplib::Response &res)
{
    res.status = reply.status;
    for (const auto &h : reply.headers)
        res.set_header(h.first.c_str(), h.second);
    if (reply.length == 0) {
        res.set_content(std::string(), reply.contentType.c_str());
        return;
    }
    const qint64 stallAfter = fault ? fault->stallAfter : -1;
    const qint64 dropAfter = fault ? fault->dropAfter : -1;
    const size_t piece = fault && fault->chunkSize > 0 ? size_t(fault->chunkSize) : SendPiece;
    const int pieceDelay = fault ? fault->chunkDelayMs : 0;
    const FileStore::Content body = reply.body;
    const size_t base = reply.offset;
    // Sends the next piece from offset (counted within this answer's body).
    const auto feed = [this, body, base, stallAfter, dropAfter, piece, pieceDelay](
                          size_t offset, size_t remaining, httplib::DataSink &sink) {
        size_t n = std::min(remaining, piece);
        if (dropAfter >= 0) {
            if (qint64(offset) >= dropAfter)
                return false; // closes the connection mid-body
            n = std::min(n, size_t(dropAfter - qint64(offset)));
        }
        if (stallAfter >= 0) {
            if (qint64(offset) >= stallAfter) {
                // Silent but open until a reset or the end of the run.
                waitForRelease();
                return false;
            }
            n = std::min(n, size_t(stallAfter - qint64(offset)));
        }
        if (pieceDelay > 0 && offset > 0)
            pause(pieceDelay);
        if (mStopping || (mLine && !mLine->take(qint64(n), mStopping)))
            return false;
        return sink.write(body->data() + base + offset, n);
    };
    if (fault && fault->chunked) {
        // No Content-Length: the client learns the size only at the end.
        const size_t total = reply.length;
        res.set_chunked_content_provider(reply.contentType.c_str(),
                                         [feed, total](size_t offset, httplib::DataSink &sink) {
                                             if (offset < total)
                                                 return feed(offset, total - offset, sink);
                                             sink.done();
                                             return true;
                                         });
        return;
    }
    if (fault && fault->closeDelimited) {
        // Neither a length nor chunks: only the closed connection ends the
        // body, so a body cut short looks just like a whole one.
        const size_t total = reply.length;
        res.set_content_provider(reply.contentType.c_str(), [feed, total](size_t offset, httplib::DataSink &sink) {
            if (offset < total)
                return feed(offset, total - offset, sink);
            sink.done();
            return true;
        });
        return;
    }
    if (fault && fault->announceLength >= 0) {
        // A lying length: the body as it is, then the connection closes.
        const size_t total = reply.length;
        res.set_content_provider(size_t(fault->announceLength), reply.contentType.c_str(),
                                 [feed, total](size_t offset, size_t remaining, httplib::DataSink &sink) {
                                     return offset < total && feed(offset, std::min(remaining, total - offset), sink);
                                 });
        return;
    }
    res.set_content_provider(reply.length, reply.contentType.c_str(), feed);
}

void StandInServer::control(const httplib::Request &req, httplib::Response &res)
{
    const QString path = qs(req.path);
    const bool post = req.method == "POST";
    const auto answer = [&res](int status, const QJsonObject &body) {
        res.status = status;
        res.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json; charset=utf-8");
    };
    const auto okBody = [] { return QJsonObject{{QStringLiteral("ok"), true}}; };
    const auto failBody = [](const QString &why) {
        return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), why}};
    };

    if (path == QLatin1String("/control/log") && req.method == "GET") {
        res.status = 200;
        res.set_content(QJsonDocument(mLog->entries()).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json; charset=utf-8");
        return;
    }
    if (path == QLatin1String("/control/faults") && req.method == "GET") {
        res.status = 200;
        res.set_content(QJsonDocument(mFaults.list()).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json; charset=utf-8");
        return;
    }
    if (!post) {
        answer(405, failBody(QStringLiteral("control requests are POST")));
        return;
    }
    if (path == QLatin1String("/control/log/clear")) {
        mLog->clear();
        answer(200, okBody());
        return;
    }
    if (path == QLatin1String("/control/faults/clear")) {
        mFaults.clear();
        answer(200, okBody());
        return;
    }
    if (path == QLatin1String("/control/reset")) {
        resetState();
        answer(200, okBody());
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(req.body), &parseError);
    if (path == QLatin1String("/control/fault")) {
        QJsonArray specs;
        if (doc.isArray())
            specs = doc.array();
        else if (doc.isObject())
            specs.append(doc.object());
        else {
            answer(400, failBody(QStringLiteral("body is not JSON: ") + parseError.errorString()));
            return;
        }
        // All or nothing: a bad rule in a list adds none of them.
        for (const QJsonValue &spec : qAsConst(specs)) {
            FaultRules::Fault unused;
            QString why;
            if (!FaultRules::parse(spec.toObject(), &unused, &why)) {
                answer(400, failBody(why));
                return;
            }
        }
        for (const QJsonValue &spec : qAsConst(specs)) {
            QString why;
            mFaults.add(spec.toObject(), &why);
        }
        answer(200, okBody());
        return;
    }
    if (path == QLatin1String("/control/replace-file")) {
        const QJsonObject o = doc.object();
        const QString name = o.value(QStringLiteral("name")).toString();
        QByteArray data;
        if (o.contains(QStringLiteral("base64"))) {
            data = QByteArray::fromBase64(o.value(QStringLiteral("base64")).toString().toLatin1());
        } else if (o.contains(QStringLiteral("path"))) {
            QFile f(o.value(QStringLiteral("path")).toString());
            if (!f.open(QIODevice::ReadOnly)) {
                answer(400, failBody(QStringLiteral("cannot read ") + f.fileName()));
                return;
            }
            data = f.readAll();
        } else {
            answer(400, failBody(QStringLiteral("need \"base64\" or \"path\"")));
            return;
        }
        if (!mFiles->replace(name, data)) {
            answer(400, failBody(QStringLiteral("not a plain file name: ") + name));
            return;
        }
        answer(200, okBody());
        return;
    }
    answer(404, failBody(QStringLiteral("unknown control request")));
}
