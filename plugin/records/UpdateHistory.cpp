#include "UpdateHistory.h"

#include "AppPaths.h"
#include "RecordsLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

UpdateHistory::UpdateHistory(const QString &folder)
{
    const QString dir = folder.isEmpty() ? AppPaths::dataDir() : folder;
    mPath = AppPaths::join(dir, QStringLiteral("UpdateHistory.jsonl"));
    mOlderPath = AppPaths::join(dir, QStringLiteral("UpdateHistory.1.jsonl"));
}

bool UpdateHistory::append(const HistoryRecord &record)
{
    const QByteArray line = QJsonDocument(record.toJson()).toJson(QJsonDocument::Compact) + '\n';
    const QFileInfo info(mPath);
    QDir().mkpath(info.absolutePath());
    if (info.exists() && info.size() + line.size() > RotateSize) {
        QFile::remove(mOlderPath);
        if (!QFile::rename(mPath, mOlderPath))
            QFile::remove(mPath); // a history that cannot rotate must not grow for ever
    }
    QFile file(mPath);
    // One write of a whole line: a crash leaves at most that line cut short.
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(line) == line.size();
    if (!ok)
        qCDebug(lcRecords).noquote() << "history not written:" << mPath << file.errorString();
    return ok;
}

QList<HistoryRecord> UpdateHistory::recordsOf(const QString &serial) const
{
    QList<HistoryRecord> records;
    for (const QString &path : {mOlderPath, mPath}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.isEmpty())
                continue;
            const HistoryRecord record = HistoryRecord::fromJson(QJsonDocument::fromJson(line).object());
            if (record.isNull())
                qCDebug(lcRecords) << "not a history record:" << line.left(80);
            else if (record.serial == serial)
                records.append(record);
        }
    }
    // Newest first, and of two at the same moment the one written last.
    std::reverse(records.begin(), records.end());
    std::stable_sort(records.begin(), records.end(),
                     [](const HistoryRecord &a, const HistoryRecord &b) { return a.time > b.time; });
    return records;
}
