#include "LinuxPlatform.h"

#include "DBusSleepInhibitor.h"
#include "FlockNamedMutex.h"
#include "LinuxVolumes.h"
#include "SleepInhibition.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {
QList<QPointer<LinuxVolumes>> gLiveVolumes;

// The process-wide platform outlives the application object; its watchers
// must go while the event machinery still exists.
void dropVolumes()
{
    for (const QPointer<LinuxVolumes> &volumes : qAsConst(gLiveVolumes))
        delete volumes.data();
    gLiveVolumes.clear();
}
} // namespace

LinuxPlatform::LinuxPlatform() = default;

LinuxPlatform::~LinuxPlatform()
{
    delete mVolumes.data();
}

Volumes *LinuxPlatform::volumes()
{
    if (!mVolumes) {
        mVolumes = new LinuxVolumes;
        if (gLiveVolumes.isEmpty())
            qAddPostRoutine(dropVolumes);
        gLiveVolumes.append(mVolumes);
    }
    return mVolumes;
}

std::unique_ptr<NamedMutex> LinuxPlatform::createNamedMutex(const QString &name)
{
    return std::make_unique<FlockNamedMutex>(name);
}

std::unique_ptr<SleepInhibition> LinuxPlatform::inhibitSleep(const QString &reason)
{
    return DBusSleepInhibitor::inhibit(QStringLiteral("Ostrel"), reason);
}

bool LinuxPlatform::openWithDefaultApplication(const QString &path)
{
    // xdg-open behind it, started detached.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
