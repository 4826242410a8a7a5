// A second process for the platform tests:
//   lock NAME            takes the named lock, prints "owned" or "existed",
//                        then holds it until stdin says "release" or closes
//   single MESSAGE       one copy of a single-instance application: the first
//                        prints "listening" and waits for a message; a later
//                        one delivers MESSAGE and exits 0 when it arrived
//   restart              the first copy, which lets go of the instance and
//                        starts "single" again: prints what that one printed
//   crash DATADIR KIND   installs the crash handler and dies of KIND
//                        (segv, bus, ill, fpe, abort, overflow)
//   watch DIR            watches the mount table (no timed re-scan), binds
//                        "/" onto DIR and unmounts it again; prints what it
//                        saw. Meant to run in a mount namespace of its own.
#include "FlockNamedMutex.h"
#include "LinuxCrashHandler.h"
#include "LinuxVolumes.h"
#include "SingleApplication.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/resource.h>

namespace {
volatile int gStopDepth = -1;
volatile int gZero = 0;
volatile int gSeven = 7;

int recurse(int depth)
{
    volatile char frame[512];
    frame[0] = char(depth);
    if (depth == gStopDepth)
        return 0;
    return recurse(depth + 1) + frame[0];
}

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int holdLock(const char *name)
{
    FlockNamedMutex lock(QString::fromUtf8(name));
    say(lock.isOwned() ? "owned" : lock.alreadyExisted() ? "existed" : "failed");
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "release")
            break;
    }
    return 0;
}

int crash(const char *dataDir, const char *kind)
{
    // No core file: the test only wants the log and the cause of death.
    struct rlimit none = {0, 0};
    setrlimit(RLIMIT_CORE, &none);
    LinuxCrashHandler handler;
    if (!handler.install(QString::fromUtf8(dataDir)))
        return 10;
    const std::string k = kind;
    if (k == "segv")
        *static_cast<volatile int *>(nullptr) = 1;
    else if (k == "fpe")
        return gSeven / gZero;
    else if (k == "abort")
        std::abort();
    else if (k == "bus")
        std::raise(SIGBUS);
    else if (k == "ill")
        std::raise(SIGILL);
    else if (k == "overflow")
        return recurse(0);
    return 11;
}

int single(int argc, char **argv)
{
    const QString message = QString::fromUtf8(argv[2]);
    SingleApplication app(argc, argv);
    if (app.isRunning())
        return app.sendMessage(message, 5000) ? 0 : 3;

    QWidget window;
    window.showMinimized();
    app.setActivationWindow(&window);
    QObject::connect(&app, &SingleApplication::messageReceived, &app, [&](const QString &text) {
        std::printf("received:%s\nminimized:%d\n", text.toUtf8().constData(), int(window.isMinimized()));
        std::fflush(stdout);
        app.exit(0);
    });
    QTimer::singleShot(60000, &app, [&] { app.exit(2); });
    say("listening");
    return app.exec();
}
int restart(int argc, char **argv)
{
    SingleApplication app(argc, argv);
    if (app.isRunning())
        return 5;
    app.releaseInstance();
    // Still alive, as a restarting copy is while its successor starts.
    QProcess next;
    next.start(QCoreApplication::applicationFilePath(), {QStringLiteral("single"), QStringLiteral("unused")});
    if (!next.waitForStarted(10000))
        return 6;
    while (!next.canReadLine() && next.waitForReadyRead(10000)) {
    }
    std::printf("next:%s", next.readLine().constData());
    next.kill();
    next.waitForFinished(10000);
    return 0;
}

int watch(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QString::fromUtf8(argv[2]);
    LinuxVolumes volumes;
    volumes.setRescanInterval(3600 * 1000);
    volumes.start();
    QObject::connect(&volumes, &Volumes::volumeArrived, &app, [&](const VolumeInfo &v) {
        std::printf("arrived:%s\n", v.root.toUtf8().constData());
        std::fflush(stdout);
        if (QProcess::execute(QStringLiteral("umount"), {dir}) != 0)
            app.exit(4);
    });
    QObject::connect(&volumes, &Volumes::volumeRemoved, &app, [&](const VolumeInfo &v) {
        std::printf("removed:%s\n", v.root.toUtf8().constData());
        app.exit(0);
    });
    QTimer::singleShot(0, &app, [&] {
        if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("--bind"), QStringLiteral("/"), dir}) != 0)
            app.exit(3);
    });
    QTimer::singleShot(30000, &app, [&] { app.exit(2); });
    return app.exec();
}
} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "lock") == 0)
        return holdLock(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "single") == 0)
        return single(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "restart") == 0)
        return restart(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "watch") == 0)
        return watch(argc, argv);
    if (argc >= 4 && std::strcmp(argv[1], "crash") == 0)
        return crash(argv[2], argv[3]);
    std::fprintf(stderr, "usage: lock NAME | single MESSAGE | restart | crash DATADIR KIND | watch DIR\n");
    return 64;
}
