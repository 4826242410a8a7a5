#pragma once

#include "Card.h"
#include "SoftwareDataWrap.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// What must hold before an upgrade starts: no uninstall running, something
// selected, and room for the downloads on the data folder's disk and for
// the unpacked software on the card, each keeping a reserve.
class UpgradeCheck
{
    Q_DECLARE_TR_FUNCTIONS(UpgradeCheck)
public:
    static constexpr qint64 Reserve = 524288000; // 500 MiB on each disk
    static constexpr int CardFactor = 5;         // unpacked size over archive size

    enum Result { Pass, Uninstalling, NothingSelected, LocalSpace, CardSpace, NoCard };

    struct Outcome
    {
        Result result = Pass;
        QString text; // what the user is told; empty on Pass
        qint64 totalSize = 0;
        bool asNotification() const { return result == NothingSelected; }
    };

    // `dataFolder` holds the downloads; `card` is the selected card (null
    // when there is none). Free space comes from the platform layer.
    static Outcome run(bool uninstalling, const QList<SoftwareDataWrap> &selection, const QString &dataFolder,
                       const Card &card);

    // True when `freeBytes` keeps the reserve after `needed` bytes.
    static bool hasRoom(qint64 freeBytes, qint64 needed);
};
