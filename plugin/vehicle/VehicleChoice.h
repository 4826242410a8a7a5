#pragma once

#include <Sornet/CarData.h>
#include <Sornet/LanguageData.h>

#include <QList>
#include <QString>
#include <QStringList>

// The rules of the vehicle selection page that need no widget: which
// languages the drop-down lists and preselects, the order of the vehicles,
// and what a submission sends.
class VehicleChoice
{
public:
    // Display names and service codes of the drop-down, index-aligned.
    struct Languages
    {
        QStringList names;
        QStringList codes;
    };

    // The service's name of the interface language ("cn" -> "zh",
    // "hk" -> "zh_tw", "kr" -> "ko", "jp" -> "ja", "se" -> "sv").
    static QString ToServiceLanguage(const QString &interfaceCode);
    // The same for the language stored in setup.ini.
    static QString ToServiceLanguage();

    // All entries of the language table, in table order.
    static Languages allLanguages();
    // The entries of the language table, in table order, whose code the
    // service offers; offered codes the table lacks are left out.
    static Languages offeredLanguages(const QList<LanguageData> &offered);
    // Index of the entry whose code equals `wanted` without regard to case,
    // or -1.
    static int preselect(const QStringList &codes, const QString &wanted);

    // Vehicles in plain string order of their names; equal names keep the
    // service's order.
    static QList<CarData> sortedCars(QList<CarData> cars);

    // The chosen language followed by "en", or "en" alone; none for an
    // empty code.
    static QStringList languagesFor(const QString &code);

    // Who asks, for which card: token and user id from the preference
    // file; the card's serial unless the page has none, then the file's.
    struct Account
    {
        QString token;
        int userId = 0;
        QString serialNumber;
        bool isSignedIn() const { return !token.isEmpty() && userId >= 1; }
    };
    static Account readAccount(const QString &cardSerial);
};
