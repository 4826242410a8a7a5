#include "CardCheck.h"

#include "CardFs.h"
#include "CardReadBack.h"
#include "RecordsLog.h"
#include "StagingRepair.h"
#include "Vehicles.h"

#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Whether the card is still there to be read: a read that fails because
// the card was pulled says nothing about the files on it.
bool cardThere(const Card &card)
{
    QFile sn(card.root() + QStringLiteral("sn.txt"));
    return sn.open(QIODevice::ReadOnly) && !sn.read(13).isEmpty();
}
} // namespace

CardCheck::CardCheck(QObject *parent)
    : QObject(parent)
{
}

CardCheck::~CardCheck()
{
    stop();
    if (mThread) {
        mThread->wait();
        delete mThread;
    }
}

void CardCheck::start(const Card &card)
{
    if (mThread)
        return;
    mStop = false;
    mFindings.clear();
    mEnd = End::None;
    const ManifestStore store = mStore;
    mThread = QThread::create([this, card, store] {
        int shown = -1;
        End end = End::None;
        const QList<Finding> findings = run(
            card, store, &mStop,
            [this, &shown](qint64 done, qint64 total) {
                const int percent = total > 0 ? int(done * 100 / total) : 100;
                if (percent == shown)
                    return;
                shown = percent;
                QMetaObject::invokeMethod(
                    this, [this, done, total] { emit progress(done, total); }, Qt::QueuedConnection);
            },
            &end);
        QMetaObject::invokeMethod(
            this, [this, findings, end] { onEnded(findings, end); }, Qt::QueuedConnection);
    });
    mThread->start();
}

void CardCheck::stop()
{
    mStop = true;
}

void CardCheck::onEnded(const QList<Finding> &findings, End end)
{
    if (mThread) {
        mThread->wait();
        delete mThread;
        mThread = nullptr;
    }
    mFindings = findings;
    mEnd = end;
    emit finished();
}

QList<CardCheck::Finding> CardCheck::run(const Card &card, const ManifestStore &store, const std::atomic<bool> *stop,
                                         const std::function<void(qint64, qint64)> &progress, End *end)
{
    QList<Finding> findings;
    *end = End::CardGone;
    const int rootFd = card.isNull() ? -1 : CardFs::openRoot(card.root());
    if (rootFd < 0)
        return findings;
    // A half-done swap would look like damage.
    StagingRepair::repairAt(rootFd);
    Vehicles vehicles(card);
    vehicles.ScanVehicles(card.vehiclesPath(), false);
    qCDebug(lcRecords).noquote() << "catalogue of" << card.root() << ":" << vehicles.mDatas.size() << "packages";

    // What is recorded of each package, and how much there is to read.
    QList<InstallManifest> manifests;
    qint64 total = 0;
    for (const VehicleData &record : qAsConst(vehicles.mDatas)) {
        Finding finding;
        QByteArray relative;
        CardFs::relativePath(card.root(), record.mDirPath, &relative);
        finding.folder = CardFs::decodeName(relative);
        while (finding.folder.endsWith(QLatin1Char('/')))
            finding.folder.chop(1);
        finding.name = record.DisplayName().isEmpty() ? record.mDirName : record.DisplayName();
        finding.softId = record.mDirName;
        finding.version = record.mVersion;
        InstallManifest manifest = store.find(card.serialNumber(), finding.folder, record.mVersion);
        if (manifest.isNull()) {
            const InstallManifest other = store.any(card.serialNumber(), finding.folder);
            if (!other.isNull()) {
                finding.verdict = Verdict::Changed;
                finding.recordedVersion = other.version;
                finding.softId = other.softId;
            }
        } else {
            finding.verdict = Verdict::Intact;
            finding.recordedVersion = manifest.version;
            finding.softId = manifest.softId;
            if (!manifest.name.isEmpty())
                finding.name = manifest.name;
            for (const InstalledFile &file : qAsConst(manifest.files))
                total += qint64(file.size);
        }
        findings.append(finding);
        manifests.append(manifest);
    }

    qint64 done = 0;
    if (progress)
        progress(0, total);
    CardReadBack reader(stop);
    *end = End::Checked;
    for (int i = 0; i < findings.size() && *end == End::Checked; ++i) {
        Finding &finding = findings[i];
        QStringList damaged;
        QStringList changed;
        for (const InstalledFile &file : qAsConst(manifests.at(i).files)) {
            if (stop && stop->load()) {
                *end = End::Stopped;
                break;
            }
            const QByteArray path = CardFs::encodeName(file.path);
            const qint64 before = done;
            struct stat st;
            CardReadBack::Sum sum;
            auto outcome = CardReadBack::Outcome::Missing;
            // Written since (or gone): another tool's doing, not the card's.
            if (CardFs::statAt(rootFd, path, &st) && S_ISREG(st.st_mode) && quint64(st.st_size) == file.size
                && CardReadBack::sameTime(file.mtime, qint64(st.st_mtim.tv_sec))) {
                outcome = reader.read(rootFd, path, &sum, [&](quint64 bytes) {
                    done += qint64(bytes);
                    if (progress)
                        progress(done, total);
                });
            }
            if (outcome == CardReadBack::Outcome::Cancelled) {
                *end = End::Stopped;
                break;
            }
            if (outcome != CardReadBack::Outcome::Read && !cardThere(card)) {
                *end = End::CardGone;
                break;
            }
            if (outcome == CardReadBack::Outcome::Missing)
                changed << file.path;
            else if (outcome == CardReadBack::Outcome::Failed || sum.size != file.size || sum.crc != file.crc)
                damaged << file.path;
            done = before + qint64(file.size);
            if (progress)
                progress(done, total);
        }
        if (!damaged.isEmpty()) {
            finding.verdict = Verdict::Damaged;
            finding.files = damaged;
        } else if (!changed.isEmpty()) {
            finding.verdict = Verdict::Changed;
            finding.files = changed;
        }
        qCDebug(lcRecords).noquote() << "checked" << finding.folder << int(finding.verdict) << finding.files;
    }
    ::close(rootFd);
    if (*end != End::Checked)
        findings.clear();
    return findings;
}
