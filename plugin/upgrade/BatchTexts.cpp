#include "BatchTexts.h"

#include "DownloadBatch.h"
#include "TransferRate.h"
#include "UpgradeController.h"

#include <QCoreApplication>
#include <QStringList>

QString BatchTexts::summary(const UpgradeController &controller)
{
    const DownloadBatch &batch = controller.batch();
    // Everything written is on the card by now, whatever failed.
    const QString removable =
        controller.cardMayBeRemoved()
            ? QLatin1Char('\n') + QCoreApplication::translate("DownloadWidget", "The SD card can now be removed.")
            : QString();
    if (!batch.hasFailed()) {
        // The program's own update is not on the card: whether its installer
        // opened or it was declined is said as such.
        QString others;
        for (int i = 0; i < batch.size(); ++i) {
            const int state = batch.row(i).state;
            if (state != DownloadBatch::Done)
                others += QLatin1Char('\n')
                          + QCoreApplication::translate("DownloadWidget", "%1: %2")
                                .arg(batch.row(i).item.shown().name, DownloadBatch::stateText(state));
        }
        if (others.isEmpty())
            return QCoreApplication::translate("DownloadWidget", "All software downloads are successfully installed!")
                   + removable;
        return QCoreApplication::translate("DownloadWidget", "The update has ended.") + others + removable;
    }
    QString text =
        QCoreApplication::translate("DownloadWidget", "Failed to download/install some software. Please try again.");
    for (int i = 0; i < batch.size(); ++i) {
        const DownloadBatch::Row &row = batch.row(i);
        if (DownloadBatch::isFailed(row.state) && !row.reason.isEmpty())
            text += QLatin1Char('\n')
                    + QCoreApplication::translate("DownloadWidget", "%1: %2").arg(row.item.shown().name, row.reason);
    }
    return text + removable;
}

QString BatchTexts::cardNotice(const UpgradeController &controller)
{
    // Only while there is something the card's return lets go on.
    if (!controller.batch().hasFailed())
        return QString();
    switch (controller.cardState()) {
    case UpgradeController::CardState::In: break;
    case UpgradeController::CardState::Removed:
        return QCoreApplication::translate("DownloadWidget", "The SD card was removed. Put it back and press Retry.");
    case UpgradeController::CardState::Returned:
        return QCoreApplication::translate("DownloadWidget", "The SD card is back. Press Retry to finish the update.");
    case UpgradeController::CardState::Foreign:
        return QCoreApplication::translate("DownloadWidget",
                                           "This SD card (%1) is not the card of this update. Put back the SD card %2.")
            .arg(controller.foreignCard().serialNumber(), controller.card().serialNumber());
    }
    return QString();
}

QString BatchTexts::rate(const UpgradeController &controller)
{
    // The batch's speed is what its rows fetch now: a row that is done no
    // longer counts, so the time left is not told from a faster past.
    double total = -1;
    for (int i = 0; i < controller.batch().size(); ++i) {
        const double speed = controller.rowSpeed(i);
        if (speed >= 0)
            total = qMax(0.0, total) + speed;
    }
    // Reading back is part of the batch too: its speed, and its share of
    // the time left.
    const double reading = controller.readBackSpeed();
    if (total < 0 && reading < 0)
        return QString();
    QStringList parts;
    if (total >= 0)
        parts << TransferRate::speedText(total);
    if (reading >= 0)
        parts << QCoreApplication::translate("DownloadWidget", "verifying %1").arg(TransferRate::speedText(reading));
    const QString left = TransferRate::timeLeftText(controller.secondsLeft());
    if (!left.isEmpty())
        parts << left;
    return parts.join(QStringLiteral("  \u00B7  "));
}
