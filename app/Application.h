#pragma once

// The program's entry: start-up, the event loop and what happens around it.
class Application
{
public:
    static int run(int argc, char *argv[]);
};
