#include "SingleApplication.h"

#include "FlockNamedMutex.h"
#include "WindowActivator.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <unistd.h>

namespace {
// A message is a length-prefixed UTF-8 block; the receiver answers one byte.
const char kAck = '\x06';
// Messages are short wake-up notes; anything larger is not from a sibling.
const quint32 kMaxMessage = 64 * 1024;
// sun_path is 108 bytes on Linux, including the terminating zero.
const int kMaxSocketPath = 104;
} // namespace

SingleApplication::SingleApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    const QByteArray key = QCoreApplication::applicationFilePath().toUtf8() + '\n'
        + QByteArray::number(::getuid());
    mId = QStringLiteral("ostrel-single-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
    const QString dir = FlockNamedMutex::runtimeDir();
    mServerName = dir.isEmpty() ? mId : dir + QLatin1Char('/') + mId + QStringLiteral(".sock");
    // A socket path longer than sockaddr_un can hold cannot be listened on;
    // the second start would then exit without waking anyone. Fall back to
    // the bare name, which the toolkit places in the temporary folder.
    if (QFile::encodeName(mServerName).size() >= kMaxSocketPath)
        mServerName = mId;

    mLock = std::make_unique<FlockNamedMutex>(mId);
    if (mLock->isBroken())
        qWarning("SingleApplication: cannot take the instance lock; not running without one");
    // A lock that could not be had counts as held: two unguarded copies
    // could write the same card at once.
    if (mLock->alreadyExisted()) {
        mRunning = true;
        return;
    }
    listen();
}

SingleApplication::~SingleApplication()
{
    if (mServer)
        mServer->close();
}

void SingleApplication::listen()
{
    mServer = new QLocalServer(this);
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock means no other copy runs, so a socket file left
    // behind is from one that crashed.
    QLocalServer::removeServer(mServerName);
    if (!mServer->listen(mServerName)) {
        qWarning("SingleApplication: cannot listen on %s: %s", qUtf8Printable(mServerName),
                 qUtf8Printable(mServer->errorString()));
        return;
    }
    connect(mServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = mServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
            readMessage(socket);
        }
    });
}

void SingleApplication::readMessage(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_5_12);
    in.startTransaction();
    quint32 size = 0;
    in >> size;
    if (in.status() == QDataStream::Ok && size > kMaxMessage) {
        qWarning("SingleApplication: dropping an oversized message (%u bytes)", size);
        in.abortTransaction();
        socket->abort();
        return;
    }
    QByteArray bytes(int(size), Qt::Uninitialized);
    if (in.status() == QDataStream::Ok && size > 0)
        in.readRawData(bytes.data(), int(size));
    if (!in.commitTransaction())
        return; // the rest is still on its way
    socket->write(&kAck, 1);
    socket->flush();
    socket->disconnectFromServer();
    const QString message = QString::fromUtf8(bytes);
    if (mActivateOnMessage)
        activateWindow();
    emit messageReceived(message);
}

bool SingleApplication::lockFailed() const
{
    return mLock && mLock->isBroken();
}

bool SingleApplication::sendMessage(const QString &message, int timeoutMs)
{
    if (!mRunning || lockFailed())
        return false;
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    QLocalSocket socket;
    // The running copy may hold the lock but not listen yet: keep trying.
    for (;;) {
        socket.connectToServer(mServerName);
        if (socket.waitForConnected(int(qMax<qint64>(0, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired()) {
            qWarning("SingleApplication: no running copy answers on %s", qUtf8Printable(mServerName));
            return false;
        }
        socket.abort();
        QThread::msleep(quint64(qMin<qint64>(50, deadline.remainingTime())));
    }

    const QByteArray bytes = message.toUtf8();
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_12);
    out << quint32(bytes.size());
    out.writeRawData(bytes.constData(), bytes.size());
    socket.write(block);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(qMax<qint64>(0, deadline.remainingTime())))) {
            qWarning("SingleApplication: sending the message failed: %s", qUtf8Printable(socket.errorString()));
            return false;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(0, deadline.remainingTime())))) {
            qWarning("SingleApplication: the running copy did not confirm the message");
            return false;
        }
    }
    char ack = 0;
    socket.getChar(&ack);
    socket.disconnectFromServer();
    return ack == kAck;
}

void SingleApplication::releaseInstance()
{
    if (mServer) {
        mServer->close();
        delete mServer;
        mServer = nullptr;
    }
    if (mLock)
        mLock->release();
}

void SingleApplication::setActivationWindow(QWidget *window, bool activateOnMessage)
{
    mWindow = window;
    mActivateOnMessage = activateOnMessage;
}

void SingleApplication::activateWindow()
{
    WindowActivator::bringToFront(mWindow);
}
