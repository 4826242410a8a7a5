#include "Platform.h"

#include "Autostart.h"
#include "CrashHandler.h"
#include "DesktopNotifier.h"
#include "DesktopShortcut.h"
#include "LinuxPlatform.h"
#include "NamedMutex.h"
#include "SleepInhibition.h"
#include "Volumes.h"

#include <QDir>
#include <QStandardPaths>

namespace {
Platform *gOverride = nullptr;
} // namespace

Platform::~Platform() = default;
Volumes::~Volumes() = default;

void Volumes::start()
{
    if (mStarted)
        return;
    mStarted = true;
    startWatching();
}
NamedMutex::~NamedMutex() = default;
Autostart::~Autostart() = default;
DesktopShortcut::~DesktopShortcut() = default;
CrashHandler::~CrashHandler() = default;
SleepInhibition::~SleepInhibition() = default;
DesktopNotifier::~DesktopNotifier() = default;

QString Autostart::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + QStringLiteral("/autostart");
}

QString DesktopShortcut::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

Platform *Platform::instance()
{
    if (gOverride)
        return gOverride;
    static LinuxPlatform linuxPlatform;
    return &linuxPlatform;
}

void Platform::setInstance(Platform *platform)
{
    gOverride = platform;
}
