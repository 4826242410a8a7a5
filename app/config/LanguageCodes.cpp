#include "LanguageCodes.h"

#include "AppSettings.h"

namespace {
const char *const kCodes[LanguageCodes::Count] = {
    "cn", "hk", "de", "nl", "en", "fr", "hu", "it",
    "jp", "kr", "pl", "pt", "es", "se", "th", "ru",
};
} // namespace

QString LanguageCodes::codeOf(int index)
{
    if (index < 0 || index >= Count)
        return QStringLiteral("en");
    return QString::fromLatin1(kCodes[index]);
}

int LanguageCodes::indexOf(const QString &code)
{
    for (int i = 0; i < Count; ++i) {
        if (code == QLatin1String(kCodes[i]))
            return i;
    }
    return -1;
}

QString LanguageCodes::current()
{
    return codeOf(AppSettings::language());
}
