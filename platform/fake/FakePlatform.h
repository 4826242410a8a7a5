#pragma once

#include "Autostart.h"
#include "CrashHandler.h"
#include "DesktopNotifier.h"
#include "DesktopShortcut.h"
#include "FakeVolumes.h"
#include "NamedMutex.h"
#include "Platform.h"
#include "SecretStore.h"
#include "SleepInhibition.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// A secret service in memory; `available` plays whether the desktop has one.
class FakeSecretStore : public SecretStore
{
public:
    bool available = false;
    QMap<QString, QString> secrets;

    bool isAvailable() override { return available; }
    bool write(const QString &key, const QString &secret) override;
    bool read(const QString &key, QString *secret) override;
    bool remove(const QString &key) override;
};

// The OS layer for unit tests. Installs itself on construction and restores
// the real platform on destruction.
class FakePlatform : public Platform
{
public:
    FakePlatform();
    ~FakePlatform() override;

    Volumes *volumes() override { return &mVolumes; }
    std::unique_ptr<NamedMutex> createNamedMutex(const QString &name) override;
    Autostart *autostart() override;
    DesktopShortcut *desktopShortcut() override;
    CrashHandler *crashHandler() override;
    std::unique_ptr<SleepInhibition> inhibitSleep(const QString &reason) override;
    DesktopNotifier *notifier() override;
    bool openWithDefaultApplication(const QString &path) override;
    SecretStore *secretStore() override { return &secrets; }

    FakeVolumes &fakeVolumes() { return mVolumes; }

    // Names currently held by a fake mutex; a test may add one to play
    // "another process holds it".
    QSet<QString> heldMutexes;
    // What the program asked for.
    int autostartCalls = 0;
    bool autostartEnabled = false;
    QString autostartExecutable;
    int shortcutCalls = 0;
    int crashInstalls = 0;
    // Reasons of the sleep inhibitions held now, and how many were taken.
    QStringList sleepHeld;
    int sleepInhibits = 0;
    // Desktop notifications sent: title, text.
    QList<QPair<QString, QString>> notifications;
    // Files handed to the desktop, and the answer given.
    QStringList openedFiles;
    bool openResult = true;
    FakeSecretStore secrets;

private:
    FakeVolumes mVolumes;
    class Impl;
    Impl *d;
};
