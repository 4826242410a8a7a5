#pragma once

#include <QString>

// A named lock shared by every process of the user. Created with ownership:
// after construction the handle either owns the lock or reports that another
// holder already existed. A crashed holder releases it automatically.
class NamedMutex
{
public:
    virtual ~NamedMutex();
    // True when another process (or another handle) held the lock when this
    // handle was created; the handle then does not own it.
    virtual bool alreadyExisted() const = 0;
    virtual bool isOwned() const = 0;
    // Blocks until the lock is owned; false when it cannot be had.
    virtual bool wait() = 0;
    // Gives up ownership but keeps the handle.
    virtual void release() = 0;
};
