#pragma once

#include <StandInService.h>

#include <QByteArray>
#include <QObject>

class QNetworkReply;

// Takes a ranged download the way the download page does: by slot name.
class DownloadReceiver : public QObject
{
    Q_OBJECT
public:
    QByteArray data;
    bool finished = false;
    int status = 0;
    qint64 lastTotal = -1;

public slots:
    void onFinished(QNetworkReply *reply);
    void onDownloadProgress(qint64 received, qint64 total);
    void onReadyRead();
};

// A receiver that only wants to hear about the end.
class EndOnlyReceiver : public QObject
{
    Q_OBJECT
public:
    bool finished = false;

public slots:
    void onFinished() { finished = true; }
};

// Outcomes of the transport: statuses, failures below HTTP, time-outs,
// threads, TLS and what the debug log may show.
class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusedPortGivesMinusOne();
    void httpErrorStatus_data();
    void httpErrorStatus();
    void brokenBody();
    void serviceVerdictIsNotInterpreted();
    void nullDownloadResponseSendsNothing();
    void downloadRange_data();
    void downloadRange();
    void headReportsSize();
    void callerKeepsProcessingEvents();
    void callOnWorkerThread();
    void silenceEndsTheCall_data();
    void silenceEndsTheCall();
    void slowButSteadyAnswerIsKept();
    void tricklingAnswerEndsAtTheDeadline();
    void shortBodyIsNoAnswer_data();
    void shortBodyIsNoAnswer();
    void secretsStayOutOfTheLog();
    void tlsPeerIsVerified_data();
    void tlsPeerIsVerified();
    void plainHttpOnlyToLoopback();
    void hugeAnswerIsNoAnswer_data();
    void hugeAnswerIsNoAnswer();

private:
    StandInService mService;
};
