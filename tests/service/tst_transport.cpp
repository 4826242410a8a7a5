#include "tst_transport.h"

#include <LoopbackProxy.h>
#include <Sornet/Sornet.h>

#include <QElapsedTimer>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QNetworkReply>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

const QString BigFile = QStringLiteral("sornet-range.bin");

QByteArray bigContent()
{
    QByteArray content;
    content.reserve(1572864);
    for (int i = 0; i < 1572864; ++i)
        content.append(char(i * 7 % 251));
    return content;
}

LoginResponse signInAlice(int *status)
{
    UserAction action;
    LoginParam param;
    param.setUser_name(QStringLiteral("alice@ostrel.test"));
    param.setPassword(QStringLiteral("alice123"));
    LoginResponse response;
    *status = action.login(response, param);
    return response;
}

QuerySoftwareParam aliceSoftware()
{
    QuerySoftwareParam param;
    param.setToken(QStringLiteral("token-alice"));
    param.setUser_id(1001);
    param.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
    param.setLang_code(QStringLiteral("en"));
    param.setDefault_lang_code(QStringLiteral("en"));
    return param;
}

QStringList gLogLines;

void captureLog(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "sornet.http") == 0)
        gLogLines << message;
}

} // namespace

void DownloadReceiver::onFinished(QNetworkReply *reply)
{
    finished = true;
    status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    data += reply->readAll();
    reply->deleteLater();
}

void DownloadReceiver::onDownloadProgress(qint64, qint64 total)
{
    lastTotal = total;
}

void DownloadReceiver::onReadyRead()
{
    if (auto *reply = qobject_cast<QNetworkReply *>(sender()))
        data += reply->readAll();
}

void TestTransport::initTestCase()
{
    QVERIFY(mService.start());
    mService.exportEnvironment();
}

void TestTransport::init()
{
    QVERIFY(mService.reset());
}

void TestTransport::cleanup()
{
    BaseAction::setBaseUrl(QString());
    BaseAction::setTimeout(0);
    BaseAction::setDeadline(0);
}

void TestTransport::refusedPortGivesMinusOne()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    BaseAction::setBaseUrl(QStringLiteral("http://127.0.0.1:%1/KvaApi").arg(port));

    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, -1);
    QCOMPARE(login.getCode(), 0);
    QVERIFY(login.getData().getToken().isEmpty());
    QCOMPARE(Code().getMessageByCode(status), QStringLiteral("Login failed."));

    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, param), -1);
    QVERIFY(software.getData().isEmpty());
}

void TestTransport::httpErrorStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("404") << 404 << "Not Found";
    QTest::newRow("500") << 500 << "Internal Server Error";
    QTest::newRow("503") << 503 << "Service Unavailable";
}

void TestTransport::httpErrorStatus()
{
    QFETCH(int, status);
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/*")},
                               {QStringLiteral("status"), status}}));
    int result = 0;
    const LoginResponse login = signInAlice(&result);
    QCOMPARE(result, status);
    QCOMPARE(login.getCode(), 0);
    QVERIFY(login.getMessage().isEmpty());
    QTEST(Code().getMessageByCode(result), "message");

    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, param), status);
    QVERIFY(software.getData().isEmpty());
}

void TestTransport::brokenBody()
{
    QVERIFY(mService.setFault({{QStringLiteral("malformed"), true}}));
    // The generic mapping keeps the exchange's 200 and leaves the response alone...
    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, 200);
    QCOMPARE(login.getCode(), 0);
    QVERIFY(!login.isSuccess());
    // ...while the list parsers report the answer as unreadable.
    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, param), -1);
    UserAction user;
    CountryListParam countryParam;
    CountryListResponse countries;
    QCOMPARE(user.getCountryList(countries, countryParam), -1);
    QVERIFY(countries.getData().isEmpty());
}

void TestTransport::serviceVerdictIsNotInterpreted()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/user/soft_search")},
                               {QStringLiteral("code"), -100}}));
    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, param), 200);
    QCOMPARE(software.getCode(), Code::CODE_ERROR_TOKEN);
    QVERIFY(!software.isSuccess());
}

void TestTransport::nullDownloadResponseSendsNothing()
{
    DownloadAction action;
    GetDownloadURLParam param;
    param.setToken(QStringLiteral("token-alice"));
    param.setUser_id(1001);
    param.setId(10);
    QCOMPARE(action.getDownloadURL(nullptr, param), -1);
    QVERIFY(mService.requestLog().isEmpty());
}

void TestTransport::downloadRange_data()
{
    QTest::addColumn<long>("offset");
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("status");
    QTest::newRow("whole file") << 0L << QString() << 200;
    QTest::newRow("resume at 1 MiB") << 1048576L << "bytes=1048576-" << 206;
}

void TestTransport::downloadRange()
{
    QFETCH(long, offset);
    QFETCH(QString, range);
    const QByteArray content = bigContent();
    QVERIFY(mService.replaceFile(BigFile, content));
    QVERIFY(mService.clearLog());

    DownloadAction action;
    DownloadReceiver receiver;
    QCOMPARE(action.download(mService.fileUrl(BigFile).toString(), offset, &receiver), -1);
    QTRY_VERIFY_WITH_TIMEOUT(receiver.finished, 20000);
    QTEST(receiver.status, "status");
    QCOMPARE(receiver.data.size(), content.size() - int(offset));
    QVERIFY(receiver.data == content.mid(int(offset)));
    QCOMPARE(receiver.lastTotal, qint64(content.size() - offset));

    const QJsonArray log = mService.requestLog();
    QCOMPARE(log.size(), 1);
    const QJsonObject request = log.at(0).toObject();
    QCOMPARE(request.value(QStringLiteral("method")).toString(), QStringLiteral("GET"));
    QVERIFY(request.value(QStringLiteral("query")).toString().isEmpty());
    const QJsonObject headers = request.value(QStringLiteral("headers")).toObject();
    QCOMPARE(headers.value(QStringLiteral("Range")).toString(), range);

    // A receiver with the plain end slot is told too; one without slots is refused.
    EndOnlyReceiver plain;
    action.download(mService.fileUrl(BigFile).toString(), 0, &plain);
    QTRY_VERIFY_WITH_TIMEOUT(plain.finished, 20000);
    QCOMPARE(action.download(mService.fileUrl(BigFile).toString(), 0, nullptr), -1);
}

void TestTransport::headReportsSize()
{
    QVERIFY(mService.replaceFile(BigFile, bigContent()));
    DownloadAction action;
    long size = -5;
    QCOMPARE(action.getDownloadFileSize(size, mService.fileUrl(BigFile).toString()), 200);
    QCOMPARE(size, 1572864L);
    QCOMPARE(mService.requestsTo(QStringLiteral("/files/") + BigFile).last().toObject()
                 .value(QStringLiteral("method")).toString(), QStringLiteral("HEAD"));

    size = -5;
    QCOMPARE(action.getDownloadFileSize(size, mService.fileUrl(QStringLiteral("missing.bin")).toString()), 404);
    QCOMPARE(size, -5L);
}

void TestTransport::callerKeepsProcessingEvents()
{
    // The sign-in runs on the GUI thread; its events must still flow while
    // the call waits.
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/user/login")},
                               {QStringLiteral("delay_ms"), 300}}));
    bool dispatched = false;
    QTimer::singleShot(0, [&dispatched] { dispatched = true; });
    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, 200);
    QVERIFY(dispatched);
    QCOMPARE(login.getData().getUser_id(), 1001L);
}

void TestTransport::callOnWorkerThread()
{
    std::atomic<int> status{0};
    QuerySoftwareResponse result;
    QThread *worker = QThread::create([&] {
        ProductAction action;
        QuerySoftwareParam param = aliceSoftware();
        QuerySoftwareResponse response;
        status = action.querySoftware(response, param);
        result = response;
    });
    worker->start();
    QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
    delete worker;
    QCOMPARE(status.load(), 200);
    QCOMPARE(result.getCode(), 1);
    QVERIFY(!result.getData().isEmpty());
}

void TestTransport::silenceEndsTheCall_data()
{
    QTest::addColumn<QJsonObject>("fault");
    QTest::newRow("never answers") << QJsonObject{{QStringLiteral("delay_ms"), 5000}};
    QTest::newRow("stalls after the headers") << QJsonObject{{QStringLiteral("stall_after"), 10}};
    QTest::newRow("closes mid-body") << QJsonObject{{QStringLiteral("drop_after"), 10}};
}

void TestTransport::silenceEndsTheCall()
{
    QFETCH(QJsonObject, fault);
    fault.insert(QStringLiteral("path"), QStringLiteral("/KvaApi/*"));
    QVERIFY(mService.setFault(fault));
    BaseAction::setTimeout(300);

    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, -1);
    QCOMPARE(login.getCode(), 0);

    UserAction user;
    CheckUserParam param;
    CheckUserResponse check;
    QCOMPARE(user.checkUser(check, param), -1);
    QVERIFY(!check.isData());
}

void TestTransport::slowButSteadyAnswerIsKept()
{
    // The limit is on silence, not on the length of the whole exchange.
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/tools/country_lists")},
                               {QStringLiteral("chunk_size"), 16},
                               {QStringLiteral("chunk_delay_ms"), 100}}));
    BaseAction::setTimeout(1000);
    UserAction user;
    CountryListParam param;
    CountryListResponse countries;
    QCOMPARE(user.getCountryList(countries, param), 200);
    QCOMPARE(countries.getData().size(), 5);
    QVERIFY(mService.requestsTo(QStringLiteral("/KvaApi/tools/country_lists")).at(0).toObject()
                .value(QStringLiteral("fault")).isObject());
}

// Each piece comes well within the idle limit, but the call as a whole
// must not outlast its own: a sign-in against such a server ends.
void TestTransport::tricklingAnswerEndsAtTheDeadline()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/*")},
                               {QStringLiteral("chunk_size"), 4},
                               {QStringLiteral("chunk_delay_ms"), 100}}));
    BaseAction::setTimeout(1000);
    BaseAction::setDeadline(600);
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, -1);
    QVERIFY(login.getData().getToken().isEmpty());
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

void TestTransport::shortBodyIsNoAnswer_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("pause"); // the cut body and the close come after a pause
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 400\r\n\r\n";
    QTest::newRow("200, closed at once") << ok << false;
    QTest::newRow("200, closed after a pause") << ok << true;
    QTest::newRow("404, cut") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 400\r\n\r\n") << false;
}

// A server that announces more than it sends and closes: whatever Qt makes
// of it (it may even end the reply without an error), the call got no answer.
void TestTransport::shortBodyIsNoAnswer()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, pause);
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, this, [&] {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, head, pause] {
            if (!socket->readAll().contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            socket->write(head);
            const auto cut = [socket] {
                socket->write(R"({"code":1,"message":"Success","success":true,"data":{"token":"t")");
                socket->disconnectFromHost();
            };
            if (pause) {
                socket->flush();
                QTimer::singleShot(100, socket, cut);
            } else {
                cut();
            }
        });
    });
    BaseAction::setBaseUrl(QStringLiteral("http://127.0.0.1:%1/KvaApi/").arg(server.serverPort()));

    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, -1);
    QCOMPARE(login.getCode(), 0);
    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, param), -1);
}

void TestTransport::secretsStayOutOfTheLog()
{
    gLogLines.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("sornet.http.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);

    int status = 0;
    const LoginResponse login = signInAlice(&status);
    ProductAction product;
    QuerySoftwareParam param = aliceSoftware();
    QuerySoftwareResponse software;
    const int softwareStatus = product.querySoftware(software, param);
    BaseAction::parse(&software, QStringLiteral("{\"token\": \"token-alice\", \"password\":\"alice123\"}"));

    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(status, 200);
    QCOMPARE(softwareStatus, 200);
    QCOMPARE(login.getData().getToken(), QStringLiteral("token-alice"));

    const QString all = gLogLines.join(QLatin1Char('\n'));
    QVERIFY2(all.contains(QLatin1String("Code: ")), qPrintable(all));
    QVERIFY(all.contains(QLatin1String("response: ")));
    QVERIFY(all.contains(QLatin1String("Result: ")));
    QVERIFY(all.contains(QLatin1String("Response: ")));
    QVERIFY(all.contains(QLatin1String("***")));
    QVERIFY2(!all.contains(QLatin1String("token-alice")), qPrintable(all));
    QVERIFY(!all.contains(QLatin1String("alice123")));
    QVERIFY(!all.contains(BaseAction::MD5(QStringLiteral("alice123"))));
}

void TestTransport::tlsPeerIsVerified_data()
{
    QTest::addColumn<bool>("upperCaseScheme");
    QTest::addColumn<QString>("caBundle");
    QTest::addColumn<int>("status");
    const QString ca = StandInService::tlsDir() + QStringLiteral("/ca.pem");
    const QString notCa = StandInService::tlsDir() + QStringLiteral("/server.key");
    QTest::newRow("test CA configured") << false << ca << 200;
    QTest::newRow("no extra CA") << false << QString() << -1;
    QTest::newRow("bundle without certificates") << false << notCa << -1;
    QTest::newRow("upper-case scheme, CA configured") << true << ca << 200;
    QTest::newRow("upper-case scheme, no extra CA") << true << QString() << -1;
}

void TestTransport::tlsPeerIsVerified()
{
    QFETCH(bool, upperCaseScheme);
    QFETCH(QString, caBundle);
    StandInService secure;
    QVERIFY(secure.start(StandInService::tlsArguments()));
    QString url = secure.serviceUrl().toString();
    QVERIFY(url.startsWith(QLatin1String("https://")));
    if (upperCaseScheme)
        url.replace(0, 5, QStringLiteral("HTTPS"));
    BaseAction::setBaseUrl(url);
    if (caBundle.isEmpty())
        qunsetenv("OSTREL_CA_BUNDLE");
    else
        qputenv("OSTREL_CA_BUNDLE", QFile::encodeName(caBundle));

    int status = 0;
    const LoginResponse login = signInAlice(&status);
    qunsetenv("OSTREL_CA_BUNDLE");
    QTEST(status, "status");
    QCOMPARE(login.getCode(), status == 200 ? 1 : 0);
}

// The token travels in the query: plain http only to this computer (every
// other test here reaches the stand-in on 127.0.0.1). The proxy forwards any
// host to the stand-in, so a request sent anyway would arrive.
void TestTransport::plainHttpOnlyToLoopback()
{
    LoopbackProxy proxy;
    QVERIFY(proxy.listen());
    qputenv("http_proxy", proxy.address());
    const auto restore = qScopeGuard([] { qunsetenv("http_proxy"); });
    QUrl url = mService.serviceUrl();
    for (const char *host : {"service.ostrel.test", "10.0.0.1", "127.0.0.1.ostrel.test"}) {
        url.setHost(QLatin1String(host));
        BaseAction::setBaseUrl(url.toString());
        int status = 0;
        QCOMPARE(signInAlice(&status).getCode(), 0);
        QCOMPARE(status, -1);
    }
    QVERIFY(proxy.requestLines().isEmpty());
}

void TestTransport::hugeAnswerIsNoAnswer_data()
{
    QTest::addColumn<bool>("announced");
    QTest::newRow("length announced") << true;
    QTest::newRow("chunked, no length") << false;
}

// 64 MiB of answer: no crash, no memory filled, just no answer.
void TestTransport::hugeAnswerIsNoAnswer()
{
    QFETCH(bool, announced);
    constexpr qint64 Size = 64LL * 1024 * 1024;
    const QByteArray piece(1024 * 1024, 'x');
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, this, [&] {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto sent = std::make_shared<qint64>(0);
        const auto more = [socket, sent, piece, announced] {
            if (socket->bytesToWrite() > 0 || *sent >= Size)
                return;
            *sent += piece.size();
            socket->write(announced ? piece : QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
            if (*sent >= Size)
                socket->write(announced ? QByteArray() : QByteArray("0\r\n\r\n"));
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, more, announced] {
            if (!socket->readAll().contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            socket->write(
                "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                + (announced ? "Content-Length: " + QByteArray::number(Size) : QByteArray("Transfer-Encoding: chunked"))
                + "\r\n\r\n");
            more();
        });
    });
    BaseAction::setBaseUrl(QStringLiteral("http://127.0.0.1:%1/KvaApi/").arg(server.serverPort()));
    int status = 0;
    const LoginResponse login = signInAlice(&status);
    QCOMPARE(status, -1);
    QCOMPARE(login.getCode(), 0);
}

QTEST_GUILESS_MAIN(TestTransport)
