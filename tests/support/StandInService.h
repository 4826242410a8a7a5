#pragma once

#include <initializer_list>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QPair>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

class QProcess;

// Runs the stand-in web service (tools/ostrel-standin of the build) for one
// test: starts it on a free loopback port, points the deployment settings
// at it, and drives its control interface (faults, file swaps, request log).
// The server is started with --stdin-watch, so it ends with the test even
// when the test crashes.
class StandInService
{
public:
    // Default: the shared test fixture tests/support/fixtures/standin.json.
    explicit StandInService(const QString &fixture = QString());
    ~StandInService(); // stops the server

    // Extra arguments go to the server as they are ("--tls", cert, key
    // switches to HTTPS; "--files", dir; "--log", file).
    bool start(const QStringList &extraArgs = {});
    void stop();
    bool isRunning() const;
    int port() const { return mPort; }

    QUrl baseUrl() const;    // http(s)://127.0.0.1:<port>/
    QUrl serviceUrl() const; // baseUrl + "KvaApi/"
    QUrl webUrl() const;     // baseUrl
    QUrl fileUrl(const QString &name) const; // baseUrl + "files/<name>"

    // Sets OSTREL_SERVICE_URL and OSTREL_WEB_URL (and, over HTTPS,
    // OSTREL_CA_BUNDLE) for this process.
    void exportEnvironment() const;

    bool setFault(const QJsonObject &fault);
    // A fault rule on `path`: {"path": path, key: value, ...}.
    static QJsonObject fault(const char *path, std::initializer_list<QPair<const char *, QJsonValue>> values);
    bool clearFaults(); // the fixture's own rules too
    // Back to the fixture: its fault rules only, accounts and files as
    // loaded, empty log, stalled transfers released.
    bool reset();
    bool replaceFile(const QString &name, const QByteArray &content);
    QJsonArray requestLog() const;               // every request so far
    QJsonArray requestsTo(const QString &path) const; // those whose path is exactly this
    bool clearLog();

    // One request to the server (control or otherwise); returns the HTTP
    // status, or -1 when there was no answer within the time-out.
    int request(const QByteArray &method, const QString &path, const QByteArray &body = QByteArray(),
                QByteArray *answer = nullptr) const;

    static QString defaultFixture();
    static QString programPath();
    // Test-only TLS material: a CA and a certificate for 127.0.0.1/localhost.
    static QString tlsDir();
    static QStringList tlsArguments(); // {"--tls", server.pem, server.key}
    // Trusts the test CA besides the system's, for requests made by tests.
    static QSslConfiguration sslConfiguration();

private:
    QString mFixture;
    std::unique_ptr<QProcess> mProcess;
    int mPort = 0;
    bool mTls = false;
};
