#pragma once

// The program's entry: start-up, the event loop and what happens around it.
class Application
{
public:
    // An event loop ending with this code starts the program anew.
    static constexpr int RestartCode = 886;

    static int run(int argc, char *argv[]);
    // The desktop's scale as it is (150 % stays 1.5, not 2), pictures drawn
    // for it; only honoured before the application object exists.
    static void setUpScaling();
};
