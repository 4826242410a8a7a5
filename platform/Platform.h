#pragma once

#include <QString>

#include <memory>

class Volumes;
class NamedMutex;
class Autostart;
class DesktopShortcut;
class CrashHandler;
class DesktopNotifier;
class SecretStore;
class SleepInhibition;

// The operating-system layer. Production code asks Platform::instance() for
// each facility; unit tests install a fake with Platform::setInstance().
class Platform
{
public:
    virtual ~Platform();

    // Shared, lives as long as the platform object.
    virtual Volumes *volumes() = 0;
    // A new handle on the named, process-wide lock `name`.
    virtual std::unique_ptr<NamedMutex> createNamedMutex(const QString &name) = 0;
    virtual Autostart *autostart() = 0;
    virtual DesktopShortcut *desktopShortcut() = 0;
    virtual CrashHandler *crashHandler() = 0;
    // Keeps the computer awake while the returned object lives; nullptr when
    // the session offers no way to. Pages hold it through SleepGuard.
    virtual std::unique_ptr<SleepInhibition> inhibitSleep(const QString &reason) = 0;
    virtual DesktopNotifier *notifier() = 0;
    // Hands a file to the desktop, which opens it with the application it
    // has for that kind of file (a downloaded installer is never made
    // executable or started as a program from here). False when nothing
    // could take it.
    virtual bool openWithDefaultApplication(const QString &path) = 0;
    // The desktop's secret service (see SecretStore::isAvailable()).
    virtual SecretStore *secretStore() = 0;

    // The Linux platform unless a test installed another one.
    static Platform *instance();
    // Does not take ownership; nullptr restores the Linux platform.
    static void setInstance(Platform *platform);
};
