// The Content-Range parser against arbitrary header values: it must never
// crash, and whatever it accepts must be a consistent range that reads
// back the same when written out again.
#include <ContentRange.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray format(const ContentRange &r)
{
    QByteArray out("bytes ");
    if (r.isUnsatisfied())
        out.append('*');
    else
        out.append(QByteArray::number(r.first)).append('-').append(QByteArray::number(r.last));
    out.append('/').append(r.complete < 0 ? QByteArray("*") : QByteArray::number(r.complete));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray value = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    ContentRange r;
    if (!ContentRange::parse(value, &r))
        return 0;
    if (r.isUnsatisfied()) {
        if (r.last != -1 || r.complete < 0)
            std::abort();
    } else if (r.first < 0 || r.last < r.first || (r.complete >= 0 && r.last >= r.complete) || r.complete < -1) {
        std::abort();
    }
    ContentRange again;
    if (!ContentRange::parse(format(r), &again) || again.first != r.first || again.last != r.last
        || again.complete != r.complete)
        std::abort();
    return 0;
}
