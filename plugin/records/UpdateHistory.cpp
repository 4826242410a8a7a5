#include "UpdateHistory.h"

#include "AppPaths.h"
#include "RecordsLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Opens `path` without waiting on whatever stands there; only a regular
// file is kept (a FIFO or a device would hold the caller, or never end).
// -1 otherwise.
int openRegular(const QString &path, int flags)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        qCDebug(lcRecords).noquote() << "history is not a plain file:" << path;
        ::close(fd);
        return -1;
    }
    return fd;
}

// The whole lines of the last `UpdateHistory::ReadLimit` bytes of a file.
QList<QByteArray> lastLines(const QString &path)
{
    const int fd = openRegular(path, O_RDONLY);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    // One byte before the part read tells whether its first line is whole.
    const qint64 start = qMax<qint64>(0, file.size() - UpdateHistory::ReadLimit - 1);
    if (!file.seek(start))
        return {};
    QByteArray bytes = file.read(UpdateHistory::ReadLimit + 1);
    if (start > 0) {
        const int end = bytes.indexOf('\n');
        bytes = end < 0 ? QByteArray() : bytes.mid(end + 1);
    }
    return bytes.split('\n');
}
} // namespace

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
    const int fd = openRegular(mPath, O_WRONLY | O_APPEND | O_CREAT);
    QFile file;
    if (fd >= 0 && !file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle))
        ::close(fd);
    // One write of a whole line: a crash leaves at most that line cut short.
    const bool ok = file.isOpen() && file.write(line) == line.size() && file.flush();
    if (!ok)
        qCDebug(lcRecords).noquote() << "history not written:" << mPath << file.errorString();
    return ok;
}

QList<HistoryRecord> UpdateHistory::recordsOf(const QString &serial) const
{
    QList<HistoryRecord> records;
    for (const QString &path : {mOlderPath, mPath}) {
        for (QByteArray line : lastLines(path)) {
            line = line.trimmed();
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
