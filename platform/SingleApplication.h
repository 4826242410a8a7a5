#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <memory>

class FlockNamedMutex;
class QLocalServer;
class QLocalSocket;


// A widgets application of which one copy runs per user and executable. The
// first copy holds a lock and listens on a local socket; a later copy finds
// the lock taken, reports isRunning() and can hand the first one a message.
class SingleApplication : public QApplication
{
    Q_OBJECT
public:
    SingleApplication(int &argc, char **argv);
    ~SingleApplication() override;

    // True when another copy was already running when this one started, or
    // when the instance lock could not be had at all (lockFailed()).
    bool isRunning() const { return mRunning; }
    bool lockFailed() const;
    // Delivers `message` to the running copy; true once it confirmed receipt.
    bool sendMessage(const QString &message, int timeoutMs = 5000);

    // Stops answering and lets go of the instance lock, so that a copy
    // started from here on (a restart) runs as the first one. Call it right
    // before starting that copy.
    void releaseInstance();

    // The window to raise on a message (when activateOnMessage) or on
    // activateWindow(); not owned.
    void setActivationWindow(QWidget *window, bool activateOnMessage = true);
    QWidget *activationWindow() const { return mWindow; }

    // The lock and socket names, derived from the executable path and the user.
    QString id() const { return mId; }
    QString serverName() const { return mServerName; }

public slots:
    void activateWindow();

signals:
    void messageReceived(const QString &message);

private:
    void listen();
    void readMessage(QLocalSocket *socket);

    QString mId;
    QString mServerName;
    bool mRunning = false;
    bool mActivateOnMessage = true;
    std::unique_ptr<FlockNamedMutex> mLock;
    QLocalServer *mServer = nullptr;
    QPointer<QWidget> mWindow;
};
