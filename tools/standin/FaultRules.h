#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <mutex>
#include <QString>
#include <QVector>

// Misbehaviour on request: a rule names a path (exact, or a prefix when it
// ends in '*'; none means every path outside "/control/"), optionally a
// method, and what goes wrong. The newest matching rule wins; a rule with
// "once" (or "times": n) is used up after that many requests.
class FaultRules
{
public:
    struct Fault
    {
        QString path;
        QString method;
        int status = 0;           // answer with this HTTP status instead
        bool malformed = false;   // 200 with a body that is not JSON
        bool hasCode = false;     // 200 with this result code in the envelope
        int code = 0;
        QString message;
        int delayMs = 0;          // wait before answering
        bool hang = false;        // no answer at all until a reset
        qint64 stallAfter = -1;   // send that many body bytes, then go silent
        qint64 dropAfter = -1;    // send that many body bytes, then close
        bool ignoreRange = false; // answer a range request with the whole file
        bool refuseRange = false; // answer a range request with 416 "bytes */size"
        qint64 rangeShift = 0;    // a 206 that starts this many bytes off the asked start
        bool omitContentRange = false; // a 206 without Content-Range
        bool noValidators = false;     // neither ETag nor Last-Modified
        QString redirect;              // answer 302 (or the 3xx of "status") to this address
        bool chunked = false;     // no Content-Length, chunked transfer coding
        bool closeDelimited = false; // no Content-Length, no chunks: the close ends the body
        qint64 announceLength = -1;  // announce this Content-Length, send the body, then close
        int chunkSize = 0;        // send the body in pieces of this size...
        int chunkDelayMs = 0;     // ...with this pause between them
        int remaining = -1;       // uses left; -1 for unlimited
        QJsonObject spec;         // as given, for the log
    };

    // false and a reason when the rule is not understood.
    bool add(const QJsonObject &spec, QString *error);
    void clear();
    // The rule for this request, used up by one if counted.
    bool take(const QString &method, const QString &path, Fault *fault);
    QJsonArray list() const;

    static bool parse(const QJsonObject &spec, Fault *fault, QString *error);

private:
    mutable std::mutex mMutex;
    QVector<Fault> mFaults;
};
