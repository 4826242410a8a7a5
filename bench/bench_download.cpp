// ostrel-bench-download: serves a generated 1 GiB file from the stand-in
// service on loopback and fetches it five times each, interleaved, with
// "curl -s -o FILE" and with DownloadFile, into the same folder. Prints
// per-run times, then as its last lines:
//   ratio download_vs_curl X.XX        (DownloadFile time / curl time)
//   peak_rss_mib_over_baseline N       (this process, during the downloads)
//   max_event_loop_stall_ms N          (longest late tick of a 10 ms timer)
// Options: --size BYTES (default 1 GiB), --runs N (default 5).
#include "BenchSupport.h"
#include <AppPaths.h>
#include <DownloadFile.h>
#include <StandInService.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace BenchSupport;

namespace {

const QString Name = QStringLiteral("big.bin");

bool sameContent(const QString &a, const QString &b)
{
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    }
    return true;
}

struct Run
{
    bool ok = false;
    qint64 ms = 0;
    qint64 maxStallMs = 0;
};

Run viaCurl(const QString &url, const QString &file)
{
    Run r;
    r.ms = qint64(runTool(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), file, url}));
    r.ok = true;
    return r;
}

Run viaDownloadFile(const QString &url, QString *path)
{
    Run r;
    DownloadFile download;
    QEventLoop loop;
    QObject::connect(&download, &DownloadFile::downloadFinished, &loop,
                     [&](long, bool ok, const QString &file) {
                         r.ok = ok;
                         *path = file;
                         loop.quit();
                     });
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    download.start(1, url, QStringLiteral("BENCH00000001"));
    if (path->isEmpty())
        loop.exec();
    r.ms = clock.elapsed();
    r.maxStallMs = stalls.longestMs();
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qint64 size = qint64(1) << 30;
    int runs = 5;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--size"))
            size = args.at(i + 1).toLongLong();
        else if (args.at(i) == QLatin1String("--runs"))
            runs = args.at(i + 1).toInt();
    }
    if (size <= 0 || size > 0x7fffffff || runs <= 0) {
        std::fprintf(stderr, "usage: ostrel-bench-download [--size BYTES] [--runs N]\n");
        return 2;
    }

    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    const QString fixture = work.filePath(QStringLiteral("fixture.json"));
    {
        const QJsonObject file{{QStringLiteral("name"), Name},
                               {QStringLiteral("generate"),
                                QJsonObject{{QStringLiteral("size"), double(size)}, {QStringLiteral("seed"), 5}}}};
        QFile f(fixture);
        if (!f.open(QIODevice::WriteOnly)
            || f.write(QJsonDocument(QJsonObject{{QStringLiteral("files"), QJsonArray{file}}}).toJson()) < 0)
            return 1;
    }
    StandInService service(fixture);
    if (!service.start()) {
        std::fprintf(stderr, "cannot start the stand-in service\n");
        return 1;
    }
    const QString url = service.fileUrl(Name).toString();
    AppPaths::setOverride(work.path(), work.path());
    const QString downloads = DownloadFile::downloadDir();
    QDir().mkpath(downloads);
    const QString curlFile = downloads + QStringLiteral("curl.bin");

    const qint64 baselineKib = statusKib("VmRSS");
    resetPeakRss();
    qint64 curlMs = 0;
    qint64 ownMs = 0;
    qint64 maxStall = 0;
    for (int i = 0; i < runs; ++i) {
        const Run c = viaCurl(url, curlFile);
        QString path;
        const Run d = viaDownloadFile(url, &path);
        if (!c.ok || !d.ok || QFileInfo(curlFile).size() != size || QFileInfo(path).size() != size) {
            std::fprintf(stderr, "run %d failed (curl %d, DownloadFile %d)\n", i + 1, c.ok, d.ok);
            return 1;
        }
        if (i == 0 && !sameContent(curlFile, path)) {
            std::fprintf(stderr, "DownloadFile and curl fetched different bytes\n");
            return 1;
        }
        std::printf("run %d: curl %lld ms, DownloadFile %lld ms, stall %lld ms\n", i + 1, c.ms, d.ms,
                    d.maxStallMs);
        std::fflush(stdout);
        curlMs += c.ms;
        ownMs += d.ms;
        maxStall = qMax(maxStall, d.maxStallMs);
        QFile::remove(curlFile);
        QFile::remove(path);
    }
    const qint64 peakKib = statusKib("VmHWM");
    std::printf("ratio download_vs_curl %.2f\n", double(ownMs) / double(qMax<qint64>(curlMs, 1)));
    std::printf("peak_rss_mib_over_baseline %lld\n", qMax<qint64>(0, peakKib - baselineKib) / 1024);
    std::printf("max_event_loop_stall_ms %lld\n", maxStall);
    return 0;
}
