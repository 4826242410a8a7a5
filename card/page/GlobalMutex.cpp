#include "GlobalMutex.h"

#include "NamedMutex.h"
#include "Platform.h"

#include <memory>

namespace {
std::unique_ptr<NamedMutex> &slot()
{
    static std::unique_ptr<NamedMutex> held;
    return held;
}
} // namespace

QString GlobalMutex::name()
{
    return QStringLiteral("ostrel_global_mutex");
}

NamedMutex *GlobalMutex::handle()
{
    return slot().get();
}

NamedMutex *GlobalMutex::create()
{
    slot() = Platform::instance()->createNamedMutex(name());
    return slot().get();
}

void GlobalMutex::release()
{
    if (NamedMutex *mutex = handle())
        mutex->release();
}

void GlobalMutex::close()
{
    slot().reset();
}
