#include "LanguageTable.h"

#include "LanguageCodes.h"

#include <QCoreApplication>

const QVector<LanguageTable::Entry> &LanguageTable::entries()
{
    static const QVector<Entry> table = {
        {QT_TRANSLATE_NOOP("LanguageTable", "Chinese Simplified"), "zh"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Chinese Traditional(TW)"), "zh_tw"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Chinese Traditional(HK)"), "zh_hk"},
        {QT_TRANSLATE_NOOP("LanguageTable", "German"), "de"},
        {QT_TRANSLATE_NOOP("LanguageTable", "English"), "en"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Spanish"), "es"},
        {QT_TRANSLATE_NOOP("LanguageTable", "French"), "fr"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Hungarian"), "hu"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Italian"), "it"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Japanese"), "ja"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Korean"), "kr"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Dutch"), "nl"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Polish"), "pl"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Portuguese"), "pt"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Russian"), "ru"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Swedish"), "sv"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Thai"), "th"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Slovak"), "sk"},
        {QT_TRANSLATE_NOOP("LanguageTable", "Czech"), "cs"},
    };
    return table;
}

QString LanguageTable::displayName(const Entry &entry)
{
    return QCoreApplication::translate("LanguageTable", entry.name);
}

QString LanguageTable::toCardCode(const QString &serviceCode)
{
    if (serviceCode == QLatin1String("zh"))
        return QStringLiteral("cn");
    if (serviceCode == QLatin1String("zh_tw") || serviceCode == QLatin1String("zh_hk"))
        return QStringLiteral("hk");
    if (serviceCode == QLatin1String("ko"))
        return QStringLiteral("kr");
    if (serviceCode == QLatin1String("ja"))
        return QStringLiteral("jp");
    if (serviceCode == QLatin1String("sv"))
        return QStringLiteral("se");
    return serviceCode;
}

QString LanguageTable::toServiceCode(const QString &cardCode)
{
    const QString code = cardCode.toLower();
    if (code == QLatin1String("cn"))
        return QStringLiteral("zh");
    if (code == QLatin1String("hk"))
        return QStringLiteral("zh_tw");
    if (code == QLatin1String("kr"))
        return QStringLiteral("ko");
    if (code == QLatin1String("jp"))
        return QStringLiteral("ja");
    if (code == QLatin1String("se"))
        return QStringLiteral("sv");
    return code;
}

QString LanguageTable::interfaceServiceCode()
{
    return toServiceCode(LanguageCodes::current());
}

bool LanguageTable::isChinese(const QString &serviceCode)
{
    return serviceCode == QLatin1String("zh") || serviceCode == QLatin1String("zh_tw")
        || serviceCode == QLatin1String("zh_hk");
}
