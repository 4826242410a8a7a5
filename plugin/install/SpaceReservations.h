#pragma once

#include <QHash>
#include <QMutex>
#include <QWaitCondition>

#include <atomic>
#include <functional>

// Space on a card promised to the installs that run on it at once. Each
// install's free-space check alone would let two archives that each fit,
// but not together, both start and both run out of space half-way; so an
// install reserves what its archive will take, and one that does not fit
// beside the others waits until one of them ends, then looks at the card's
// free space again. One process owns a card, so this is per process.
class SpaceReservations
{
public:
    enum class Result { Reserved, NoSpace, Cancelled };

    static SpaceReservations &instance();

    // Reserves `bytes` on the card `device`. `freeBytes` is asked afresh at
    // every look; what other installs reserved counts as taken (what they
    // wrote so far is counted twice: an install may wait longer than it
    // must, never start when it should not). NoSpace only when no other
    // install holds a reservation on that card.
    Result reserve(quint64 device, quint64 bytes, const std::function<quint64()> &freeBytes,
                   const std::atomic<bool> *cancel);
    void release(quint64 device, quint64 bytes);
    // Lets waiting installs look at their cancel flags.
    void wakeAll();

    // Installs holding a reservation on `device`.
    int holders(quint64 device) const;

private:
    struct Held
    {
        quint64 bytes = 0;
        int installs = 0;
    };

    mutable QMutex mMutex;
    QWaitCondition mChanged;
    QHash<quint64, Held> mHeld;
};
