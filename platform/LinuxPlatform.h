#pragma once

#include "DBusNotifier.h"
#include "KeychainStore.h"
#include "LinuxCrashHandler.h"
#include "Platform.h"
#include "XdgAutostart.h"
#include "XdgDesktopShortcut.h"

#include <QPointer>

class LinuxVolumes;

// The operating-system layer of a Linux desktop.
class LinuxPlatform : public Platform
{
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    // Created on first use, on the calling (GUI) thread.
    Volumes *volumes() override;
    std::unique_ptr<NamedMutex> createNamedMutex(const QString &name) override;
    Autostart *autostart() override { return &mAutostart; }
    DesktopShortcut *desktopShortcut() override { return &mShortcut; }
    CrashHandler *crashHandler() override { return &mCrash; }
    std::unique_ptr<SleepInhibition> inhibitSleep(const QString &reason) override;
    DesktopNotifier *notifier() override { return &mNotifier; }
    bool openWithDefaultApplication(const QString &path) override;
    SecretStore *secretStore() override { return &mSecrets; }

private:
    QPointer<LinuxVolumes> mVolumes;
    XdgAutostart mAutostart;
    XdgDesktopShortcut mShortcut;
    LinuxCrashHandler mCrash;
    DBusNotifier mNotifier;
    KeychainStore mSecrets;
};
