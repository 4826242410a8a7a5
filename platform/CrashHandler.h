#pragma once

#include <QString>

// Writes Crash/yyyyMMdd_hhmmss.Log below `dataDir` when the process dies of
// a fatal signal, then lets the signal end the process.
class CrashHandler
{
public:
    virtual ~CrashHandler();
    virtual bool install(const QString &dataDir) = 0;
};
