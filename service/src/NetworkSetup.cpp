#include <Sornet/NetworkSetup.h>

#include "SornetLog.h"

#include <DeploymentSettings.h>

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QUrl>

namespace {

// Parsing the system store is slow; it does not change while we run.
const QList<QSslCertificate> &systemCertificates()
{
    static const QList<QSslCertificate> certificates = QSslConfiguration::systemCaCertificates();
    return certificates;
}

class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QString host = query.peerHostName();
        const QHostAddress address(host);
        if (host == QLatin1String("localhost") || (!address.isNull() && address.isLoopback()))
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

} // namespace

QSslConfiguration NetworkSetup::tlsConfiguration()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> certificates = systemCertificates();
    const QString bundle = DeploymentSettings::caBundle();
    if (!bundle.isEmpty()) {
        const QList<QSslCertificate> extra = QSslCertificate::fromPath(bundle, QSsl::Pem);
        if (extra.isEmpty())
            qCDebug(lcSornetHttp) << "no certificate in CA bundle" << bundle;
        certificates += extra;
    }
    config.setCaCertificates(certificates);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    config.setProtocol(QSsl::TlsV1_2OrLater);
    return config;
}

void NetworkSetup::secure(QNetworkRequest &request)
{
    if (request.url().scheme() == QLatin1String("https"))
        request.setSslConfiguration(tlsConfiguration());
}

bool NetworkSetup::isAllowed(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    if (url.scheme() != QLatin1String("http"))
        return false;
    // The host as written, never looked up: a name that resolves to
    // loopback today may not tomorrow.
    const QString host = url.host();
    const QHostAddress address(host);
    return host == QLatin1String("localhost") || (!address.isNull() && address.isLoopback());
}

QUrl NetworkSetup::secured(const QUrl &url)
{
    QUrl out = url;
    if (url.scheme() == QLatin1String("http") && !isAllowed(url))
        out.setScheme(QStringLiteral("https"));
    return out;
}

void NetworkSetup::useSystemProxy(QNetworkAccessManager &manager)
{
    manager.setProxyFactory(new SystemProxyFactory); // the manager owns it
}
