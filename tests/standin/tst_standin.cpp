#include "StandInService.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <QElapsedTimer>
#include <QtTest>

#include <thread>

#include <zip.h>

namespace {

struct Fetched
{
    int status = -1;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray body;
    QHash<QByteArray, QByteArray> headers;
};

QString md5(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

// Every entry of an archive by name; reading checks each entry's CRC.
// Empty when the archive cannot be read.
QMap<QString, QByteArray> unzip(const QByteArray &archive)
{
    QMap<QString, QByteArray> out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *src = zip_source_buffer_create(archive.constData(), zip_uint64_t(archive.size()), 0, &error);
    zip_t *za = src ? zip_open_from_source(src, ZIP_CHECKCONS | ZIP_RDONLY, &error) : nullptr;
    if (!za) {
        zip_source_free(src);
        return out;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_file_t *f = zip_stat_index(za, zip_uint64_t(i), 0, &st) == 0 ? zip_fopen_index(za, zip_uint64_t(i), 0)
                                                                           : nullptr;
        QByteArray data(f ? int(st.size) : 0, Qt::Uninitialized);
        const bool ok = f && zip_fread(f, data.data(), st.size) == zip_int64_t(st.size) && zip_fclose(f) == 0;
        if (!ok) {
            zip_close(za);
            return {};
        }
        out.insert(QString::fromUtf8(st.name), data);
    }
    zip_close(za);
    return out;
}

using Pairs = std::initializer_list<std::pair<const char *, QString>>;

QUrlQuery form(Pairs pairs)
{
    QUrlQuery q;
    for (const auto &p : pairs)
        q.addQueryItem(QLatin1String(p.first), p.second);
    return q;
}

// Signed in as the fixture's first user.
QUrlQuery alice(Pairs more)
{
    QUrlQuery q = form({{"token", QStringLiteral("token-alice")}, {"user_id", QStringLiteral("1001")}});
    for (const auto &p : more)
        q.addQueryItem(QLatin1String(p.first), p.second);
    return q;
}

} // namespace

// The stand-in service as later tests rely on it: exact range answers,
// faults, the request log, token and password checks, its account and
// product state, the archives it builds, TLS and its lifetime.
class StandInTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void ranges_data();
    void ranges();
    void headGivesSize();
    void chunkedAnswerHasNoLength();
    void dropClosesAfterBytes();
    void stallKeepsConnectionSilent();
    void hangHoldsTheAnswer();
    void faultsApplyOnce_data();
    void faultsApplyOnce();
    void badFaultIsRefused();
    void logKeepsRawRequest();
    void logFileHasOneLinePerRequest();
    void pages_data();
    void pages();
    void tokenChecked_data();
    void tokenChecked();
    void loginComparesDigest_data();
    void loginComparesDigest();
    void registrationNeedsSentCode();
    void resetRestoresFixture();
    void singleVehicleConfiguration();
    void downloadedArchiveIsValidZip();
    void replaceFileServesNewContent();
    void oddFieldsSentAsWritten();
    void demoArchivesFitTheCard();
    void filesFromFolder();
    void https();
    void rateLimitIsOneLine();
    void lifetime();

private:
    Fetched fetch(const QByteArray &method, const QUrl &url, const QList<QPair<QByteArray, QByteArray>> &headers = {},
                  const QByteArray &body = QByteArray(), const QSslConfiguration *ssl = nullptr);
    Fetched get(const QString &pathAndQuery, const QList<QPair<QByteArray, QByteArray>> &headers = {});
    QJsonObject api(const QByteArray &method, const QString &endpoint, const QUrlQuery &params);
    QJsonArray softwareList(const QString &serial);
    QByteArray rawExchange(const QByteArray &request);
    static int code(const QJsonObject &answer) { return answer.value(QStringLiteral("code")).toInt(); }

    StandInService mService;
    QByteArray mRangeFile;
};

Fetched StandInTest::fetch(const QByteArray &method, const QUrl &url,
                           const QList<QPair<QByteArray, QByteArray>> &headers, const QByteArray &body,
                           const QSslConfiguration *ssl)
{
    QNetworkAccessManager manager;
    QNetworkRequest req(url);
    for (const auto &h : headers)
        req.setRawHeader(h.first, h.second);
    if (ssl)
        req.setSslConfiguration(*ssl);
    // A custom "HEAD" verb would make Qt wait for a body that never comes.
    QNetworkReply *reply = method == "HEAD" ? manager.head(req) : manager.sendCustomRequest(req, method, body);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
    Fetched f;
    f.error = reply->error();
    f.body = reply->readAll();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    f.status = status.isValid() ? status.toInt() : -1;
    for (const auto &pair : reply->rawHeaderPairs())
        f.headers.insert(pair.first.toLower(), pair.second);
    delete reply;
    return f;
}

Fetched StandInTest::get(const QString &pathAndQuery, const QList<QPair<QByteArray, QByteArray>> &headers)
{
    return fetch("GET", mService.baseUrl().resolved(QUrl(pathAndQuery)), headers);
}

QJsonObject StandInTest::api(const QByteArray &method, const QString &endpoint, const QUrlQuery &params)
{
    QUrl url = mService.serviceUrl().resolved(QUrl(endpoint));
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    if (method == "GET") {
        url.setQuery(params);
    } else {
        body = params.query(QUrl::FullyEncoded).toLatin1();
        headers.append(qMakePair(QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/x-www-form-urlencoded")));
    }
    const Fetched f = fetch(method, url, headers, body);
    if (f.status != 200)
        return QJsonObject{{QStringLiteral("http"), f.status}};
    return QJsonDocument::fromJson(f.body).object();
}

void StandInTest::initTestCase()
{
    QVERIFY(mService.start());
    const Fetched whole = get(QStringLiteral("/files/range.bin"));
    QCOMPARE(whole.status, 200);
    QCOMPARE(whole.body.size(), 100000);
    mRangeFile = whole.body;
}

void StandInTest::init()
{
    QVERIFY(mService.reset());
}

void StandInTest::ranges_data()
{
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<bool>("ignoreRange");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contentRange");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("length");

    QTest::newRow("no range") << QByteArray() << false << 200 << QByteArray() << 0 << 100000;
    QTest::newRow("open-ended resume") << QByteArrayLiteral("bytes=1000-") << false << 206
                                       << QByteArrayLiteral("bytes 1000-99999/100000") << 1000 << 99000;
    QTest::newRow("closed") << QByteArrayLiteral("bytes=10-19") << false << 206
                            << QByteArrayLiteral("bytes 10-19/100000") << 10 << 10;
    QTest::newRow("suffix") << QByteArrayLiteral("bytes=-100") << false << 206
                            << QByteArrayLiteral("bytes 99900-99999/100000") << 99900 << 100;
    QTest::newRow("end past size is cut") << QByteArrayLiteral("bytes=99990-200000") << false << 206
                                          << QByteArrayLiteral("bytes 99990-99999/100000") << 99990 << 10;
    QTest::newRow("last byte") << QByteArrayLiteral("bytes=99999-") << false << 206
                               << QByteArrayLiteral("bytes 99999-99999/100000") << 99999 << 1;
    QTest::newRow("start at size") << QByteArrayLiteral("bytes=100000-") << false << 416
                                   << QByteArrayLiteral("bytes */100000") << 0 << 0;
    QTest::newRow("start past size") << QByteArrayLiteral("bytes=500000-") << false << 416
                                     << QByteArrayLiteral("bytes */100000") << 0 << 0;
    QTest::newRow("ignore_range") << QByteArrayLiteral("bytes=1000-") << true << 200 << QByteArray() << 0 << 100000;
}

void StandInTest::ranges()
{
    QFETCH(QByteArray, range);
    QFETCH(bool, ignoreRange);
    QFETCH(int, status);
    QFETCH(QByteArray, contentRange);
    QFETCH(int, from);
    QFETCH(int, length);

    if (ignoreRange)
        QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/range.bin")},
                                   {QStringLiteral("ignore_range"), true}}));
    QList<QPair<QByteArray, QByteArray>> headers;
    if (!range.isEmpty())
        headers.append(qMakePair(QByteArrayLiteral("Range"), range));
    const Fetched f = get(QStringLiteral("/files/range.bin"), headers);
    QCOMPARE(f.status, status);
    QCOMPARE(f.headers.value("accept-ranges"), QByteArrayLiteral("bytes"));
    QCOMPARE(f.headers.value("content-range"), contentRange);
    QCOMPARE(f.body.size(), length);
    QVERIFY(f.body == mRangeFile.mid(from, length));
}

void StandInTest::headGivesSize()
{
    const Fetched head = fetch("HEAD", mService.fileUrl(QStringLiteral("range.bin")));
    QCOMPARE(head.status, 200);
    QCOMPARE(head.headers.value("content-length"), QByteArrayLiteral("100000"));
    QVERIFY(head.body.isEmpty());
    QCOMPARE(fetch("HEAD", mService.fileUrl(QStringLiteral("missing.zip"))).status, 404);
    // Path tricks never leave the served files.
    QCOMPARE(get(QStringLiteral("/files/..%2Fstandin.json")).status, 404);
}

void StandInTest::chunkedAnswerHasNoLength()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/range.bin")},
                               {QStringLiteral("chunked"), true}, {QStringLiteral("chunk_size"), 4000}}));
    const Fetched whole = get(QStringLiteral("/files/range.bin"));
    QCOMPARE(whole.status, 200);
    QVERIFY(!whole.headers.contains("content-length"));
    QCOMPARE(whole.headers.value("transfer-encoding"), QByteArrayLiteral("chunked"));
    QVERIFY(whole.body == mRangeFile);

    const Fetched tail = get(QStringLiteral("/files/range.bin"), {{"Range", "bytes=99000-"}});
    QCOMPARE(tail.status, 206);
    QCOMPARE(tail.headers.value("content-range"), QByteArrayLiteral("bytes 99000-99999/100000"));
    QVERIFY(tail.body == mRangeFile.mid(99000));

    const Fetched head = fetch("HEAD", mService.fileUrl(QStringLiteral("range.bin")));
    QCOMPARE(head.status, 200);
    QVERIFY(!head.headers.contains("content-length"));

    // Neither a length nor chunks: only the server's close ends the body.
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/range.bin")},
                               {QStringLiteral("close_delimited"), true}}));
    const QByteArray raw = rawExchange("GET /files/range.bin HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    const int split = raw.indexOf("\r\n\r\n");
    QVERIFY(split > 0);
    const QByteArray headers = raw.left(split).toLower();
    QVERIFY2(headers.startsWith("http/1.1 200"), headers.constData());
    QVERIFY(!headers.contains("content-length:") && !headers.contains("transfer-encoding:"));
    QVERIFY(raw.mid(split + 4) == mRangeFile);
}

void StandInTest::dropClosesAfterBytes()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/range.bin")},
                               {QStringLiteral("drop_after"), 1000}}));
    // On a raw socket: the network stack of Qt may report a cut body
    // without an error, so what was sent is checked byte by byte.
    const QByteArray raw =
        rawExchange("GET /files/range.bin HTTP/1.1\r\nHost: 127.0.0.1\r\nRange: bytes=5000-\r\n\r\n");
    const int split = raw.indexOf("\r\n\r\n");
    QVERIFY(split > 0);
    const QByteArray head = raw.left(split);
    const QByteArray body = raw.mid(split + 4);
    QVERIFY2(head.startsWith("HTTP/1.1 206"), head.constData());
    QVERIFY(head.contains("Content-Length: 95000\r\n"));
    QVERIFY(head.contains("Content-Range: bytes 5000-99999/100000"));
    QCOMPARE(body.size(), 1000);
    QVERIFY(body == mRangeFile.mid(5000, 1000));
}

void StandInTest::stallKeepsConnectionSilent()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/range.bin")},
                               {QStringLiteral("stall_after"), 500},
                               {QStringLiteral("once"), true}}));
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(mService.fileUrl(QStringLiteral("range.bin"))));
    QByteArray received;
    connect(reply, &QNetworkReply::readyRead, this, [&] { received += reply->readAll(); });
    QTRY_COMPARE(received.size(), 500);
    QVERIFY(!reply->isFinished());
    QCOMPARE(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(), 100000);

    // The stalled transfer holds no one else up, and the rule was used up.
    QCOMPARE(get(QStringLiteral("/files/range.bin")).body.size(), 100000);
    QVERIFY(!reply->isFinished());

    // A reset lets it go: the connection closes with the body unfinished.
    QVERIFY(mService.reset());
    QTRY_VERIFY(reply->isFinished());
    received += reply->readAll();
    QVERIFY(received == mRangeFile.left(500));
    delete reply;
}

void StandInTest::hangHoldsTheAnswer()
{
    const QString path = QStringLiteral("/KvaApi/user/pro_search");
    QVERIFY(mService.setFault({{QStringLiteral("path"), path}, {QStringLiteral("hang"), true},
                               {QStringLiteral("once"), true}}));
    QNetworkAccessManager manager;
    QUrl url = mService.baseUrl().resolved(QUrl(path.mid(1)));
    url.setQuery(QStringLiteral("token=token-alice&user_id=1001"));
    QNetworkReply *reply = manager.get(QNetworkRequest(url));
    // Seen by the server, but not answered: no status yet.
    QTRY_COMPARE(mService.requestsTo(path).size(), 1);
    QVERIFY(!mService.requestsTo(path).at(0).toObject().contains(QStringLiteral("status")));
    QVERIFY(!reply->isFinished());

    QVERIFY(mService.reset());
    QTRY_VERIFY(reply->isFinished());
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QCOMPARE(code(QJsonDocument::fromJson(reply->readAll()).object()), 1);
    delete reply;
}

void StandInTest::faultsApplyOnce_data()
{
    QTest::addColumn<QJsonObject>("fault");
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<int>("code"); // envelope code of the faulty answer, 0 when not JSON

    QTest::newRow("status 500") << QJsonObject{{QStringLiteral("status"), 500}} << 500 << 0;
    QTest::newRow("code -100") << QJsonObject{{QStringLiteral("code"), -100}} << 200 << -100;
    QTest::newRow("malformed") << QJsonObject{{QStringLiteral("malformed"), true}} << 200 << 0;
    QTest::newRow("delay") << QJsonObject{{QStringLiteral("delay_ms"), 50}} << 200 << 1;
}

void StandInTest::faultsApplyOnce()
{
    QFETCH(QJsonObject, fault);
    QFETCH(int, httpStatus);
    QFETCH(int, code);

    const QString path = QStringLiteral("/KvaApi/user/pro_search");
    fault.insert(QStringLiteral("path"), path);
    fault.insert(QStringLiteral("once"), true);
    QVERIFY(mService.setFault(fault));
    const QString query = QStringLiteral("?token=token-alice&user_id=1001");

    const Fetched first = get(path + query);
    QCOMPARE(first.status, httpStatus);
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(first.body, &parseError);
    if (code != 0) {
        QCOMPARE(doc.object().value(QStringLiteral("code")).toInt(), code);
        QCOMPARE(doc.object().value(QStringLiteral("success")).toBool(), code == 1);
    } else {
        QVERIFY(parseError.error != QJsonParseError::NoError || first.body.isEmpty() || httpStatus != 200);
    }

    const Fetched second = get(path + query);
    QCOMPARE(second.status, 200);
    QCOMPARE(QJsonDocument::fromJson(second.body).object().value(QStringLiteral("code")).toInt(), 1);

    const QJsonArray log = mService.requestsTo(path);
    QCOMPARE(log.size(), 2);
    QCOMPARE(log.at(0).toObject().value(QStringLiteral("status")).toInt(), httpStatus);
    QVERIFY(log.at(0).toObject().contains(QStringLiteral("fault")));
    QVERIFY(!log.at(1).toObject().contains(QStringLiteral("fault")));
}

void StandInTest::badFaultIsRefused()
{
    QByteArray answer;
    // A misspelt key must not quietly mean "no fault".
    QCOMPARE(mService.request("POST", QStringLiteral("/control/fault"), R"({"stal_after": 10})", &answer), 400);
    QVERIFY(answer.contains("stal_after"));
    QCOMPARE(mService.request("POST", QStringLiteral("/control/fault"), "not json"), 400);
    QCOMPARE(get(QStringLiteral("/files/range.bin")).body.size(), 100000);
    // A request without a body (no Content-Length, as "curl -X POST" sends
    // it) is answered at once instead of waiting for more.
    const QByteArray reset = rawExchange("POST /control/reset HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    QVERIFY2(reset.startsWith("HTTP/1.1 200"), reset.constData());
}

void StandInTest::logKeepsRawRequest()
{
    const QByteArray body = "user_name=b%2Bc%20d%40x.test&zz=1&aa=%E4%B8%AD";
    fetch("POST", mService.serviceUrl().resolved(QUrl(QStringLiteral("user/check_name"))),
          {{"Content-Type", "application/x-www-form-urlencoded"}, {"X-Probe", "one"}}, body);
    get(QStringLiteral("/KvaApi/user/pro_search?user_id=1001&token=token-alice&b=%20"));
    get(QStringLiteral("/complain-add?token=t&user_id=0"));

    const QJsonArray log = mService.requestLog();
    QCOMPARE(log.size(), 3);
    const QJsonObject post = log.at(0).toObject();
    QCOMPARE(post.value(QStringLiteral("method")).toString(), QStringLiteral("POST"));
    QCOMPARE(post.value(QStringLiteral("path")).toString(), QStringLiteral("/KvaApi/user/check_name"));
    QCOMPARE(post.value(QStringLiteral("body")).toString(), QString::fromLatin1(body));
    const QJsonObject headers = post.value(QStringLiteral("headers")).toObject();
    QCOMPARE(headers.value(QStringLiteral("X-Probe")).toString(), QStringLiteral("one"));
    QCOMPARE(headers.value(QStringLiteral("Content-Type")).toString(),
             QStringLiteral("application/x-www-form-urlencoded"));
    QCOMPARE(post.value(QStringLiteral("status")).toInt(), 200);

    const QJsonObject getEntry = log.at(1).toObject();
    QCOMPARE(getEntry.value(QStringLiteral("query")).toString(),
             QStringLiteral("user_id=1001&token=token-alice&b=%20"));
    QCOMPARE(getEntry.value(QStringLiteral("body")).toString(), QString());
    QVERIFY(getEntry.value(QStringLiteral("seq")).toInt() > post.value(QStringLiteral("seq")).toInt());
    QCOMPARE(mService.requestsTo(QStringLiteral("/complain-add")).size(), 1);

    QVERIFY(mService.clearLog());
    QCOMPARE(mService.requestLog().size(), 0);
}

void StandInTest::logFileHasOneLinePerRequest()
{
    const QString logPath = QDir(qEnvironmentVariable("OSTREL_TEST_TMP", QDir::tempPath()))
                                .filePath(QStringLiteral("standin-requests.jsonl"));
    QFile::remove(logPath);
    StandInService logged;
    QVERIFY(logged.start({QStringLiteral("--log"), logPath}));
    const QByteArray binary("user_name=\xff\xfe\x00z", 14);
    fetch("POST", logged.serviceUrl().resolved(QUrl(QStringLiteral("user/check_name"))),
          {{"Content-Type", "application/x-www-form-urlencoded"}}, binary);
    fetch("GET", logged.webUrl().resolved(QUrl(QStringLiteral("forget.html?x=1"))));
    logged.stop();

    QFile file(logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 3); // two entries and the final line break
    QVERIFY(lines.last().isEmpty());
    const QJsonObject post = QJsonDocument::fromJson(lines.at(0)).object();
    QCOMPARE(post.value(QStringLiteral("path")).toString(), QStringLiteral("/KvaApi/user/check_name"));
    QCOMPARE(QByteArray::fromBase64(post.value(QStringLiteral("body_base64")).toString().toLatin1()), binary);
    QCOMPARE(post.value(QStringLiteral("status")).toInt(), 200);
    const QJsonObject page = QJsonDocument::fromJson(lines.at(1)).object();
    QCOMPARE(page.value(QStringLiteral("path")).toString(), QStringLiteral("/forget.html"));
    QCOMPARE(page.value(QStringLiteral("query")).toString(), QStringLiteral("x=1"));
    QVERIFY(!page.contains(QStringLiteral("body_base64")));
}

void StandInTest::pages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contains");

    QTest::newRow("complaint") << QStringLiteral("/complain-add?token=a%3Cb%22&user_id=42") << 200
                               << QByteArrayLiteral("<span id=\"token\">a&lt;b&quot;</span>");
    QTest::newRow("complaint user id") << QStringLiteral("/complain-add?token=t&user_id=0") << 200
                                       << QByteArrayLiteral("<span id=\"user_id\">0</span>");
    QTest::newRow("password retrieval") << QStringLiteral("/forget.html") << 200 << QByteArrayLiteral("<html>");
    QTest::newRow("terms") << QStringLiteral("/registration-agreement.html") << 200 << QByteArrayLiteral("<html>");
    QTest::newRow("unknown page") << QStringLiteral("/index.php") << 404 << QByteArray();
    QTest::newRow("unknown endpoint") << QStringLiteral("/KvaApi/user/nothing") << 404 << QByteArray();
}

void StandInTest::pages()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, contains);

    const Fetched f = get(path);
    QCOMPARE(f.status, status);
    QVERIFY2(f.body.contains(contains), f.body.constData());
    if (status == 200)
        QVERIFY(f.headers.value("content-type").startsWith("text/html"));
}

void StandInTest::tokenChecked_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("userId");
    QTest::addColumn<int>("code");

    QTest::newRow("right") << QStringLiteral("token-alice") << QStringLiteral("1001") << 1;
    QTest::newRow("wrong token") << QStringLiteral("token-alicE") << QStringLiteral("1001") << -100;
    QTest::newRow("another user's token") << QStringLiteral("token-bob") << QStringLiteral("1001") << -100;
    QTest::newRow("empty token") << QString() << QStringLiteral("1001") << -100;
    QTest::newRow("user id 0") << QStringLiteral("token-alice") << QStringLiteral("0") << -100;
    QTest::newRow("expired") << QStringLiteral("token-expired") << QStringLiteral("1007") << -101;
}

void StandInTest::tokenChecked()
{
    QFETCH(QString, token);
    QFETCH(QString, userId);
    QFETCH(int, code);

    const QUrlQuery q = form({{"token", token}, {"user_id", userId}});
    const QJsonObject products = api("GET", QStringLiteral("user/pro_search"), q);
    QCOMPARE(products.value(QStringLiteral("code")).toInt(), code);
    QCOMPARE(products.value(QStringLiteral("success")).toBool(), code == 1);
    if (code == -100)
        QCOMPARE(products.value(QStringLiteral("message")).toString(),
                 QStringLiteral("User authentication failed!Please login again!"));
    // The user-centre side checks the same way.
    QCOMPARE(StandInTest::code(api("POST", QStringLiteral("user/get_info"), q)), code);
}

void StandInTest::loginComparesDigest_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password"); // as sent
    QTest::addColumn<int>("code");

    QTest::newRow("digest") << QStringLiteral("alice@ostrel.test") << md5(QStringLiteral("alice123")) << 1;
    QTest::newRow("upper-case digest") << QStringLiteral("alice@ostrel.test")
                                       << md5(QStringLiteral("alice123")).toUpper() << 1;
    QTest::newRow("plain password") << QStringLiteral("alice@ostrel.test") << QStringLiteral("alice123") << -1311;
    QTest::newRow("wrong digest") << QStringLiteral("alice@ostrel.test") << md5(QStringLiteral("alice124")) << -1311;
    QTest::newRow("unknown user") << QStringLiteral("nobody@ostrel.test") << md5(QStringLiteral("x")) << -1310;
    QTest::newRow("16-character password") << QStringLiteral("long@ostrel.test")
                                           << md5(QStringLiteral("LongPassword1234")) << 1;
    // Someone whose password is 32 characters long must still send its digest.
    QTest::newRow("32 characters sent as they are") << QStringLiteral("digest@ostrel.test")
                                                    << QStringLiteral("abcdefghijklmnopqrstuvwxyz012345") << -1311;
    QTest::newRow("32 characters as digest") << QStringLiteral("digest@ostrel.test")
                                             << md5(QStringLiteral("abcdefghijklmnopqrstuvwxyz012345")) << 1;
    QTest::newRow("disabled") << QStringLiteral("disabled@ostrel.test") << md5(QStringLiteral("disabled1")) << -1312;
    QTest::newRow("under review") << QStringLiteral("review@ostrel.test") << md5(QStringLiteral("review12")) << -1313;
}

void StandInTest::loginComparesDigest()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, code);

    const QUrlQuery q = form({{"user_name", user}, {"password", password}});
    const QJsonObject answer = api("POST", QStringLiteral("user/login"), q);
    QCOMPARE(answer.value(QStringLiteral("code")).toInt(), code);
    const QJsonObject data = answer.value(QStringLiteral("data")).toObject();
    if (code == 1) {
        QVERIFY(!data.value(QStringLiteral("token")).toString().isEmpty());
        QVERIFY(data.value(QStringLiteral("user_id")).toInt() > 1000);
        QCOMPARE(data.value(QStringLiteral("user_name")).toString(), user);
    } else {
        QVERIFY(data.isEmpty());
    }
    // The user centre refuses GET for its POST endpoints.
    QCOMPARE(api("GET", QStringLiteral("user/login"), q).value(QStringLiteral("http")).toInt(), 405);
}

void StandInTest::registrationNeedsSentCode()
{
    const QString email = QStringLiteral("new.user@ostrel.test");
    const QUrlQuery reg = form({{"user_name", email}, {"password", QStringLiteral("secret99")}, {"email", email},
                                {"country_id", QStringLiteral("0")}, {"yzm", QStringLiteral("1234")}});
    QCOMPARE(code(api("POST", QStringLiteral("user/register"), reg)), -1220);
    QCOMPARE(code(api("POST", QStringLiteral("tools/send_yzm"), form({{"email", email}, {"type", QStringLiteral("1")}}))),
             1);
    QCOMPARE(code(api("POST", QStringLiteral("user/register"), reg)), 1);
    QCOMPARE(code(api("POST", QStringLiteral("user/register"), reg)), -1302);

    const QJsonObject taken = api("POST", QStringLiteral("user/check_name"), form({{"user_name", email}}));
    QCOMPARE(taken.value(QStringLiteral("data")).toBool(), true);
    const QUrlQuery login = form({{"user_name", email}, {"password", md5(QStringLiteral("secret99"))}});
    QCOMPARE(code(api("POST", QStringLiteral("user/login"), login)), 1);
}

void StandInTest::resetRestoresFixture()
{
    const auto bob = [](QUrlQuery q) {
        q.addQueryItem(QStringLiteral("token"), QStringLiteral("token-bob"));
        q.addQueryItem(QStringLiteral("user_id"), QStringLiteral("1002"));
        return q;
    };
    // Changes made during a test: a new password, an edited profile.
    QCOMPARE(code(api("POST", QStringLiteral("user/update_pwd"),
                      bob(form({{"password", QStringLiteral("changed99")},
                                {"old_password", QStringLiteral("bob12345")}})))),
             1);
    QUrlQuery info = bob(form({{"city", QStringLiteral("Lyon")}, {"country_id", QStringLiteral("4")}}));
    for (const char *key : {"address", "company", "email", "fax", "first_name", "last_name", "middle_name",
                            "nick_name", "province", "telphone", "zip"})
        info.addQueryItem(QLatin1String(key), QString());
    QCOMPARE(code(api("POST", QStringLiteral("user/info"), info)), 1);

    QJsonObject profile = api("POST", QStringLiteral("user/get_info"), bob({})).value(QStringLiteral("data")).toObject();
    QCOMPARE(profile.value(QStringLiteral("city")).toString(), QStringLiteral("Lyon"));
    QCOMPARE(profile.value(QStringLiteral("country")).toString(), QStringLiteral("France"));
    // Left empty by the client: the e-mail address is kept, not wiped.
    QCOMPARE(profile.value(QStringLiteral("email")).toString(), QStringLiteral("bob@ostrel.test"));

    QVERIFY(mService.reset());
    profile = api("POST", QStringLiteral("user/get_info"), bob({})).value(QStringLiteral("data")).toObject();
    QCOMPARE(profile.value(QStringLiteral("city")).toString(), QString());
    QCOMPARE(profile.value(QStringLiteral("country")).toString(), QStringLiteral("United States"));
    const QUrlQuery login = form({{"user_name", QStringLiteral("bob@ostrel.test")},
                                  {"password", md5(QStringLiteral("bob12345"))}});
    QCOMPARE(code(api("POST", QStringLiteral("user/login"), login)), 1);
}

QByteArray StandInTest::rawExchange(const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(mService.port()));
    if (!socket.waitForConnected(5000))
        return QByteArray();
    socket.write(request);
    QByteArray raw;
    connect(&socket, &QTcpSocket::readyRead, this, [&] { raw += socket.readAll(); });
    // Every exchange here ends with the server closing the connection.
    if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 10000))
        return QByteArray(); // still open: fails the caller's checks
    return raw + socket.readAll();
}

QJsonArray StandInTest::softwareList(const QString &serial)
{
    return api("GET", QStringLiteral("user/soft_search"),
               alice({{"serial_number", serial}, {"lang_code", QStringLiteral("en")},
                      {"default_lang_code", QStringLiteral("en")}}))
        .value(QStringLiteral("data"))
        .toArray();
}

void StandInTest::singleVehicleConfiguration()
{
    const auto softIds = [this] {
        QStringList ids;
        const QJsonArray list = softwareList(QStringLiteral("SINGLEVEH0001"));
        for (const QJsonValue &v : list)
            ids.append(v.toObject().value(QStringLiteral("soft_id")).toString());
        return ids;
    };
    QCOMPARE(softIds(), (QStringList{QStringLiteral("HOME"), QStringLiteral("Empty")}));

    const QJsonObject lists = api("GET", QStringLiteral("tools/get_allCarsAndLanguages"),
                                  alice({{"lang_name", QStringLiteral("zh")},
                                         {"serial_number", QStringLiteral("SINGLEVEH0001")}}))
                                  .value(QStringLiteral("data"))
                                  .toObject();
    const QJsonArray carList = lists.value(QStringLiteral("carList")).toArray();
    QCOMPARE(carList.size(), 2);
    QCOMPARE(carList.at(0).toObject().value(QStringLiteral("langName")).toString(), QStringLiteral("奥迪"));
    QCOMPARE(lists.value(QStringLiteral("languageList")).toArray().size(), 6);

    const auto choose = [this](const QString &serial) {
        return code(api("POST", QStringLiteral("tools/replaceEmptyCar"),
                        alice({{"serial_number", serial}, {"carId", QStringLiteral("502")},
                               {"languages", QStringLiteral("de,en")}})));
    };
    QCOMPARE(choose(QStringLiteral("SINGLEVEH0001")), 1);
    QCOMPARE(softIds(), (QStringList{QStringLiteral("HOME"), QStringLiteral("VOLVO")}));
    QCOMPARE(choose(QStringLiteral("SINGLEVEH0001")), -1418);
    // A product that is not single-vehicle never needs it.
    QCOMPARE(choose(QStringLiteral("ABCDEFGHIJKLM")), -1418);
}

void StandInTest::downloadedArchiveIsValidZip()
{
    const auto urlFor = [this](const QString &id, const QString &serial) {
        return api("GET", QStringLiteral("soft/download"), alice({{"id", id}, {"serial_number", serial}}));
    };
    const QJsonObject answer = urlFor(QStringLiteral("10"), QStringLiteral("ABCDEFGHIJKLM"));
    QCOMPARE(code(answer), 1);
    const QUrl url(answer.value(QStringLiteral("data")).toObject().value(QStringLiteral("url")).toString());
    QCOMPARE(url, mService.fileUrl(QStringLiteral("benz_V12.30.zip")));
    const Fetched archive = fetch("GET", url);
    QCOMPARE(archive.status, 200);
    // Unknown package ids and foreign serial numbers are refused.
    QCOMPARE(code(urlFor(QStringLiteral("999"), QStringLiteral("ABCDEFGHIJKLM"))), -1421);
    QCOMPARE(code(urlFor(QStringLiteral("10"), QStringLiteral("NOPQRSTUVWXYZ"))), -1401);
    // The client's Host names the address handed out, unless it is not a plain host.
    const auto hostUrl = [this](const QByteArray &host) {
        const QByteArray raw = rawExchange("GET /KvaApi/soft/download?token=token-alice&user_id=1001&id=10"
                                           "&serial_number=ABCDEFGHIJKLM HTTP/1.1\r\nHost: "
                                           + host + "\r\nConnection: close\r\n\r\n");
        return QJsonDocument::fromJson(raw.mid(raw.indexOf("\r\n\r\n") + 4)).object()
            .value(QStringLiteral("data")).toObject().value(QStringLiteral("url")).toString();
    };
    QCOMPARE(hostUrl("localhost:8080"), QStringLiteral("http://localhost:8080/files/benz_V12.30.zip"));
    QCOMPARE(hostUrl("evil\"/><x"), mService.fileUrl(QStringLiteral("benz_V12.30.zip")).toString());

    // The advertised size is the archive's.
    bool found = false;
    const QJsonArray list = softwareList(QStringLiteral("ABCDEFGHIJKLM"));
    for (const QJsonValue &v : list) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("id")).toInt() == 10) {
            found = true;
            QCOMPARE(o.value(QStringLiteral("soft_size")).toString().toLongLong(), qint64(archive.body.size()));
            QCOMPARE(o.value(QStringLiteral("version_history")).toArray().size(), 2);
        }
    }
    QVERIFY(found);

    const QMap<QString, QByteArray> entries = unzip(archive.body);
    QCOMPARE(entries.keys(),
             (QStringList{QStringLiteral("Vehicles/EU/BENZ/"), QStringLiteral("Vehicles/EU/BENZ/BENZ.bin"),
                          QStringLiteral("Vehicles/EU/BENZ/Names.txt"),
                          QStringLiteral("Vehicles/EU/BENZ/Res/Text/BENZ_de.txt"),
                          QStringLiteral("Vehicles/EU/BENZ/Res/Text/BENZ_en.txt"),
                          QStringLiteral("Vehicles/EU/BENZ/version.txt")}));
    QCOMPARE(entries.value(QStringLiteral("Vehicles/EU/BENZ/version.txt")), QByteArrayLiteral("V12.30"));
    QCOMPARE(entries.value(QStringLiteral("Vehicles/EU/BENZ/BENZ.bin")).size(), 8192);

    // Entry times and compression as the fixture says.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *src = zip_source_buffer_create(archive.body.constData(), zip_uint64_t(archive.body.size()), 0, &error);
    zip_t *za = zip_open_from_source(src, ZIP_RDONLY, &error);
    QVERIFY(za);
    zip_stat_t st;
    QCOMPARE(zip_stat(za, "Vehicles/EU/BENZ/version.txt", 0, &st), 0);
    QCOMPARE(QDateTime::fromSecsSinceEpoch(st.mtime), QDateTime(QDate(2024, 6, 1), QTime(8, 30)));
    QCOMPARE(zip_stat(za, "Vehicles/EU/BENZ/BENZ.bin", 0, &st), 0);
    QCOMPARE(st.comp_method, zip_uint16_t(ZIP_CM_DEFLATE));
    zip_close(za);
}

void StandInTest::replaceFileServesNewContent()
{
    QVERIFY(mService.replaceFile(QStringLiteral("range.bin"), QByteArrayLiteral("short")));
    Fetched f = get(QStringLiteral("/files/range.bin"), {{"Range", "bytes=2-"}});
    QCOMPARE(f.status, 206);
    QCOMPARE(f.body, QByteArrayLiteral("ort"));
    QCOMPARE(f.headers.value("content-range"), QByteArrayLiteral("bytes 2-4/5"));
    QVERIFY(mService.replaceFile(QStringLiteral("brand-new.zip"), QByteArrayLiteral("PK")));
    QCOMPARE(get(QStringLiteral("/files/brand-new.zip")).body, QByteArrayLiteral("PK"));
    QVERIFY(!mService.replaceFile(QStringLiteral("../escape"), QByteArrayLiteral("x")));

    QVERIFY(mService.reset());
    QCOMPARE(get(QStringLiteral("/files/range.bin")).body.size(), 100000);
    QCOMPARE(get(QStringLiteral("/files/brand-new.zip")).status, 404);
}

void StandInTest::oddFieldsSentAsWritten()
{
    const QJsonArray list = softwareList(QStringLiteral("ODDFIELDS0001"));
    QCOMPARE(list.size(), 1);
    const QJsonObject odd = list.at(0).toObject();
    QCOMPARE(odd.value(QStringLiteral("id")), QJsonValue(QStringLiteral("77")));
    QCOMPARE(odd.value(QStringLiteral("version")), QJsonValue(3));
    QCOMPARE(odd.value(QStringLiteral("languages")).toArray().at(1), QJsonValue(5));
    const QJsonArray patches = odd.value(QStringLiteral("patch_version")).toArray();
    QCOMPARE(patches.size(), 2);
    QVERIFY(patches.at(0).toObject().contains(QStringLiteral("version_history")));
    QVERIFY(!odd.contains(QStringLiteral("as_is")));
}

void StandInTest::demoArchivesFitTheCard()
{
    StandInService demo(QFileInfo(StandInService::defaultFixture()).absolutePath()
                        + QStringLiteral("/../../../tools/standin/demo.json"));
    QVERIFY(demo.start());
    // The demo sends archives slowly on purpose; a reset keeps that, clearing does not.
    QVERIFY(demo.reset());
    QCOMPARE(demo.requestLog().size(), 0);
    QByteArray rules;
    QCOMPARE(demo.request("GET", QStringLiteral("/control/faults"), QByteArray(), &rules), 200);
    QCOMPARE(QJsonDocument::fromJson(rules).array().size(), 1);
    QVERIFY(demo.clearFaults());
    const auto call = [&](const QByteArray &method, const QString &endpoint, const QUrlQuery &q) {
        QUrl url = demo.serviceUrl().resolved(QUrl(endpoint));
        QByteArray body;
        if (method == "GET")
            url.setQuery(q);
        else
            body = q.query(QUrl::FullyEncoded).toLatin1();
        const Fetched f = fetch(method, url, {{"Content-Type", "application/x-www-form-urlencoded"}}, body);
        return QJsonDocument::fromJson(f.body).object().value(QStringLiteral("data"));
    };
    const QJsonObject login = call("POST", QStringLiteral("user/login"),
                                   form({{"user_name", QStringLiteral("demo@ostrel.test")},
                                         {"password", md5(QStringLiteral("demo1234"))}}))
                                  .toObject();
    QVERIFY(!login.value(QStringLiteral("token")).toString().isEmpty());
    const auto signedIn = [&login](Pairs more) {
        QUrlQuery q = form({{"token", login.value(QStringLiteral("token")).toString()},
                            {"user_id", QString::number(login.value(QStringLiteral("user_id")).toInt())},
                            {"serial_number", QStringLiteral("OSTRELDEMO001")}});
        for (const auto &p : more)
            q.addQueryItem(QLatin1String(p.first), p.second);
        return q;
    };

    QJsonArray packages;
    const QJsonArray top = call("GET", QStringLiteral("user/soft_search"),
                                signedIn({{"lang_code", QStringLiteral("en")},
                                          {"default_lang_code", QStringLiteral("en")}}))
                               .toArray();
    for (const QJsonValue &p : top) {
        packages.append(p);
        for (const char *nested : {"patch_version", "version_history"}) {
            const QJsonArray more = p.toObject().value(QLatin1String(nested)).toArray();
            for (const QJsonValue &m : more)
                packages.append(m);
        }
    }
    QVERIFY(packages.size() >= 8);

    // Every archive unpacks into the layout the card catalogue reads, at the
    // version the service announces.
    for (const QJsonValue &value : qAsConst(packages)) {
        const QJsonObject p = value.toObject();
        const QString softId = p.value(QStringLiteral("soft_id")).toString();
        const QString url = call("GET", QStringLiteral("soft/download"),
                                 signedIn({{"id", QString::number(p.value(QStringLiteral("id")).toInt())}}))
                                .toObject()
                                .value(QStringLiteral("url"))
                                .toString();
        const Fetched archive = fetch("GET", QUrl(url));
        QCOMPARE(archive.status, 200);
        QCOMPARE(QString::number(archive.body.size()), p.value(QStringLiteral("soft_size")).toString());
        const QMap<QString, QByteArray> entries = unzip(archive.body);
        QVERIFY2(!entries.isEmpty(), qPrintable(url));

        // The text library's folder is "Public"; everything else is named by its soft id.
        const QString dir = softId == QLatin1String("COMTXTLIB") ? QStringLiteral("Public") : softId;
        QString base;
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            if (it.key().endsWith(QLatin1Char('/') + dir + QStringLiteral("/version.txt")))
                base = it.key().chopped(11);
        }
        QVERIFY2(!base.isEmpty(), qPrintable(softId));
        QCOMPARE(QString::fromUtf8(entries.value(base + QStringLiteral("version.txt"))),
                 p.value(QStringLiteral("version")).toString());
        const QJsonObject names = QJsonDocument::fromJson(entries.value(base + QStringLiteral("Names.txt"))).object();
        if (names.isEmpty())
            continue; // HOME, the text library and patches carry none
        QCOMPARE(base, QStringLiteral("Vehicles/") + names.value(QStringLiteral("area")).toString()
                           + QLatin1Char('/') + names.value(QStringLiteral("link")).toString() + QLatin1Char('/'));
        QVERIFY(entries.contains(base + softId + QStringLiteral(".bin")));
        const QJsonArray info = names.value(QStringLiteral("info_list")).toArray();
        QVERIFY(!info.isEmpty());
        for (const QJsonValue &entry : info)
            QVERIFY(entries.contains(base + QStringLiteral("Res/Text/")
                                     + entry.toObject().value(QStringLiteral("file")).toString()));
    }
}

void StandInTest::filesFromFolder()
{
    const QDir dir(QDir(qEnvironmentVariable("OSTREL_TEST_TMP", QDir::tempPath()))
                       .filePath(QStringLiteral("standin-files")));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    QFile big(dir.filePath(QStringLiteral("folder.zip")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    const QByteArray content = QByteArray(300000, 'z') + "end";
    big.write(content);
    big.close();
    QFile shadow(dir.filePath(QStringLiteral("range.bin")));
    QVERIFY(shadow.open(QIODevice::WriteOnly));
    shadow.write("folder copy");
    shadow.close();

    StandInService served;
    QVERIFY(served.start({QStringLiteral("--files"), dir.path()}));
    const Fetched f = fetch("GET", served.fileUrl(QStringLiteral("folder.zip")), {{"Range", "bytes=300000-"}});
    QCOMPARE(f.status, 206);
    QCOMPARE(f.body, QByteArrayLiteral("end"));
    QCOMPARE(f.headers.value("content-type"), QByteArrayLiteral("application/zip"));
    // The fixture's own files come first.
    QCOMPARE(fetch("GET", served.fileUrl(QStringLiteral("range.bin"))).body.size(), 100000);
}

// All answers share the line: two bodies of 100 kB at 200 kB/s take a
// second together, however they are interleaved.
void StandInTest::rateLimitIsOneLine()
{
    StandInService limited;
    QVERIFY(limited.start({QStringLiteral("--rate-limit"), QStringLiteral("200000")}));
    const QUrl url = limited.fileUrl(QStringLiteral("range.bin"));
    QElapsedTimer clock;
    clock.start();
    QByteArray other;
    std::thread second([&] { other = fetch("GET", url).body; });
    const QByteArray first = fetch("GET", url).body;
    second.join();
    QCOMPARE(first.size(), 100000);
    QCOMPARE(other, first);
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
}

void StandInTest::https()
{
    StandInService secure;
    QVERIFY(secure.start(StandInService::tlsArguments()));
    QCOMPARE(secure.baseUrl().scheme(), QStringLiteral("https"));

    const QSslConfiguration trusting = StandInService::sslConfiguration();
    const Fetched ok = fetch("GET", secure.fileUrl(QStringLiteral("range.bin")), {{"Range", "bytes=99000-"}},
                             QByteArray(), &trusting);
    QCOMPARE(ok.status, 206);
    QCOMPARE(ok.body.size(), 1000);

    // Without the test CA the certificate is not trusted.
    const Fetched refused = fetch("GET", secure.fileUrl(QStringLiteral("range.bin")));
    QCOMPARE(refused.status, -1);
    QCOMPARE(refused.error, QNetworkReply::SslHandshakeFailedError);

    // Download addresses follow the scheme the client used.
    QVERIFY(secure.setFault({}) && secure.reset());
    QCOMPARE(secure.requestLog().size(), 0);
    const Fetched answer = fetch("GET",
                                 QUrl(secure.serviceUrl().toString()
                                      + QStringLiteral("soft/download?token=token-alice&user_id=1001&id=20"
                                                       "&serial_number=ABCDEFGHIJKLM")),
                                 {}, QByteArray(), &trusting);
    const QString url = QJsonDocument::fromJson(answer.body).object().value(QStringLiteral("data")).toObject()
                            .value(QStringLiteral("url")).toString();
    QCOMPARE(url, secure.fileUrl(QStringLiteral("bmw_V9.50.zip")).toString());
}

void StandInTest::lifetime()
{
    QProcess server;
    server.start(StandInService::programPath(),
                 {QStringLiteral("--fixture"), StandInService::defaultFixture(), QStringLiteral("--stdin-watch")});
    QVERIFY(server.waitForStarted());
    QTRY_VERIFY(server.canReadLine());
    QVERIFY(server.readLine().startsWith("PORT "));
    server.closeWriteChannel();
    QVERIFY(server.waitForFinished(10000));
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), 0);

    // A port in use is refused, not shared.
    QProcess second;
    second.start(StandInService::programPath(), {QStringLiteral("--port"), QString::number(mService.port())});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 1);
    QVERIFY(second.readAllStandardOutput().isEmpty());

    // SIGTERM ends it cleanly too.
    StandInService other;
    QVERIFY(other.start());
    QVERIFY(other.isRunning());
    other.stop();
    QVERIFY(!other.isRunning());
}

QTEST_GUILESS_MAIN(StandInTest)
#include "tst_standin.moc"
