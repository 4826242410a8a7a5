#include "SpaceReservations.h"

#include "InstallLog.h"

SpaceReservations &SpaceReservations::instance()
{
    static SpaceReservations reservations;
    return reservations;
}

SpaceReservations::Result SpaceReservations::reserve(quint64 device, quint64 bytes,
                                                     const std::function<quint64()> &freeBytes,
                                                     const std::atomic<bool> *cancel)
{
    QMutexLocker lock(&mMutex);
    bool waited = false;
    while (true) {
        if (cancel && cancel->load())
            return Result::Cancelled;
        Held &held = mHeld[device];
        const quint64 free = freeBytes();
        const quint64 left = free > held.bytes ? free - held.bytes : 0;
        if (bytes <= left) {
            held.bytes += bytes;
            ++held.installs;
            if (waited)
                qCDebug(lcInstall) << "space reserved after waiting:" << bytes;
            return Result::Reserved;
        }
        if (held.installs == 0) {
            mHeld.remove(device);
            return Result::NoSpace;
        }
        if (!waited)
            qCDebug(lcInstall) << "waiting for space:" << bytes << "of" << free << "free," << held.bytes
                               << "reserved by" << held.installs << "running";
        waited = true;
        // An install ending or a cancel wakes it; the time-out only guards
        // against a wake that went elsewhere.
        mChanged.wait(&mMutex, 2000);
    }
}

void SpaceReservations::release(quint64 device, quint64 bytes)
{
    QMutexLocker lock(&mMutex);
    auto it = mHeld.find(device);
    if (it == mHeld.end())
        return;
    it->bytes -= qMin(bytes, it->bytes);
    if (--it->installs <= 0)
        mHeld.erase(it);
    mChanged.wakeAll();
}

void SpaceReservations::wakeAll()
{
    QMutexLocker lock(&mMutex);
    mChanged.wakeAll();
}

int SpaceReservations::holders(quint64 device) const
{
    QMutexLocker lock(&mMutex);
    return mHeld.value(device).installs;
}
