#pragma once

#include "NamedMutex.h"

#include <QString>

// A named lock shared by the user's processes: flock() on a file named after
// the lock in the user's runtime folder and on one in the private folder
// below the home, so that copies that see different runtime folders (or
// none) still exclude each other. The kernel drops the lock when the
// holder's descriptors close, so a crashed holder releases it.
class FlockNamedMutex : public NamedMutex
{
public:
    // Tries to take the lock at once, without blocking.
    explicit FlockNamedMutex(const QString &name);
    ~FlockNamedMutex() override;

    FlockNamedMutex(const FlockNamedMutex &) = delete;
    FlockNamedMutex &operator=(const FlockNamedMutex &) = delete;

    // Also true when the lock could not be had at all (no private folder,
    // no lock file): see isBroken().
    bool alreadyExisted() const override { return mExisted; }
    // The lock could not be taken for another reason than a holder.
    bool isBroken() const { return mBroken; }
    bool isOwned() const override { return mOwned; }
    bool wait() override;
    void release() override;

    QString lockFilePath() const { return mPath; }

    // $XDG_RUNTIME_DIR when it is this user's and private, else a private
    // folder below the user's cache folder. Empty when neither can be had
    // safely.
    static QString runtimeDir();
    // The private folder below the user's cache folder; empty when it
    // cannot be had safely (the lock then counts as held).
    static QString privateFallbackDir();
    // The lock's file in runtimeDir().
    static QString lockFilePath(const QString &name);

private:
    bool take(int flags);

    QString mPath;
    int mFd = -1;     // in the runtime folder; -1 when that is the home one
    int mHomeFd = -1; // in privateFallbackDir()
    bool mExisted = false;
    bool mBroken = false;
    bool mOwned = false;
};
