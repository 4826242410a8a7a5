#include "RequestLog.h"

#include <QJsonDocument>

RequestLog::RequestLog(const QString &filePath)
{
    if (!filePath.isEmpty()) {
        mFile.setFileName(filePath);
        mFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
}

int RequestLog::add(QJsonObject entry)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const int seq = mNextSeq++;
    entry.insert(QStringLiteral("seq"), seq);
    mEntries.append(entry);
    return seq;
}

void RequestLog::finish(int seq, int status, const QJsonObject &fault)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const int index = seq - mFirstSeq;
    if (index < 0 || index >= mEntries.size())
        return; // cleared meanwhile
    QJsonObject &entry = mEntries[index];
    entry.insert(QStringLiteral("status"), status);
    if (!fault.isEmpty())
        entry.insert(QStringLiteral("fault"), fault);
    if (mFile.isOpen()) {
        mFile.write(QJsonDocument(entry).toJson(QJsonDocument::Compact));
        mFile.write("\n");
        mFile.flush();
    }
}

QJsonArray RequestLog::entries() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    QJsonArray out;
    for (const QJsonObject &entry : mEntries)
        out.append(entry);
    return out;
}

void RequestLog::clear()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mEntries.clear();
    mFirstSeq = mNextSeq;
}
