#pragma once

#include <QString>

class NamedMutex;

// The process-wide handle on the named mutex "ostrel_global_mutex" that the
// program's exit request and the uninstall page share. Whichever runs first
// creates it with ownership; the other then finds the handle set. The main
// window closes it when it is destroyed. GUI thread only.
class GlobalMutex
{
public:
    static QString name();

    // The held handle, or nullptr while none is kept.
    static NamedMutex *handle();
    static bool isEmpty() { return handle() == nullptr; }

    // Creates the mutex with ownership through the platform layer and keeps
    // the handle, whatever the outcome; returns it (never nullptr).
    static NamedMutex *create();
    // Gives up ownership, keeping the handle.
    static void release();
    // Drops the handle (and with it any ownership).
    static void close();
};
