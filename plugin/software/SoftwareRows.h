#pragma once

#include "Package.h"
#include "SoftwareDataWrap.h"

#include <QList>
#include <QString>
#include <QStringList>

class VehicleData;

// The rules of the software list: what a row says is installed, whether it
// starts ticked, how rows sort, what each cell shows and what a tick with a
// chosen version hands on to the download.
class SoftwareRows
{
public:
    // Three significant digits, B to TB, no separator ("1.5MB"); empty for 0.
    static QString sizeText(qint64 bytes);

    // OS, APP, HOME, FIRMWARE and COMTXTLIB rows cannot be unticked.
    static bool isRequiredType(const QString &softType);
    // Position of a soft type in the sort order; other types come last.
    static int typeRank(const QString &softType);

    // One row per package, with its installed version, tick and required
    // flag. `ownVersion` is this program's version, for the "Ostrel" row.
    static QList<SoftwareDataWrap> build(const QList<SoftwareData> &list,
                                         const QList<VehicleData> &catalogue,
                                         const QString &ownVersion);
    static void resolveInstalled(SoftwareDataWrap &row, const QList<VehicleData> &catalogue,
                                 const QString &ownVersion);

    // Ticked first, then by soft type, then by name (Chinese collation for
    // the Chinese software languages).
    static void sort(QList<SoftwareDataWrap> &rows, const QString &serviceLanguage);

    // The card holds an older version than the service offers, or none.
    static bool isOutdated(const SoftwareDataWrap &row);
    // What a row's state says before a batch.
    enum class Standing { NotInstalled, UpdateAvailable, UpToDate };
    static Standing standingOf(const SoftwareDataWrap &row);
    // Whether the header's select-all box may change this row.
    static bool followsHeader(const SoftwareDataWrap &row);

    // What a row shows: its name, the installed and offered version, the
    // size, and the versions its drop-down lists.
    struct Cells
    {
        QString name;
        QString current;
        QString version;
        QString size;
        QStringList choices;
    };
    static Cells cellsOf(const SoftwareDataWrap &row);
    // Size text for a version chosen in the row's drop-down.
    static QString sizeTextFor(const SoftwareDataWrap &row, const QString &version);

    // What the ticked rows hand to the download: for each ticked row the
    // record of the version chosen in it (`chosen` holds one text per row).
    // A patch row yields a copy whose patch list is just the chosen patch.
    // A record whose id (or patch id) is already taken is left out.
    // `leftOut`, when given, counts the ticked records left out.
    static QList<SoftwareDataWrap> collect(const QList<SoftwareDataWrap> &rows, const QStringList &chosen,
                                           int *leftOut = nullptr);
    // The record of the version `text` chosen in `row`: a chain keeps only
    // the chosen patch; a history version keeps what the card holds.
    static SoftwareDataWrap chosenRecord(const SoftwareDataWrap &row, const QString &text);
    // The packages of a selection for `card`, each with the folder of the
    // card's catalogue it replaces: what an upgrade carries to the card.
    static QList<UpgradeItem> items(const QList<SoftwareDataWrap> &selection, const Card &card,
                                    const QList<VehicleData> &catalogue);
    // Bytes the selection downloads: each record, plus its patch if it has
    // one. Saturates instead of overflowing.
    static qint64 totalSize(const QList<SoftwareDataWrap> &selection);
};
