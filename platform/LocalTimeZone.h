#pragma once

// The local time zone, read once for the whole run.
class LocalTimeZone
{
public:
    // With TZ unset, glibc looks at /etc/localtime again (a stat of it) on
    // every conversion of a local time. libzip converts the time of each
    // entry it reads, so checking and unpacking an upgrade of 20 packages
    // made tens of thousands of those calls. Naming the file once lets glibc
    // read it once; the program then keeps the time zone it started with.
    // A TZ already set is left as it is. Call before any thread starts.
    static void pin();
};
