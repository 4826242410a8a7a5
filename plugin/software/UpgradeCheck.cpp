#include "UpgradeCheck.h"

#include "Platform.h"
#include "SoftwareLog.h"
#include "SoftwareRows.h"
#include "Volumes.h"

#include <limits>

namespace {
bool freeSpace(const QString &path, qint64 *freeBytes)
{
    qint64 total = 0;
    Platform *platform = Platform::instance();
    Volumes *volumes = platform ? platform->volumes() : nullptr;
    if (path.isEmpty() || !volumes || !volumes->space(path, freeBytes, &total)) {
        qCDebug(lcSoftware) << "ERROR: Call to GetDiskFreeSpaceEx() failed.";
        return false;
    }
    return true;
}
} // namespace

bool UpgradeCheck::hasRoom(qint64 freeBytes, qint64 needed)
{
    return freeBytes >= Reserve && freeBytes - Reserve >= needed;
}

UpgradeCheck::Outcome UpgradeCheck::run(bool uninstalling, const QList<SoftwareDataWrap> &selection,
                                        const QString &dataFolder, const Card &card)
{
    Outcome outcome;
    if (uninstalling) {
        qCDebug(lcSoftware) << "onUpgrade : isUninstalling...";
        outcome.result = Uninstalling;
        outcome.text = tr("Uninstalling softwares, please wait a moment!");
        return outcome;
    }
    if (selection.isEmpty()) {
        outcome.result = NothingSelected;
        outcome.text = tr("Please select a software to download!");
        return outcome;
    }
    outcome.totalSize = SoftwareRows::totalSize(selection);

    qint64 localFree = 0;
    if (freeSpace(dataFolder, &localFree) && !hasRoom(localFree, outcome.totalSize)) {
        outcome.result = LocalSpace;
        outcome.text = tr("Local disk space is insufficient, please clean up first and try again.");
        return outcome;
    }

    qint64 cardFree = 0;
    if (!freeSpace(card.root(), &cardFree)) {
        outcome.result = NoCard;
        outcome.text = tr("No U disk was found. Please check and try again.");
        return outcome;
    }
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    const qint64 unpacked = outcome.totalSize > max / CardFactor ? max : outcome.totalSize * CardFactor;
    if (!hasRoom(cardFree, unpacked)) {
        outcome.result = CardSpace;
        outcome.text = tr("U disk space is insufficient, please clean up first and try again.");
        return outcome;
    }
    return outcome;
}
