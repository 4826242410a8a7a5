#include "StandInService.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QSslCertificate>
#include <QElapsedTimer>
#include <QTimer>

namespace {

const int StartTimeoutMs = 20000;
const int RequestTimeoutMs = 10000;

QString fromEnvOr(const char *name, const char *fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

QString sourceDir()
{
    return fromEnvOr("OSTREL_SOURCE_DIR", OSTREL_SOURCE_DIR_DEFAULT);
}

QString buildDir()
{
    return fromEnvOr("OSTREL_BUILD_DIR", OSTREL_BUILD_DIR_DEFAULT);
}

} // namespace

StandInService::StandInService(const QString &fixture)
    : mFixture(fixture.isEmpty() ? defaultFixture() : fixture)
{
}

StandInService::~StandInService()
{
    stop();
}

QString StandInService::defaultFixture()
{
    return sourceDir() + QStringLiteral("/tests/support/fixtures/standin.json");
}

QString StandInService::programPath()
{
    return buildDir() + QStringLiteral("/tools/ostrel-standin");
}

QString StandInService::tlsDir()
{
    return sourceDir() + QStringLiteral("/tests/support/tls");
}

QStringList StandInService::tlsArguments()
{
    return {QStringLiteral("--tls"), tlsDir() + QStringLiteral("/server.pem"),
            tlsDir() + QStringLiteral("/server.key")};
}

QSslConfiguration StandInService::sslConfiguration()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> cas = config.caCertificates();
    cas += QSslCertificate::fromPath(tlsDir() + QStringLiteral("/ca.pem"));
    config.setCaCertificates(cas);
    return config;
}

QJsonObject StandInService::fault(const char *path, std::initializer_list<QPair<const char *, QJsonValue>> values)
{
    QJsonObject o{{QStringLiteral("path"), QLatin1String(path)}};
    for (const auto &value : values)
        o.insert(QLatin1String(value.first), value.second);
    return o;
}

bool StandInService::start(const QStringList &extraArgs)
{
    stop();
    mTls = extraArgs.contains(QStringLiteral("--tls"));
    mProcess = std::make_unique<QProcess>();
    mProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args = {QStringLiteral("--fixture"), mFixture, QStringLiteral("--stdin-watch")};
    args += extraArgs;
    mProcess->start(programPath(), args);
    if (!mProcess->waitForStarted(StartTimeoutMs)) {
        qWarning("StandInService: cannot start %s", qPrintable(programPath()));
        mProcess.reset();
        return false;
    }
    QByteArray out;
    // No event loop runs here: a timer would never say it ran out.
    QElapsedTimer clock;
    clock.start();
    while (!out.contains('\n') && clock.elapsed() < StartTimeoutMs && mProcess->state() == QProcess::Running) {
        mProcess->waitForReadyRead(200);
        out += mProcess->readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    if (!line.startsWith("PORT ")) {
        qWarning("StandInService: no port from the server (got \"%s\")", line.constData());
        stop();
        return false;
    }
    mPort = line.mid(5).toInt();
    return mPort > 0;
}

void StandInService::stop()
{
    if (!mProcess)
        return;
    if (mProcess->state() != QProcess::NotRunning) {
        mProcess->terminate();
        if (!mProcess->waitForFinished(5000)) {
            mProcess->kill();
            mProcess->waitForFinished(2000);
        }
    }
    mProcess.reset();
    mPort = 0;
}

bool StandInService::isRunning() const
{
    return mProcess && mProcess->state() == QProcess::Running && mPort > 0;
}

QUrl StandInService::baseUrl() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(mTls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(mPort));
}

QUrl StandInService::serviceUrl() const
{
    return baseUrl().resolved(QUrl(QStringLiteral("KvaApi/")));
}

QUrl StandInService::webUrl() const
{
    return baseUrl();
}

QUrl StandInService::fileUrl(const QString &name) const
{
    QUrl url = baseUrl();
    url.setPath(QStringLiteral("/files/") + name);
    return url;
}

void StandInService::exportEnvironment() const
{
    qputenv("OSTREL_SERVICE_URL", serviceUrl().toString().toUtf8());
    qputenv("OSTREL_WEB_URL", webUrl().toString().toUtf8());
    if (mTls)
        qputenv("OSTREL_CA_BUNDLE", QFile::encodeName(tlsDir() + QStringLiteral("/ca.pem")));
}

int StandInService::request(const QByteArray &method, const QString &path, const QByteArray &body,
                            QByteArray *answer) const
{
    if (!isRunning())
        return -1;
    QNetworkAccessManager manager;
    QUrl url = baseUrl();
    const int q = path.indexOf(QLatin1Char('?'));
    url.setPath(q < 0 ? path : path.left(q));
    if (q >= 0)
        url.setQuery(path.mid(q + 1));
    QNetworkRequest req(url);
    if (mTls)
        req.setSslConfiguration(sslConfiguration());
    if (method != "GET" && method != "HEAD")
        req.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    // A custom "HEAD" verb would make Qt wait for a body that never comes.
    QNetworkReply *reply = method == "HEAD" ? manager.head(req) : manager.sendCustomRequest(req, method, body);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(RequestTimeoutMs);
    loop.exec();
    if (!reply->isFinished()) {
        reply->abort();
        delete reply;
        return -1;
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (answer)
        *answer = reply->readAll();
    delete reply;
    return status.isValid() ? status.toInt() : -1;
}

bool StandInService::setFault(const QJsonObject &fault)
{
    return request("POST", QStringLiteral("/control/fault"), QJsonDocument(fault).toJson()) == 200;
}

bool StandInService::clearFaults()
{
    return request("POST", QStringLiteral("/control/faults/clear")) == 200;
}

bool StandInService::reset()
{
    return request("POST", QStringLiteral("/control/reset")) == 200;
}

bool StandInService::replaceFile(const QString &name, const QByteArray &content)
{
    const QJsonObject body{{QStringLiteral("name"), name},
                           {QStringLiteral("base64"), QString::fromLatin1(content.toBase64())}};
    return request("POST", QStringLiteral("/control/replace-file"), QJsonDocument(body).toJson()) == 200;
}

QJsonArray StandInService::requestLog() const
{
    QByteArray answer;
    if (request("GET", QStringLiteral("/control/log"), QByteArray(), &answer) != 200)
        return QJsonArray();
    return QJsonDocument::fromJson(answer).array();
}

QJsonArray StandInService::requestsTo(const QString &path) const
{
    QJsonArray out;
    const QJsonArray all = requestLog();
    for (const QJsonValue &entry : all) {
        if (entry.toObject().value(QStringLiteral("path")).toString() == path)
            out.append(entry);
    }
    return out;
}

bool StandInService::clearLog()
{
    return request("POST", QStringLiteral("/control/log/clear")) == 200;
}
