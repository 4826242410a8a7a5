#include "InstallRunnable.h"

#include "CardFs.h"
#include "DirWalker.h"
#include "InstallLog.h"
#include "SpaceReservations.h"
#include "StagedInstall.h"
#include "Vehicles.h"

#include <QFile>

#include <unistd.h>

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

void InstallRunnable::cancel()
{
    mCancelled = true;
    SpaceReservations::instance().wakeAll();
}

void InstallRunnable::setListed(const QString &folderName, const QString &folder, const QString &version)
{
    mCheckListed = true;
    mListedName = folderName;
    mListedFolder = folder;
    mListedVersion = version;
}

bool InstallRunnable::cardAsListed()
{
    if (!mCheckListed)
        return true;
    if (!mListedFolder.isEmpty()) {
        // Never over another version than the one the mechanic saw.
        const int rootFd = CardFs::openRoot(mCard.root());
        QByteArray content;
        const bool read = rootFd >= 0
                          && DirWalker::readFileAt(rootFd, CardFs::encodeName(mListedFolder + QStringLiteral("version.txt")),
                                                   content, 4096);
        if (rootFd >= 0)
            ::close(rootFd);
        if (read && QString::fromUtf8(content).trimmed() == mListedVersion.trimmed())
            return true;
        return failWith(Failure::CardChanged, QStringLiteral("%1 no longer holds version %2").arg(mListedFolder, mListedVersion));
    }
    // Nothing of it was listed: nothing of it may be there now either.
    Vehicles catalogue(mCard);
    catalogue.ScanVehicles(mCard.vehiclesPath(), false);
    for (const VehicleData &record : qAsConst(catalogue.mDatas)) {
        if (record.mDirName.compare(mListedName, Qt::CaseInsensitive) == 0)
            return failWith(Failure::CardChanged, QStringLiteral("the card now holds %1 at %2").arg(mListedName, record.mDirPath));
    }
    return true;
}

bool InstallRunnable::failWith(Failure failure, const QString &error)
{
    mFailure = failure;
    mError = error;
    return false;
}

bool InstallRunnable::install()
{
    mError.clear();
    mFailure = Failure::None;
    mInstalledFolder.clear();
    mFiles.clear();
    mBytes = 0;
    mVerified = false;
    mCardSynced = true;
    if (mCard.isNull())
        return failWith(Failure::NoCard, QStringLiteral("no target folder"));
    if (!cardAsListed())
        return false;
    StagedInstall install(mCard);
    if (mDeleteOldFirst && !mOldVersionFolder.isEmpty())
        install.setOldFolder(mOldVersionFolder);
    bool ok = install.begin();
    bool unreadable = false;
    QString folder;
    if (ok && !mArchivePath.isEmpty()) {
        ok = install.openArchive(mArchivePath);
        unreadable = !ok;
        qCDebug(lcInstall).noquote() << "error: " << (ok ? QStringLiteral("0") : install.errorString())
                                     << ", count: " << install.count();
        if (ok) {
            // Before anything is written or anything installed is touched.
            QString reason;
            switch (mExpectation.check(install.extractor(), mCard, &folder, &reason)) {
            case ArchiveExpectation::Verdict::Holds: break;
            case ArchiveExpectation::Verdict::NotThePackage: ok = failWith(Failure::NotThePackage, reason); break;
            case ArchiveExpectation::Verdict::WrongVersion: ok = failWith(Failure::WrongVersion, reason); break;
            case ArchiveExpectation::Verdict::Broken: ok = failWith(Failure::Archive, reason); break;
            }
        }
        ok = ok && install.reserveSpace(&mCancelled);
        const int count = install.count();
        // Whole percents: a package of thousands of files would otherwise
        // send as many reports to the page.
        int shown = -1;
        for (int i = 0; ok && i < count; ++i) {
            mState = 2;
            ok = !mCancelled && install.unpack(i, &mCancelled);
            if (ok)
                mBytes += install.extractor().entry(i).size;
            const int percent = int(qint64(i + 1) * 100 / count);
            if (ok && percent != shown) {
                shown = percent;
                emit installProgress(mId, i + 1, count);
            }
        }
        shown = -1;
        ok = ok && !mCancelled && install.verify(&mCancelled, [this, &shown](quint64 done, quint64 total) {
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            if (percent == shown)
                return;
            shown = percent;
            emit verifyProgress(mId, qint64(done), qint64(total));
        });
    } else if (ok && !mExpectation.isNone()) {
        ok = failWith(Failure::NotThePackage, QStringLiteral("no archive to install"));
    }
    ok = ok && !mCancelled && install.commit(&mCancelled);
    if (!ok) {
        if (mFailure == Failure::None) {
            Failure failure = Failure::Card;
            if (mCancelled || install.wasCancelled())
                failure = Failure::Cancelled;
            else if (install.isCardMissing())
                failure = Failure::NoCard;
            else if (install.isCardUntrue())
                failure = install.isCardUnreadable() ? Failure::ReadBack : Failure::Verify;
            else if (install.isArchiveBroken() || (unreadable && !install.isOutOfSpace()))
                failure = Failure::Archive;
            else if (install.isOutOfSpace())
                failure = Failure::Space;
            failWith(failure, failure == Failure::Cancelled ? QStringLiteral("cancelled") : install.errorString());
        }
        install.abort();
        mCardSynced = install.isCardSynced();
        // An archive that is broken or not the package would fail every
        // retry the same way, and the download would take the file already
        // here for finished: remove it so that the next attempt fetches the
        // archive again.
        const bool refetch = mFailure == Failure::NotThePackage || mFailure == Failure::WrongVersion
                             || (mFailure == Failure::Archive && install.isArchiveBroken());
        if (refetch && !mArchivePath.isEmpty()) {
            qCDebug(lcInstall).noquote() << "removing the archive" << mArchivePath;
            QFile::remove(mArchivePath);
        }
        return false;
    }
    mInstalledFolder = folder;
    mFiles = install.files();
    mVerified = true;
    mCardSynced = install.isCardSynced();
    if (!mArchivePath.isEmpty())
        emit installProgress(mId, 100, 100);
    if (mDeleteArchive && !mArchivePath.isEmpty())
        QFile::remove(mArchivePath);
    return true;
}
