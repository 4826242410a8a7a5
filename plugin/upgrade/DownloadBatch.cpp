#include "DownloadBatch.h"

#include <QtGlobal>

void DownloadBatch::setRows(const QList<long> &ids, const QList<long> &patchIds)
{
    mRows.clear();
    mRows.reserve(ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        Row row;
        row.id = ids.at(i);
        row.patchId = i < patchIds.size() ? patchIds.at(i) : 0;
        mRows.append(row);
    }
}

int DownloadBatch::rowOf(long id) const
{
    for (int i = 0; i < mRows.size(); ++i) {
        if (mRows.at(i).id == id || (mRows.at(i).patchId != 0 && mRows.at(i).patchId == id))
            return i;
    }
    return -1;
}

bool DownloadBatch::isChainBase(long id) const
{
    const int i = rowOf(id);
    return i >= 0 && mRows.at(i).patchId != 0 && mRows.at(i).id == id;
}

bool DownloadBatch::isChainPatch(long id) const
{
    const int i = rowOf(id);
    return i >= 0 && mRows.at(i).patchId == id && mRows.at(i).id != id;
}

void DownloadBatch::startAll()
{
    for (Row &row : mRows) {
        row.state = Waiting;
        row.progress = 0;
        row.active = true;
    }
}

int DownloadBatch::report(long id, int state, int percent)
{
    const int i = rowOf(id);
    if (i < 0)
        return -1;
    Row &row = mRows[i];
    percent = qBound(0, percent, 100);
    const bool running = state == Waiting || state == Downloading || state == InstallStarted || state == Installing;
    if (row.patchId != 0 && running)
        percent = row.id == id ? percent * 50 / 100 : percent * 50 / 100 + 50;
    row.state = state;
    row.progress = percent;
    if (isFinal(state))
        row.active = false;
    return i;
}

QList<long> DownloadBatch::retryFailed()
{
    QList<long> ids;
    for (Row &row : mRows) {
        if (isFailed(row.state)) {
            row.active = true;
            ids << row.id;
        }
    }
    return ids;
}

QList<int> DownloadBatch::interrupt()
{
    QList<int> changed;
    for (int i = 0; i < mRows.size(); ++i) {
        Row &row = mRows[i];
        if (!row.active && isFinal(row.state))
            continue;
        row.active = false;
        if (isFinal(row.state))
            continue; // a retried row that had not reported yet
        row.state = row.state == Waiting || row.state == Downloading ? DownloadFailed : InstallFailed;
        row.progress = 0;
        changed << i;
    }
    return changed;
}

int DownloadBatch::doneCount() const
{
    int n = 0;
    for (const Row &row : mRows)
        n += row.state == Done ? 1 : 0;
    return n;
}

int DownloadBatch::failedCount() const
{
    int n = 0;
    for (const Row &row : mRows)
        n += isFailed(row.state) ? 1 : 0;
    return n;
}

bool DownloadBatch::isOver() const
{
    for (const Row &row : mRows) {
        if (row.active || !isFinal(row.state))
            return false;
    }
    return true;
}

QString DownloadBatch::stateText(int state)
{
    switch (state) {
    case Waiting:
    case Downloading:
        return tr("Download...");
    case Downloaded:
        return tr("Download Done");
    case DownloadFailed:
        return tr("Download Failed");
    case InstallStarted:
    case Installing:
        return tr("Decompress...");
    case Done:
        return tr("Done");
    case InstallFailed:
        return tr("Install Failed");
    default:
        return QString();
    }
}
