#include <Sornet/NetworkSetup.h>

#include "SornetLog.h"

#include <DeploymentSettings.h>

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QSslCertificate>

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

void NetworkSetup::useSystemProxy(QNetworkAccessManager &manager)
{
    manager.setProxyFactory(new SystemProxyFactory); // the manager owns it
}
