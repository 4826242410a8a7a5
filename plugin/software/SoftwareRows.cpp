#include "SoftwareRows.h"

#include "LanguageTable.h"
#include "SizeText.h"
#include "SoftwareLog.h"
#include "VehicleData.h"
#include "VersionOrder.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {
const char *const kRequiredTypes[] = {"OS", "APP", "HOME", "FIRMWARE", "COMTXTLIB"};
constexpr qint64 kMax = std::numeric_limits<qint64>::max();

const VehicleData *findRecord(const QList<VehicleData> &catalogue, const QString &dirName)
{
    for (const VehicleData &record : catalogue) {
        if (record.mDirName.compare(dirName, Qt::CaseInsensitive) == 0)
            return &record;
    }
    return nullptr;
}

qint64 addSaturated(qint64 a, qint64 b)
{
    return a > kMax - b ? kMax : a + b;
}
} // namespace

QString SoftwareRows::sizeText(qint64 bytes)
{
    return SizeText::of(bytes);
}

bool SoftwareRows::isRequiredType(const QString &softType)
{
    for (const char *type : kRequiredTypes) {
        if (softType == QLatin1String(type))
            return true;
    }
    return false;
}

int SoftwareRows::typeRank(const QString &softType)
{
    int rank = 0;
    for (const char *type : kRequiredTypes) {
        if (softType == QLatin1String(type))
            return rank;
        ++rank;
    }
    return rank;
}

void SoftwareRows::resolveInstalled(SoftwareDataWrap &row, const QList<VehicleData> &catalogue,
                                    const QString &ownVersion)
{
    const QString softId = row.getSoft_id();
    QString installed;
    if (softId.compare(QLatin1String("Ostrel"), Qt::CaseInsensitive) == 0) {
        installed = ownVersion;
    } else if (softId.compare(QLatin1String("COMTXTLIB"), Qt::CaseInsensitive) == 0) {
        if (const VehicleData *record = findRecord(catalogue, QStringLiteral("Public")))
            installed = record->mVersion;
    } else if (const VehicleData *record = findRecord(catalogue, softId)) {
        const QString cardCode = LanguageTable::toCardCode(row.getLang_code());
        if (record->mLanguages.isEmpty() || record->mLanguages.contains(cardCode, Qt::CaseInsensitive))
            installed = record->mVersion;
    }
    row.setCurrentVersion(installed);
    row.setChecked(isOutdated(row));
    row.setRequired(isRequiredType(row.getSoft_type()));
}

QList<SoftwareDataWrap> SoftwareRows::build(const QList<SoftwareData> &list,
                                            const QList<VehicleData> &catalogue,
                                            const QString &ownVersion)
{
    QList<SoftwareDataWrap> rows;
    rows.reserve(list.size());
    for (const SoftwareData &data : list) {
        SoftwareDataWrap row(data);
        resolveInstalled(row, catalogue, ownVersion);
        rows.append(row);
    }
    return rows;
}

void SoftwareRows::sort(QList<SoftwareDataWrap> &rows, const QString &serviceLanguage)
{
    const bool chinese = LanguageTable::isChinese(serviceLanguage);
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(rows.begin(), rows.end(), [&](const SoftwareDataWrap &a, const SoftwareDataWrap &b) {
        if (a.isChecked() != b.isChecked())
            return a.isChecked();
        const int rankA = typeRank(a.getSoft_type());
        const int rankB = typeRank(b.getSoft_type());
        if (rankA != rankB)
            return rankA < rankB;
        if (chinese)
            return collator.compare(a.getSoft_name(), b.getSoft_name()) < 0;
        return a.getSoft_name() < b.getSoft_name();
    });
}

bool SoftwareRows::isOutdated(const SoftwareDataWrap &row)
{
    return VersionOrder::less(row.getCurrentVersion(), row.getVersion());
}

SoftwareRows::Standing SoftwareRows::standingOf(const SoftwareDataWrap &row)
{
    // The program's own row is never "not installed": it is running.
    if (row.getCurrentVersion().isEmpty()
        && row.getSoft_id().compare(QLatin1String("Ostrel"), Qt::CaseInsensitive) != 0)
        return Standing::NotInstalled;
    return isOutdated(row) ? Standing::UpdateAvailable : Standing::UpToDate;
}

bool SoftwareRows::followsHeader(const SoftwareDataWrap &row)
{
    return !row.isRequired() && isOutdated(row);
}

SoftwareRows::Cells SoftwareRows::cellsOf(const SoftwareDataWrap &row)
{
    Cells cells;
    cells.current = row.getCurrentVersion();
    const QList<SoftwareDataWrap> &patches = row.getPatch_version();
    if (patches.isEmpty()) {
        cells.name = row.getSoft_name();
        cells.version = row.getVersion();
        cells.size = sizeText(row.sizeBytes());
        cells.choices << row.getVersion();
        for (const SoftwareDataWrap &old : row.getVersion_history())
            cells.choices << old.getVersion();
    } else {
        cells.name = patches.first().getSoft_name();
        cells.version = patches.first().getVersion();
        cells.size = sizeText(addSaturated(patches.first().sizeBytes(), row.sizeBytes()));
        for (const SoftwareDataWrap &patch : patches)
            cells.choices << patch.getVersion();
    }
    return cells;
}

QString SoftwareRows::sizeTextFor(const SoftwareDataWrap &row, const QString &version)
{
    // A patch is downloaded together with its package, as the row first shows.
    for (const SoftwareDataWrap &patch : row.getPatch_version()) {
        if (patch.getVersion() == version)
            return sizeText(addSaturated(patch.sizeBytes(), row.sizeBytes()));
    }
    if (row.getVersion() == version)
        return sizeText(row.sizeBytes());
    for (const SoftwareDataWrap &old : row.getVersion_history()) {
        if (old.getVersion() == version)
            return sizeText(old.sizeBytes());
    }
    return QString();
}

QList<SoftwareDataWrap> SoftwareRows::collect(const QList<SoftwareDataWrap> &rows, const QStringList &chosen,
                                              int *leftOut)
{
    if (leftOut)
        *leftOut = 0;
    QList<SoftwareDataWrap> selection;
    QSet<long> taken;
    for (int i = 0; i < rows.size(); ++i) {
        const SoftwareDataWrap &row = rows.at(i);
        if (!row.isChecked())
            continue;
        const SoftwareDataWrap entry = chosenRecord(row, i < chosen.size() ? chosen.at(i) : row.getVersion());
        // The download page follows each package by its id: a package the
        // answer lists twice is fetched once, and a chain whose ids clash
        // could never end.
        QList<long> ids{entry.getId()};
        if (!entry.getPatch_version().isEmpty())
            ids << entry.getPatch_version().first().getId();
        if ((ids.size() > 1 && ids.first() == ids.last()) || taken.contains(ids.first()) || taken.contains(ids.last())) {
            qCDebug(lcSoftware) << "collect: skipping a record whose id is already in the batch:" << ids;
            if (leftOut)
                ++*leftOut;
            continue;
        }
        for (long id : qAsConst(ids))
            taken.insert(id);
        selection.append(entry);
    }
    return selection;
}

SoftwareDataWrap SoftwareRows::chosenRecord(const SoftwareDataWrap &row, const QString &text)
{
    const QList<SoftwareDataWrap> &patches = row.getPatch_version();
    if (!patches.isEmpty()) {
        SoftwareDataWrap chain(row);
        SoftwareDataWrap patch = patches.first();
        for (const SoftwareDataWrap &candidate : patches) {
            if (candidate.getVersion() == text) {
                patch = candidate;
                break;
            }
        }
        chain.setPatch_version({patch});
        return chain;
    }
    if (text == row.getVersion())
        return row;
    for (const SoftwareDataWrap &old : row.getVersion_history()) {
        if (old.getVersion() == text) {
            SoftwareDataWrap picked(old);
            // What the card holds is the row's, not the old record's; so is
            // whatever the old record leaves out of the package's identity.
            picked.setCurrentVersion(row.getCurrentVersion());
            if (picked.getSoft_id().isEmpty())
                picked.setSoft_id(row.getSoft_id());
            if (picked.getSoft_name().isEmpty())
                picked.setSoft_name(row.getSoft_name());
            if (picked.getSoft_type().isEmpty())
                picked.setSoft_type(row.getSoft_type());
            return picked;
        }
    }
    return row;
}

QList<UpgradeItem> SoftwareRows::items(const QList<SoftwareDataWrap> &selection, const Card &card,
                                       const QList<VehicleData> &catalogue)
{
    QList<UpgradeItem> items;
    for (const SoftwareDataWrap &record : selection) {
        UpgradeItem item = UpgradeItem::fromRecord(record, card, catalogue);
        item.current = record.getCurrentVersion();
        items << item;
    }
    return items;
}

qint64 SoftwareRows::totalSize(const QList<SoftwareDataWrap> &selection)
{
    qint64 total = 0;
    for (const SoftwareDataWrap &record : selection) {
        total = addSaturated(total, record.sizeBytes());
        if (!record.getPatch_version().isEmpty())
            total = addSaturated(total, record.getPatch_version().first().sizeBytes());
    }
    return total;
}
