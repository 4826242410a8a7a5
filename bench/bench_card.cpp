// Card scan and uninstall against du and rm on the same tree.
//
// Generates a card of about 100 000 files, then in interleaved rounds times
// the scan with sizes against `du -sb` (warm cache) and uninstalling every
// vehicle through the job pool against `rm -rf` of an identical copy. The
// last two lines give the median of the per-round ratios; the uninstall one
// counts what the user waits for: the jobs with their progress delivered to
// another thread, as the page receives it.
#include "BenchSupport.h"
#include "Catalogue.h"
#include "SampleCardGenerator.h"
#include "UninstallRunnable.h"
#include "Vehicles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>
#include <QThreadPool>

#include <algorithm>
#include <vector>

#include <unistd.h>

using namespace BenchSupport;

namespace {
void copyTree(const QString &from, const QString &to)
{
    runTool(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
}

double timeScan(const QString &root, int *found)
{
    QElapsedTimer timer;
    timer.start();
    Vehicles vehicles{Card(root)};
    vehicles.ScanVehicles(root + QStringLiteral("Vehicles/"), true);
    SortVehicles(vehicles.mDatas);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    *found = vehicles.mDatas.size();
    return ms;
}

// Every vehicle through one-at-a-time pool jobs, made from scanned records
// as the page makes them. With `deliverProgress` the progress signals are
// also queued to this thread, as the page receives them.
double timeUninstall(const QString &root, bool deliverProgress, int *failures, int *progressEvents)
{
    // Scanned with sizes, as the page has them.
    const Card card(root);
    Vehicles catalogue(card);
    catalogue.ScanVehicles(card.vehiclesPath(), true);
    QThreadPool pool;
    pool.setMaxThreadCount(1);
    QObject receiver;
    QEventLoop loop;
    int pending = catalogue.mDatas.size();
    *failures = 0;
    *progressEvents = 0;
    QElapsedTimer timer;
    timer.start();
    for (const VehicleData &v : qAsConst(catalogue.mDatas)) {
        auto *job = new UninstallRunnable(card, v);
        if (deliverProgress)
            QObject::connect(job, &UninstallRunnable::SignalUninstallProgress, &receiver,
                             [progressEvents](const QString &, uint) { ++*progressEvents; });
        QObject::connect(job, &UninstallRunnable::SignalUninstallFinished, &receiver, [&](const QString &, bool ok) {
            *failures += ok ? 0 : 1;
            if (--pending == 0)
                loop.quit();
        });
        pool.start(job);
    }
    if (pending > 0)
        loop.exec();
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // ostrel-bench-card [rounds] [scan|uninstall]
    const int rounds = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool doScan = only != QLatin1String("uninstall");
    const bool doUninstall = only != QLatin1String("scan");

    QString base = QStringLiteral("/dev/shm");
    if (!QFileInfo(base).isDir() || ::access("/dev/shm", W_OK) != 0)
        base = QDir::tempPath();
    const QString work = base + QStringLiteral("/ostrel-bench-card-%1").arg(QCoreApplication::applicationPid());
    QDir(work).removeRecursively();
    const QString master = work + QStringLiteral("/master/");

    SampleCardGenerator::Options options;
    options.vehicles = 1000;
    options.filesPerVehicle = 100;
    options.extras = false;
    SampleCardGenerator generator(options);
    if (!generator.generate(master)) {
        out() << "cannot generate the card: " << generator.errorString() << Qt::endl;
        return 1;
    }
    out() << "card: " << generator.fileCount() << " files, " << options.vehicles << " vehicles, in " << work
          << Qt::endl;

    // Warm the cache for both sides.
    int found = 0;
    runTool(QStringLiteral("du"), {QStringLiteral("-sb"), master});
    timeScan(master, &found);

    std::vector<double> du, scan;
    for (int r = 0; r < rounds && doScan; ++r) {
        double d = 0;
        double s = 0;
        if (r % 2 == 0) {
            d = runTool(QStringLiteral("du"), {QStringLiteral("-sb"), master});
            s = timeScan(master, &found);
        } else {
            s = timeScan(master, &found);
            d = runTool(QStringLiteral("du"), {QStringLiteral("-sb"), master});
        }
        du.push_back(d);
        scan.push_back(s);
        out() << QStringLiteral("round %1: du %2 ms, scan %3 ms (%4 vehicles)")
                     .arg(r + 1)
                     .arg(d, 0, 'f', 1)
                     .arg(s, 0, 'f', 1)
                     .arg(found)
              << Qt::endl;
    }

    std::vector<double> rm, uninstall, delivered;
    for (int r = 0; r < rounds && doUninstall; ++r) {
        const QString a = work + QStringLiteral("/rm-copy");
        const QString b = work + QStringLiteral("/uninstall-copy");
        const QString c = work + QStringLiteral("/delivered-copy");
        copyTree(master, a);
        copyTree(master, b);
        copyTree(master, c);
        int failures = 0;
        int unusedEvents = 0;
        int events = 0;
        int deliveredFailures = 0;
        double rmMs = 0;
        double unMs = 0;
        double delMs = 0;
        // Rotate the order so no side always runs first.
        for (int step = 0; step < 3; ++step) {
            switch ((r + step) % 3) {
            case 0:
                rmMs = runTool(QStringLiteral("rm"), {QStringLiteral("-rf"), a + QStringLiteral("/Vehicles")});
                break;
            case 1: unMs = timeUninstall(b + QLatin1Char('/'), false, &failures, &unusedEvents); break;
            default: delMs = timeUninstall(c + QLatin1Char('/'), true, &deliveredFailures, &events); break;
            }
        }
        const bool gone =
            !QFileInfo::exists(b + QStringLiteral("/Vehicles")) && !QFileInfo::exists(c + QStringLiteral("/Vehicles"));
        rm.push_back(rmMs);
        uninstall.push_back(unMs);
        delivered.push_back(delMs);
        out() << QStringLiteral("round %1: rm %2 ms, uninstall %3 ms, with progress delivered %4 ms "
                                "(%5 failed, %6 progress events, %7)")
                     .arg(r + 1)
                     .arg(rmMs, 0, 'f', 1)
                     .arg(unMs, 0, 'f', 1)
                     .arg(delMs, 0, 'f', 1)
                     .arg(failures + deliveredFailures)
                     .arg(events)
                     .arg(gone ? QStringLiteral("all gone") : QStringLiteral("files left"))
              << Qt::endl;
        QDir(a).removeRecursively();
        QDir(b).removeRecursively();
        QDir(c).removeRecursively();
    }
    if (doUninstall)
        out() << QStringLiteral("uninstall without anyone receiving its progress vs rm: %1 "
                                "(ratio of median times %2; with delivery %3)")
                     .arg(medianRatio(uninstall, rm), 0, 'f', 2)
                     .arg(median(uninstall) / median(rm), 0, 'f', 2)
                     .arg(median(delivered) / median(rm), 0, 'f', 2)
              << Qt::endl;
    if (doScan)
        out() << QStringLiteral("scan vs du: ratio of median times %1").arg(median(scan) / median(du), 0, 'f', 2)
              << Qt::endl;
    QDir(work).removeRecursively();

    if (doScan)
        out() << QStringLiteral("ratio scan_vs_du %1").arg(medianRatio(scan, du), 0, 'f', 2) << Qt::endl;
    if (doUninstall)
        out() << QStringLiteral("ratio uninstall_vs_rm %1").arg(medianRatio(delivered, rm), 0, 'f', 2) << Qt::endl;
    return 0;
}
