#pragma once

#include "HistoryRecord.h"

#include <QList>
#include <QString>

// The update history in the data folder: one JSON line per finished
// install, appended to "UpdateHistory.jsonl". Once that file would pass
// about 1 MiB it becomes "UpdateHistory.1.jsonl" (replacing the one
// before) and a new one starts, so the history never takes more than about
// 2 MiB. Only regular files are read or written, and of each only the last
// ReadLimit bytes are read: a history put in place by someone else (a FIFO,
// a huge file) can neither hold nor slow the page that shows it.
class UpdateHistory
{
public:
    static constexpr qint64 RotateSize = 1 << 20;
    static constexpr qint64 ReadLimit = 4 << 20;

    // `folder` empty: the data folder.
    explicit UpdateHistory(const QString &folder = QString());

    QString path() const { return mPath; }
    QString olderPath() const { return mOlderPath; }

    bool append(const HistoryRecord &record);
    // The records of the card `serial`, newest first. Lines that are not
    // records (cut short by a crash, say) are passed over.
    QList<HistoryRecord> recordsOf(const QString &serial) const;

private:
    QString mPath;
    QString mOlderPath;
};
