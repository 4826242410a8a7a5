// Feeds arbitrary bytes to the remembered sign-in reader.
#include "RememberFile.h"

#include <QTextCodec>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool utf8 = [] {
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        return true;
    }();
    (void)utf8;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    RememberFile::Content content;
    if (!RememberFile::decode(bytes, &content))
        return 0;
    // Whatever was accepted writes back to a file that reads the same.
    RememberFile::Content again;
    if (!RememberFile::decode(RememberFile::encode(content), &again) || again.password != content.password
        || again.account != content.account)
        __builtin_trap();
    return 0;
}
