#pragma once

#include <QThread>
#include <QVariant>

// One blocking call of the service off the GUI thread: begin() when it
// starts, finish() with the HTTP status (or -1) and the filled response.
// Set what the call needs before start(), not while it runs.
class ServiceCallThread : public QThread
{
    Q_OBJECT
public:
    using QThread::QThread;

signals:
    void begin();
    void finish(int code, QVariant response);

protected:
    void run() override;
    // Makes the call on this thread, which owns the action and its network
    // access; returns the status and sets `response`. A class implementing
    // it waits for the thread in its own destructor.
    virtual int call(QVariant *response) = 0;
};
