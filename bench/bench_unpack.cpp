// Unpacking a package onto a card against bsdtar on the same archive.
//
// Generates a package of 3 000 entries and about 1 GB (sizes spread from
// 1 KiB to 4 MiB, every other entry compressible text and deflated, the
// rest random and stored, no folder entries) in /dev/shm when it has room,
// then in 5 interleaved rounds times one install job unpacking it onto an
// empty card, which includes reading every file back past the page cache
// (both as processes of their own, wall clock), against `bsdtar -xf` and
// against bsdtar followed by what a verifying install does: a sync of the
// file system, the written files' cached pages dropped (posix_fadvise
// DONTNEED, here in the benchmark's process) and every file read back
// (`cat` to /dev/null). The job's peak memory is measured above its own
// footprint just before it starts. Last, the job's time on 20 000 one-byte
// entries against 5 000 shows whether the cost per entry stays flat (4.00
// is linear). The last four lines are the medians and the peak.
#include "BenchSupport.h"
#include "InstallRunnable.h"
#include "ZipWriter.h"

#include <LocalTimeZone.h>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace BenchSupport;

namespace {
// Child side: one install job; prints its time and memory.
int unpackOnce(const QString &archive, const QString &card)
{
    InstallRunnable job(1, archive);
    job.setCard(Card(card));
    bool ok = false;
    QObject::connect(&job, &InstallRunnable::installFinished, [&](long, bool result, const QString &) { ok = result; });
    const qint64 base = statusKib("VmRSS");
    QElapsedTimer timer;
    timer.start();
    job.run();
    const qint64 ms = timer.nsecsElapsed() / 1000;
    if (!ok) {
        QTextStream(stderr) << "install failed: " << job.errorString() << Qt::endl;
        return 1;
    }
    out() << "us " << ms << " base " << base << " peak " << statusKib("VmHWM") << Qt::endl;
    return 0;
}

struct Run
{
    double seconds = 0; // wall clock of the process
    double jobSeconds = 0;
    qint64 rssOverBaseKib = 0;
};

Run runProcess(const QString &program, const QStringList &args)
{
    QByteArray output;
    Run r;
    r.seconds = runTool(program, args, &output) / 1e3;
    const QList<QByteArray> words = output.simplified().split(' ');
    if (words.size() >= 6 && words.at(0) == "us") {
        r.jobSeconds = words.at(1).toLongLong() / 1e6;
        r.rssOverBaseKib = words.at(5).toLongLong() - words.at(3).toLongLong();
    }
    return r;
}

Run unpack(const QString &archive, const QString &card)
{
    QDir(card).removeRecursively();
    QDir().mkpath(card);
    const Run r = runProcess(QCoreApplication::applicationFilePath(), {QStringLiteral("--unpack"), archive, card});
    QDir(card).removeRecursively();
    return r;
}

Run bsdtar(const QString &archive, const QString &dir)
{
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const Run r = runProcess(QStringLiteral("bsdtar"), {QStringLiteral("-xf"), archive, QStringLiteral("-C"), dir});
    QDir(dir).removeRecursively();
    return r;
}

// bsdtar, then the card flushed, the files' cached pages dropped and every
// file read back: what a verifying install does after unpacking.
Run bsdtarReadBack(const QString &archive, const QString &dir)
{
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QElapsedTimer timer;
    timer.start();
    runTool(QStringLiteral("bsdtar"), {QStringLiteral("-xf"), archive, QStringLiteral("-C"), dir});
    runTool(QStringLiteral("sync"), {QStringLiteral("-f"), dir});
    QDirIterator files(dir, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const int fd = ::open(QFile::encodeName(files.next()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
    runTool(QStringLiteral("find"), {dir, QStringLiteral("-type"), QStringLiteral("f"), QStringLiteral("-exec"),
                                     QStringLiteral("cat"), QStringLiteral("{}"), QStringLiteral("+")});
    Run r;
    r.seconds = double(timer.nsecsElapsed()) / 1e9;
    QDir(dir).removeRecursively();
    return r;
}

QByteArray textData(QRandomGenerator &random, int size)
{
    static const char *const words[] = {"engine ", "sensor ", "fault ", "module ",     "diagnostic ", "VIN ",
                                        "0x7E8 ",  "ECU ",    "reset ", "adaptation ", "\n"};
    QByteArray data;
    data.reserve(size + 16);
    while (data.size() < size)
        data += words[random.bounded(11)];
    data.truncate(size);
    return data;
}

QByteArray randomData(QRandomGenerator &random, int size)
{
    QByteArray data(size, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

// 3 000 entries of about 1 GB together; returns the unpacked size.
qint64 writePackage(const QString &path)
{
    QRandomGenerator random(20240517);
    std::vector<double> raw(3000);
    double sum = 0;
    for (double &v : raw) {
        v = std::exp(std::log(1024.0) + random.generateDouble() * (std::log(4.0 * 1024 * 1024) - std::log(1024.0)));
        sum += v;
    }
    const double scale = 1e9 / sum;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        ::exit(1);
    ZipWriter writer(&f);
    qint64 total = 0;
    for (int i = 0; i < 3000; ++i) {
        const int size = qBound(1024, int(raw[size_t(i)] * scale), 4 << 20) & ~3;
        const bool text = i % 2 == 0;
        ZipWriter::Entry e;
        e.name = QStringLiteral("Vehicles/%1/CAR%2/file%3.%4")
                     .arg(QLatin1String(i % 3 ? "EU" : "ASIA"))
                     .arg(i / 40, 3, 10, QLatin1Char('0'))
                     .arg(i)
                     .arg(QLatin1String(text ? "txt" : "bin"))
                     .toUtf8();
        e.data = text ? textData(random, size) : randomData(random, size);
        e.deflate = text;
        writer.add(e);
        total += size;
    }
    writer.finish();
    return total;
}

void writeTiny(const QString &path, int entries)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        ::exit(1);
    ZipWriter writer(&f);
    for (int i = 0; i < entries; ++i)
        writer.addFile("Vehicles/TINY/D" + QByteArray::number(i / 1000) + "/f" + QByteArray::number(i), "x", false);
    writer.finish();
}
} // namespace

int main(int argc, char **argv)
{
    LocalTimeZone::pin(); // as the program does at its start
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--unpack"))
        return unpackOnce(args.at(2), args.at(3));

    QString base = QStringLiteral("/dev/shm");
    const QStorageInfo shm(base);
    if (!shm.isValid() || shm.bytesAvailable() < 4LL * 1024 * 1024 * 1024)
        base = QDir::tempPath();
    const QString work = base + QStringLiteral("/ostrel-bench-unpack-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(work);
    const QString package = work + QStringLiteral("/package.zip");
    const QString card = work + QStringLiteral("/card/");
    const QString tar = work + QStringLiteral("/bsdtar/");

    const qint64 unpacked = writePackage(package);
    out() << "package: 3000 entries, " << QString::number(unpacked / 1e9, 'f', 2) << " GB unpacked, "
          << QString::number(QFileInfo(package).size() / 1e9, 'f', 2) << " GB archive, in " << base << Qt::endl;

    bsdtar(package, tar); // warm-up
    unpack(package, card);
    std::vector<double> ratios;
    std::vector<double> readBackRatios;
    qint64 peak = 0;
    for (int round = 1; round <= 5; ++round) {
        const Run theirs = bsdtar(package, tar);
        const Run ours = unpack(package, card);
        const Run theirsReadBack = bsdtarReadBack(package, tar);
        ratios.push_back(ours.seconds / theirs.seconds);
        readBackRatios.push_back(ours.seconds / theirsReadBack.seconds);
        peak = std::max(peak, ours.rssOverBaseKib);
        out() << "round " << round << ": bsdtar " << QString::number(theirs.seconds, 'f', 2) << " s, install job "
              << QString::number(ours.seconds, 'f', 2) << " s (unpack and read back "
              << QString::number(ours.jobSeconds, 'f', 2) << " s), bsdtar and read back "
              << QString::number(theirsReadBack.seconds, 'f', 2) << " s, peak " << ours.rssOverBaseKib
              << " KiB over its baseline" << Qt::endl;
    }
    const auto spread = [](const std::vector<double> &values) -> QString {
        return QString::number(*std::min_element(values.begin(), values.end()), 'f', 2) + QStringLiteral(" to ")
               + QString::number(*std::max_element(values.begin(), values.end()), 'f', 2);
    };
    out() << "ratios per round: against bsdtar " << spread(ratios) << ", against bsdtar and read back "
          << spread(readBackRatios) << Qt::endl;
    QFile::remove(package);

    const QString small = work + QStringLiteral("/5k.zip");
    const QString large = work + QStringLiteral("/20k.zip");
    writeTiny(small, 5000);
    writeTiny(large, 20000);
    std::vector<double> t5;
    std::vector<double> t20;
    for (int round = 0; round < 5; ++round) {
        t5.push_back(unpack(small, card).jobSeconds);
        t20.push_back(unpack(large, card).jobSeconds);
    }
    out() << "one-byte entries: 5000 in " << QString::number(median(t5), 'f', 3) << " s, 20000 in "
          << QString::number(median(t20), 'f', 3) << " s" << Qt::endl;
    QDir(work).removeRecursively();

    out() << "ratio unpack_vs_bsdtar " << QString::number(median(ratios), 'f', 2) << Qt::endl;
    out() << "ratio unpack_verify_vs_bsdtar_readback " << QString::number(median(readBackRatios), 'f', 2) << Qt::endl;
    out() << "peak_rss_mib_over_baseline " << (peak + 1023) / 1024 << Qt::endl;
    out() << "ratio linearity_20k_vs_5k " << QString::number(median(t20) / median(t5), 'f', 2) << Qt::endl;
    return 0;
}
