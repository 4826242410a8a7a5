#include "DownloadBatch.h"

#include <QHash>
#include <QtGlobal>

void DownloadBatch::setRows(const QList<UpgradeItem> &items)
{
    mRows.clear();
    mRows.reserve(items.size());
    for (const UpgradeItem &item : items) {
        Row row;
        row.item = item;
        mRows.append(row);
    }
}

int DownloadBatch::rowOf(long id) const
{
    if (id == 0)
        return -1;
    for (int i = 0; i < mRows.size(); ++i) {
        if (mRows.at(i).id() == id || mRows.at(i).patchId() == id)
            return i;
    }
    return -1;
}

bool DownloadBatch::isChainBase(long id) const
{
    const int i = rowOf(id);
    return i >= 0 && mRows.at(i).patchId() != 0 && mRows.at(i).id() == id;
}

bool DownloadBatch::isChainPatch(long id) const
{
    const int i = rowOf(id);
    return i >= 0 && mRows.at(i).patchId() == id && mRows.at(i).id() != id;
}

Package DownloadBatch::package(long id) const
{
    const int i = rowOf(id);
    if (i < 0)
        return Package();
    return mRows.at(i).id() == id ? mRows.at(i).item.package : mRows.at(i).item.patch;
}

void DownloadBatch::setUrl(long id, const QUrl &url)
{
    const int i = rowOf(id);
    if (i < 0)
        return;
    UpgradeItem &item = mRows[i].item;
    (item.package.id == id ? item.package : item.patch).url = url;
}

void DownloadBatch::setCard(const Card &card)
{
    for (Row &row : mRows) {
        row.item.package.card = card;
        if (row.item.hasPatch())
            row.item.patch.card = card;
    }
}

void DownloadBatch::startAll()
{
    for (Row &row : mRows) {
        row.state = Waiting;
        row.progress = 0;
        row.active = true;
    }
}

int DownloadBatch::report(long id, int state, int percent, const QString &reason)
{
    const int i = rowOf(id);
    if (i < 0)
        return -1;
    const bool running = state == Waiting || state == Downloading || state == InstallStarted || state == Installing
                         || state == Verifying;
    percent = qBound(0, percent, 100);
    if (mRows.at(i).patchId() != 0 && running)
        percent = mRows.at(i).id() == id ? percent * 50 / 100 : percent * 50 / 100 + 50;
    reportRow(i, state, percent, reason);
    return i;
}

void DownloadBatch::reportRow(int row, int state, int percent, const QString &reason)
{
    Row &r = mRows[row];
    r.state = state;
    r.progress = qBound(0, percent, 100);
    r.reason = isFailed(state) ? reason : QString();
    if (isFinal(state))
        r.active = false;
}

QList<int> DownloadBatch::clashingRows() const
{
    QHash<long, int> uses;
    for (const Row &row : mRows) {
        ++uses[row.id()];
        if (row.patchId() != 0)
            ++uses[row.patchId()];
    }
    QList<int> rows;
    for (int i = 0; i < mRows.size(); ++i) {
        const Row &row = mRows.at(i);
        if (uses.value(row.id()) > 1 || (row.patchId() != 0 && uses.value(row.patchId()) > 1))
            rows << i;
    }
    return rows;
}

QList<int> DownloadBatch::retryFailed()
{
    QList<int> rows;
    for (int i = 0; i < mRows.size(); ++i) {
        if (isFailed(mRows.at(i).state)) {
            mRows[i].active = true;
            rows << i;
        }
    }
    return rows;
}

QList<int> DownloadBatch::interrupt(const QString &reason, bool cardGone, const QList<int> &spared)
{
    QList<int> changed;
    for (int i = 0; i < mRows.size(); ++i) {
        if (spared.contains(i))
            continue;
        Row &row = mRows[i];
        if (!row.active && isFinal(row.state))
            continue;
        row.active = false;
        if (isFinal(row.state))
            continue; // a retried row that had not reported yet
        if (cardGone)
            row.state = CardRemoved;
        else
            row.state = row.state == Waiting || row.state == Downloading ? DownloadFailed : InstallFailed;
        row.progress = 0;
        row.reason = reason;
        changed << i;
    }
    return changed;
}

int DownloadBatch::doneCount() const
{
    int n = 0;
    for (const Row &row : mRows)
        n += isDone(row.state) ? 1 : 0;
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
    case Downloading: return tr("Download...");
    case Downloaded: return tr("Download Done");
    case DownloadFailed: return tr("Download Failed");
    case InstallStarted:
    case Installing: return tr("Decompress...");
    case Done: return tr("Done");
    case HandedOver: return tr("Installer opened");
    case Declined: return tr("Not installed");
    case InstallFailed: return tr("Install Failed");
    case CardRemoved: return tr("Card removed");
    case Verifying: return tr("Verifying...");
    default: return QString();
    }
}
