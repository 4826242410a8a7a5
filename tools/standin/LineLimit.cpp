#include "LineLimit.h"

#include <algorithm>
#include <thread>

LineLimit::LineLimit(qint64 bytesPerSecond)
    : mNanosPerByte(1e9 / double(std::max<qint64>(1, bytesPerSecond)))
    , mFree(Clock::now())
{
}

bool LineLimit::take(qint64 bytes, const std::atomic<bool> &stopping)
{
    Clock::time_point done;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        // A line that was idle does not save up: it starts sending now.
        const Clock::time_point start = std::max(Clock::now(), mFree);
        mFree = start + std::chrono::nanoseconds(qint64(double(bytes) * mNanosPerByte));
        done = mFree;
    }
    // In short naps, so a stop is not kept waiting behind a long queue.
    while (Clock::now() < done) {
        if (stopping)
            return false;
        std::this_thread::sleep_until(std::min(done, Clock::now() + std::chrono::milliseconds(50)));
    }
    return !stopping;
}
