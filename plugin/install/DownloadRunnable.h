#pragma once

#include <QString>
#include <QThread>
#include <Sornet/DownloadAction.h>
#include <Sornet/GetDownloadURLParam.h>
#include <Sornet/GetDownloadURLResponse.h>

#include <atomic>

// Asks the service for the download address of one package, on a thread of
// its own because the service call blocks. Reports once through finished,
// unless cancelled first. The object deletes itself once its thread has
// ended, so a query that is abandoned while still inside the call finishes
// on its own, its result unused; it is never terminated. (One that is
// never started is deleted by its owner.)
class DownloadRunnable : public QThread
{
    Q_OBJECT

public:
    explicit DownloadRunnable(QObject *parent = nullptr);

    void setParam(const GetDownloadURLParam &param) { mParam = param; }
    const GetDownloadURLParam &param() const { return mParam; }
    void cancel() { mCancelled = true; }
    // Cancels, and nobody hears the result any more.
    void abandon();

signals:
    // The transport status; the service's code (-1 without an answer); the
    // address when the code is 1.
    void finished(long id, int code, int responseCode, QString url);

protected:
    void run() override;

private:
    DownloadAction mAction;
    GetDownloadURLParam mParam;
    GetDownloadURLResponse mResponse;
    std::atomic<bool> mCancelled{false};
};
