#pragma once

#include <QString>
#include <QVector>

// The software languages the service can offer, in the order the page lists
// them, and the mapping between the service's codes and the card's.
class LanguageTable
{
public:
    struct Entry
    {
        const char *name; // untranslated display name
        const char *code; // the service's code
    };

    static const QVector<Entry> &entries();
    // The display name in the interface language.
    static QString displayName(const Entry &entry);

    // Service code to the code the card's catalogue uses ("zh" -> "cn",
    // "zh_tw"/"zh_hk" -> "hk", "ko" -> "kr", "ja" -> "jp", "sv" -> "se").
    static QString toCardCode(const QString &serviceCode);
    // Card code to service code, after lower-casing ("cn" -> "zh",
    // "hk" -> "zh_tw", "kr" -> "ko", "jp" -> "ja", "se" -> "sv").
    static QString toServiceCode(const QString &cardCode);
    // The service code of the interface language stored in setup.ini.
    static QString interfaceServiceCode();
    // True for the codes whose names sort with the Chinese collator.
    static bool isChinese(const QString &serviceCode);
};
