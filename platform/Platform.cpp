#include "Platform.h"

#include "Volumes.h"

namespace {
Platform *gOverride = nullptr;
} // namespace

Platform::~Platform() = default;
Volumes::~Volumes() = default;

Platform *Platform::instance()
{
    return gOverride;
}

void Platform::setInstance(Platform *platform)
{
    gOverride = platform;
}
