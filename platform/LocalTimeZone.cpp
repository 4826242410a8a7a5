#include "LocalTimeZone.h"

#include <cstdlib>

void LocalTimeZone::pin()
{
    ::setenv("TZ", ":/etc/localtime", 0);
}
