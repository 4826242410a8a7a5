#pragma once

#include <QObject>
#include <QStringList>
#include <QTcpServer>

// A small HTTP proxy on loopback for tests: it forwards each request to
// 127.0.0.1 at the port its URL names, whatever host the URL gives, so a
// request for a made-up host name arrives only when it went through the
// proxy. Plain HTTP only (no CONNECT); one request per connection.
class LoopbackProxy : public QObject
{
    Q_OBJECT

public:
    bool listen();
    quint16 port() const { return mServer.serverPort(); }
    // "http://127.0.0.1:<port>", for http_proxy.
    QByteArray address() const;
    // Request lines as the clients sent them, e.g. "GET http://host:1/x HTTP/1.1".
    QStringList requestLines() const { return mLines; }
    void clear() { mLines.clear(); }

private:
    void accept();

    QTcpServer mServer;
    QStringList mLines;
};
