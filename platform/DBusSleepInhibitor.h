#pragma once

#include <QString>

#include <memory>

class SleepInhibition;

// Sleep inhibition over D-Bus. First systemd-logind's block inhibitor for
// "sleep:idle" on the system bus: a file descriptor, held until released
// and dropped by logind when the process dies. Else the session's screen
// saver (org.freedesktop.ScreenSaver): a cookie, handed back to release;
// it only keeps the session from idling into sleep, and the service forgets
// it when the process leaves the bus. Else nothing (nullptr).
class DBusSleepInhibitor
{
public:
    static std::unique_ptr<SleepInhibition> inhibit(const QString &who, const QString &why);

    // The calls block the GUI thread; a service that hangs must not for long.
    static constexpr int CallTimeoutMs = 2000;
};
