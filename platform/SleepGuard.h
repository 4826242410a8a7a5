#pragma once

#include <QString>

#include <memory>

class SleepInhibition;

// A page's hold on sleep while its batch runs: hold() when the batch starts,
// release() when it ends, whether it succeeded, failed or was stopped;
// destroying the guard releases as well. Holding again while held keeps the
// one hold. A page keeps one as a member:
//
//     SleepGuard mSleep;
//     mSleep.hold(tr("Updating vehicle software"));   // batch starts
//     mSleep.release();                               // batch over
class SleepGuard
{
public:
    SleepGuard();
    ~SleepGuard();
    SleepGuard(const SleepGuard &) = delete;
    SleepGuard &operator=(const SleepGuard &) = delete;

    void hold(const QString &reason);
    void release();
    // Between hold() and release(), even when the session offered no way
    // to keep the computer awake.
    bool isHeld() const { return mHeld; }

private:
    std::unique_ptr<SleepInhibition> mInhibition;
    bool mHeld = false;
};
