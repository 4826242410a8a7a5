#pragma once

#include "Card.h"

#include <QObject>
#include <QRunnable>
#include <QString>

#include <atomic>

// Installs one downloaded archive onto the card, as a job of the download
// page's pool. The archive is unpacked into a staging folder on the card and
// only swapped in, replacing the old version's folder when asked to, once
// every entry is written and checked (see StagedInstall); a bad archive, a
// cancel or a failed write leaves the card as it was. Progress counts the
// entries unpacked. Every run ends with exactly one installFinished.
class InstallRunnable : public QObject, public QRunnable
{
    Q_OBJECT

public:
    InstallRunnable(long id, const QString &archivePath, QObject *parent = nullptr);

    // The card the archive is unpacked onto, at its root.
    void setCard(const Card &card) { mCard = card; }
    void setOldVersionFolder(const QString &folder) { mOldVersionFolder = folder; }
    void setDeleteArchive(bool on) { mDeleteArchive = on; }
    void setDeleteOldFirst(bool on) { mDeleteOldFirst = on; }
    void cancel() { mCancelled = true; }

    long id() const { return mId; }
    QString archivePath() const { return mArchivePath; }
    Card card() const { return mCard; }
    QString targetFolder() const { return mCard.root(); }
    QString oldVersionFolder() const { return mOldVersionFolder; }
    bool deleteArchive() const { return mDeleteArchive; }
    bool deleteOldFirst() const { return mDeleteOldFirst; }
    // 0 created, 1 started, 2 unpacking, 3 ended.
    int state() const { return mState; }
    // Why the last run failed; read after installFinished.
    QString errorString() const { return mError; }

    void run() override;

signals:
    void installStarted(long id);
    void installFinished(long id, bool result, QString targetFolder);
    void installProgress(long id, qint64 progress, qint64 total);

private:
    bool install();

    long mId;
    QString mArchivePath;
    Card mCard;
    QString mOldVersionFolder;
    bool mDeleteArchive = false;
    bool mDeleteOldFirst = false;
    std::atomic<int> mState{0};
    std::atomic<bool> mCancelled{false};
    QString mError;
};
