#include "VehicleChoice.h"

#include "AppSettings.h"
#include "LanguageTable.h"

#include <algorithm>

QString VehicleChoice::ToServiceLanguage(const QString &interfaceCode)
{
    return LanguageTable::toServiceCode(interfaceCode);
}

QString VehicleChoice::ToServiceLanguage()
{
    return LanguageTable::interfaceServiceCode();
}

VehicleChoice::Languages VehicleChoice::allLanguages()
{
    Languages out;
    for (const LanguageTable::Entry &entry : LanguageTable::entries()) {
        out.names << LanguageTable::displayName(entry);
        out.codes << QLatin1String(entry.code);
    }
    return out;
}

VehicleChoice::Languages VehicleChoice::offeredLanguages(const QList<LanguageData> &offered)
{
    Languages out;
    for (const LanguageTable::Entry &entry : LanguageTable::entries()) {
        const QString code = QLatin1String(entry.code);
        const bool isOffered = std::any_of(offered.cbegin(), offered.cend(),
                                           [&code](const LanguageData &l) { return l.getCode() == code; });
        if (!isOffered)
            continue;
        out.names << LanguageTable::displayName(entry);
        out.codes << code;
    }
    return out;
}

int VehicleChoice::preselect(const QStringList &codes, const QString &wanted)
{
    for (int i = 0; i < codes.size(); ++i) {
        if (codes.at(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QList<CarData> VehicleChoice::sortedCars(QList<CarData> cars)
{
    std::stable_sort(cars.begin(), cars.end(),
                     [](const CarData &a, const CarData &b) { return a.getLangName() < b.getLangName(); });
    return cars;
}

QStringList VehicleChoice::languagesFor(const QString &code)
{
    if (code.isEmpty())
        return {};
    QStringList out{code};
    if (code != QLatin1String("en"))
        out << QStringLiteral("en");
    return out;
}

VehicleChoice::Account VehicleChoice::readAccount(const QString &cardSerial)
{
    Account account;
    account.token = AppSettings::token();
    account.userId = AppSettings::userId();
    // The page belongs to the card it was opened for; a serial left in the
    // preference file must not send that card's choice to another product.
    account.serialNumber = cardSerial.isEmpty() ? AppSettings::serialNumber() : cardSerial;
    return account;
}
