#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <mutex>

// One internet line shared by every connection: the bytes of all answers
// together go out no faster than the line's rate, each piece in its turn.
class LineLimit
{
public:
    explicit LineLimit(qint64 bytesPerSecond);

    // Waits until `bytes` more may go out; false when `stopping` was set
    // meanwhile.
    bool take(qint64 bytes, const std::atomic<bool> &stopping);

private:
    using Clock = std::chrono::steady_clock;

    std::mutex mMutex;
    const double mNanosPerByte;
    Clock::time_point mFree; // when the line has sent what was taken so far
};
