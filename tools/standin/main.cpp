// ostrel-standin: a local stand-in for the maker's web service and web host,
// for the tests and the demo. See README.md next to this file.

#include "StandInServer.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

void usage()
{
    std::fputs("usage: ostrel-standin [--fixture FILE] [--files DIR] [--port N] [--log FILE]\n"
               "                      [--tls CERT KEY] [--rate-limit BYTES_PER_SECOND] [--stdin-watch] [--verbose]\n",
               stderr);
}

bool parseArguments(const QStringList &args, StandInServer::Options *options, bool *stdinWatch)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--fixture") && hasValue) {
            options->fixture = args.at(++i);
        } else if (a == QLatin1String("--files") && hasValue) {
            options->filesDir = args.at(++i);
        } else if (a == QLatin1String("--rate-limit") && hasValue) {
            bool ok = false;
            options->rateLimit = args.at(++i).toLongLong(&ok);
            if (!ok || options->rateLimit <= 0)
                return false;
        } else if (a == QLatin1String("--log") && hasValue) {
            options->logFile = args.at(++i);
        } else if (a == QLatin1String("--port") && hasValue) {
            bool ok = false;
            options->port = args.at(++i).toInt(&ok);
            if (!ok || options->port <= 0 || options->port > 65535)
                return false;
        } else if (a == QLatin1String("--tls") && i + 2 < args.size()) {
            options->certFile = args.at(++i);
            options->keyFile = args.at(++i);
        } else if (a == QLatin1String("--stdin-watch")) {
            *stdinWatch = true;
        } else if (a == QLatin1String("--verbose")) {
            options->verbose = true;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // for QCoreApplication::arguments() decoding only

    StandInServer::Options options;
    bool stdinWatch = false;
    if (!parseArguments(QCoreApplication::arguments(), &options, &stdinWatch)) {
        usage();
        return 2;
    }

    // A client that hangs up mid-answer must not end the server.
    std::signal(SIGPIPE, SIG_IGN);
    // SIGTERM and SIGINT are taken by one thread that stops the server
    // cleanly; every other thread (the HTTP workers too) has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    StandInServer server(options);
    QString error;
    if (!server.setUp(&error)) {
        std::fprintf(stderr, "ostrel-standin: %s\n", error.toLocal8Bit().constData());
        return 1;
    }

    std::thread([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    }).detach();
    if (stdinWatch) {
        // The parent holds our stdin; when it goes away, so do we.
        std::thread([&server] {
            char buffer[256];
            while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
            }
            server.stop();
        }).detach();
    }

    std::printf("PORT %d\n", server.port());
    std::fflush(stdout);
    const int rc = server.run() ? 0 : 1;
    // The watcher threads may still hold the server; leave without tearing
    // it down under them (the request log is flushed line by line).
    std::fflush(stderr);
    _exit(rc);
}
