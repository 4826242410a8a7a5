#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <vector>

// Reads a file on a card back as the card holds it, not as the page cache
// remembers it, and sums it up (size, CRC-32, modification time). A card
// that drops writes or stores garbage still hands the written bytes back
// from memory for as long as they stay cached: so the file's cached pages
// are dropped first (posix_fadvise DONTNEED; they are clean once the card
// has been flushed) and the reads below reach the device. They are dropped
// again afterwards, as the card's data would only push other files out of
// the cache. The file is reached below an open folder without following any
// link (CardFs).
class CardReadBack
{
public:
    enum class Outcome {
        Read,
        Missing, // no such file
        Failed,  // not a file, or the card would not give it back
        Cancelled
    };

    struct Sum
    {
        quint64 size = 0;
        quint32 crc = 0;
        qint64 mtime = 0;
    };

    static constexpr size_t kChunk = 1 << 20;

    // `cancel` is looked at between chunks.
    explicit CardReadBack(const std::atomic<bool> *cancel = nullptr);

    // Reads `relative` below `dirFd`; `onBytes` hears every chunk read.
    Outcome read(int dirFd, const QByteArray &relative, Sum *sum,
                 const std::function<void(quint64 bytes)> &onBytes = {});
    // Why the last read failed.
    QString errorString() const { return mError; }

    // Whether two modification times are the same as the card keeps them:
    // FAT keeps local time in two-second steps, so a change of the PC's time
    // zone or of summer time moves every time on the card by whole hours.
    static bool sameTime(qint64 recorded, qint64 now);

private:
    const std::atomic<bool> *mCancel;
    std::vector<char> mBuffer;
    QString mError;
};
