#pragma once

#include "NamedMutex.h"

#include <QString>

// A named lock shared by the user's processes: flock() on a file named after
// the lock in the user's runtime folder. The kernel drops the lock when the
// holder's descriptor closes, so a crashed holder releases it.
class FlockNamedMutex : public NamedMutex
{
public:
    // Tries to take the lock at once, without blocking.
    explicit FlockNamedMutex(const QString &name);
    ~FlockNamedMutex() override;

    FlockNamedMutex(const FlockNamedMutex &) = delete;
    FlockNamedMutex &operator=(const FlockNamedMutex &) = delete;

    bool alreadyExisted() const override { return mExisted; }
    bool isOwned() const override { return mOwned; }
    bool wait() override;
    void release() override;

    QString lockFilePath() const { return mPath; }

    // $XDG_RUNTIME_DIR, or a private folder of this user below the temp folder.
    // Empty when neither can be had safely.
    static QString runtimeDir();
    static QString lockFilePath(const QString &name);

private:
    QString mPath;
    int mFd = -1;
    bool mExisted = false;
    bool mOwned = false;
};
