#include "SharedWindowRect.h"

namespace {
QRect sRect;
}

QRect SharedWindowRect::get()
{
    return sRect;
}

void SharedWindowRect::set(const QRect &rect)
{
    sRect = rect;
}
