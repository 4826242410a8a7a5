#include "LoopbackProxy.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

#include <memory>

bool LoopbackProxy::listen()
{
    connect(&mServer, &QTcpServer::newConnection, this, &LoopbackProxy::accept, Qt::UniqueConnection);
    return mServer.listen(QHostAddress::LocalHost);
}

QByteArray LoopbackProxy::address() const
{
    return "http://127.0.0.1:" + QByteArray::number(port());
}

void LoopbackProxy::accept()
{
    while (QTcpSocket *client = mServer.nextPendingConnection()) {
        client->setParent(this);
        auto head = std::make_shared<QByteArray>();
        auto *upstream = new QTcpSocket(client);
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        connect(upstream, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
        connect(upstream, &QTcpSocket::readyRead, client, [client, upstream] { client->write(upstream->readAll()); });
        connect(client, &QTcpSocket::readyRead, this, [this, client, upstream, head] {
            if (upstream->state() != QAbstractSocket::UnconnectedState) {
                upstream->write(client->readAll()); // the request body, if any
                return;
            }
            head->append(client->readAll());
            const int end = head->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const int lineEnd = head->indexOf("\r\n");
            const QByteArray line = head->left(lineEnd);
            mLines.append(QString::fromLatin1(line));
            const QList<QByteArray> parts = line.split(' ');
            const QUrl url(QString::fromLatin1(parts.value(1)));
            if (parts.size() != 3 || !url.isValid() || url.port() <= 0) {
                client->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                client->disconnectFromHost();
                return;
            }
            // Origin form towards the server, and one exchange per connection.
            QByteArray forwarded = parts.at(0) + ' ' + url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority)
                + ' ' + parts.at(2) + "\r\n";
            const QList<QByteArray> headers = head->mid(lineEnd + 2, end - lineEnd - 2).split('\n');
            for (const QByteArray &raw : headers) {
                const QByteArray h = raw.trimmed();
                const QByteArray name = h.left(h.indexOf(':')).trimmed().toLower();
                if (!h.isEmpty() && name != "connection" && name != "proxy-connection")
                    forwarded += h + "\r\n";
            }
            forwarded += "Connection: close\r\n\r\n" + head->mid(end + 4);
            // Sent once connected, ahead of any body bytes written later.
            upstream->connectToHost(QHostAddress::LocalHost, quint16(url.port()));
            upstream->write(forwarded);
        });
    }
}
