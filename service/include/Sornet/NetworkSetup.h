#pragma once

#include <QSslConfiguration>
#include <Sornet/sornet_export.h>

class QNetworkAccessManager;
class QNetworkRequest;
class QUrl;

// How every connection of the program reaches the network, shared by the
// service calls and the archive downloads so that both behave alike.
class SORNET_EXPORT NetworkSetup
{
public:
    // Peers are always verified: against the system store plus the
    // deployment's own CA bundle (a self-hosted or test service), with
    // TLS 1.2 or later.
    static QSslConfiguration tlsConfiguration();

    // Gives an https request that configuration; other schemes are left
    // alone. QUrl lower-cases the scheme, so "HTTPS://" is covered too.
    static void secure(QNetworkRequest &request);

    // Whether the program may send anything to `url`: https, or plain http
    // to this computer's own loopback (127.0.0.0/8, ::1, localhost), where a
    // local stand-in of the service runs. Anywhere else plain http would
    // carry the sign-in token in clear.
    static bool isAllowed(const QUrl &url);
    // `url` for a page handed to the desktop's browser: plain http to
    // another computer becomes https.
    static QUrl secured(const QUrl &url);

    // Sends the manager's requests through the proxy the environment names
    // (http_proxy, https_proxy, no_proxy), whatever default the toolkit was
    // built with; loopback addresses are always reached directly.
    static void useSystemProxy(QNetworkAccessManager &manager);
};
