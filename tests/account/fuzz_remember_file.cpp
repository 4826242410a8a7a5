// Feeds arbitrary bytes to the remembered sign-in reader.
#include "RememberFile.h"

#include <QTextCodec>

#include <cstddef>
#include <cstdint>

namespace {

// Accepted input writes back to a file that reads the same.
void checkAccepted(const QByteArray &bytes)
{
    RememberFile::Content content;
    if (!RememberFile::decode(bytes, &content))
        return;
    RememberFile::Content again;
    if (!RememberFile::decode(RememberFile::encode(content), &again) || again.password != content.password
        || again.account != content.account)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool utf8 = [] {
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        return true;
    }();
    (void)utf8;
    // A random block drawn as all zeros leaves the payload as it is, so the
    // second run reaches the separator, masks and text checks with the
    // fuzzer's bytes instead of stopping at a block written with another key.
    static const QByteArray zeroBlock = RememberFile::encode({}, QByteArray()).left(32);
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    checkAccepted(bytes);
    checkAccepted(zeroBlock + bytes);
    return 0;
}
