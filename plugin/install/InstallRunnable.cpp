#include "InstallRunnable.h"

#include "InstallLog.h"
#include "StagedInstall.h"

#include <QFile>

InstallRunnable::InstallRunnable(long id, const QString &archivePath, QObject *parent)
    : QObject(parent)
    , mId(id)
    , mArchivePath(archivePath)
{
}

void InstallRunnable::run()
{
    emit installStarted(mId);
    mState = 1;
    const bool ok = install();
    if (!ok)
        qCDebug(lcInstall).noquote() << "install failed:" << mId << mError;
    mState = 3;
    emit installFinished(mId, ok, mCard.root());
}

bool InstallRunnable::install()
{
    if (mCard.isNull()) {
        mError = QStringLiteral("no target folder");
        return false;
    }
    StagedInstall install(mCard);
    if (mDeleteOldFirst && !mOldVersionFolder.isEmpty())
        install.setOldFolder(mOldVersionFolder);
    bool ok = install.begin();
    if (ok && !mArchivePath.isEmpty()) {
        ok = install.openArchive(mArchivePath);
        qCDebug(lcInstall).noquote() << "error: " << (ok ? QStringLiteral("0") : install.errorString())
                                     << ", count: " << install.count();
        const int count = install.count();
        for (int i = 0; ok && i < count; ++i) {
            mState = 2;
            ok = !mCancelled && install.unpack(i, &mCancelled);
            if (ok)
                emit installProgress(mId, i + 1, count);
        }
    }
    ok = ok && !mCancelled && install.commit(&mCancelled);
    if (!ok) {
        mError = mCancelled ? QStringLiteral("cancelled") : install.errorString();
        install.abort();
        // A broken archive would fail every retry the same way, and the
        // download would take the file already here for finished: remove it
        // so that the next attempt fetches the archive again.
        if (!mCancelled && install.isArchiveBroken() && !mArchivePath.isEmpty()) {
            qCDebug(lcInstall).noquote() << "removing the broken archive" << mArchivePath;
            QFile::remove(mArchivePath);
        }
        return false;
    }
    if (!mArchivePath.isEmpty())
        emit installProgress(mId, 100, 100);
    if (mDeleteArchive && !mArchivePath.isEmpty())
        QFile::remove(mArchivePath);
    return true;
}
