#pragma once

// Process-wide signal dispositions the program sets before anything else.
class ProcessSignals
{
public:
    // A write to a pipe nobody reads any more fails with EPIPE instead of
    // ending the process. The program's log lines go to stderr, and a copy
    // started by a restart inherits the old copy's stderr, whose reader may
    // be gone by then; the program must not die in the middle of its work
    // because of that.
    static void ignoreBrokenPipe();
};
