#pragma once

#include <QString>

// Keeps the computer from going to sleep while it lives; made by
// Platform::inhibitSleep (pages hold one through SleepGuard). The hold of a
// process that dies without releasing it ends with the process.
class SleepInhibition
{
public:
    virtual ~SleepInhibition();
    // The service that holds it ("logind", "screensaver"), for the log.
    virtual QString service() const = 0;
};
