#pragma once

#include "CrashHandler.h"

// On SIGSEGV, SIGBUS, SIGILL, SIGFPE or SIGABRT writes
// <dataDir>/Crash/yyyyMMdd_hhmmss.Log (local time) with the signal, the
// fault address, a backtrace and the memory map, then lets the signal end
// the process. On the installing thread the handler runs on an alternate
// stack, so a stack overflow is caught too. It makes only async-signal-safe
// calls: everything it needs is prepared by install().
class LinuxCrashHandler : public CrashHandler
{
public:
    bool install(const QString &dataDir) override;

    // The file name for a moment, given as seconds since the epoch plus the
    // local offset from UTC: "yyyyMMdd_hhmmss.Log". Allocation-free; the
    // handler uses it. `out` needs 20 bytes.
    static void formatFileName(long long localSeconds, char *out);
};
