#include "SleepGuard.h"

#include "Platform.h"
#include "PlatformLog.h"
#include "SleepInhibition.h"

SleepGuard::SleepGuard() = default;

SleepGuard::~SleepGuard() = default;

void SleepGuard::hold(const QString &reason)
{
    if (mHeld)
        return;
    mHeld = true;
    if (Platform *platform = Platform::instance())
        mInhibition = platform->inhibitSleep(reason);
    qCDebug(lcPlatform) << "sleep held:" << reason << (mInhibition ? mInhibition->service() : QStringLiteral("(no service)"));
}

void SleepGuard::release()
{
    if (!mHeld)
        return;
    mHeld = false;
    mInhibition.reset();
    qCDebug(lcPlatform) << "sleep released";
}
