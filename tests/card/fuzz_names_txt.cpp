// Feeds arbitrary bytes to the Names.txt parser under each text encoding.
#include "NamesTxt.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const kCodes[] = {"en", "cn", "hk"};
    if (size == 0)
        return 0;
    // The first byte picks the encoding, the rest is the file.
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    NamesTxt names;
    names.SetLanguageCode(QString::fromLatin1(kCodes[data[0] % 3]));
    names.SetCardRoot(QStringLiteral("/nonexistent-card/"));
    names.mDirPath = QStringLiteral("/nonexistent-card/Vehicles/EU/X/");
    names.ParseJson(bytes);
    // Accepted entries always come from the parsed list.
    if (!names.mCurrent.mLanguage.isEmpty() && names.mInfoList.isEmpty())
        __builtin_trap();
    return 0;
}
