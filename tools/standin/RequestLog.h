#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <mutex>
#include <QString>
#include <QVector>

// Every request the service saw, in arrival order: method, path, the raw
// query and body exactly as received, the headers, and the answer's status.
// Kept in memory for GET /control/log and, with --log, appended to a file
// as one JSON object per line.
class RequestLog
{
public:
    explicit RequestLog(const QString &filePath = QString());

    bool isFileOpen() const { return mFile.isOpen(); }

    // Records the request and returns its sequence number.
    int add(QJsonObject entry);
    // Completes the entry once the answer is known (status, applied fault).
    void finish(int seq, int status, const QJsonObject &fault);

    QJsonArray entries() const;
    void clear();

private:
    mutable std::mutex mMutex;
    QVector<QJsonObject> mEntries;
    int mFirstSeq = 1; // sequence number of mEntries[0]
    int mNextSeq = 1;
    QFile mFile;
};
