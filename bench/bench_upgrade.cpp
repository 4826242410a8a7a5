// ostrel-bench-upgrade: the real upgrade (controller, transfers on their
// thread, three installers, the download page shown) against the stand-in
// serving generated packages of realistic shape (20-60 MB unpacked, 300-1,500
// files each, the first with a patch), onto a card folder. Each round runs
// beside the two baselines on the same files: every download alone (curl,
// three at a time) and every unpack alone (bsdtar, three at a time, then a
// sync of the card); the upgrade is set against the slower of the two. Once at
// full loopback speed, once through one line shared by all transfers.
// Prints per-round figures, then as its last lines:
//   ratio upgrade_vs_bottleneck_fast X
//   ratio upgrade_vs_bottleneck_line Y
//   max_event_loop_stall_ms Z         (the GUI thread during the batches)
//   peak_rss_mib_over_baseline W
// Options: --rounds N (3), --packages N (20), --line BYTES_PER_SECOND
// (40000000), --dir FOLDER (the work folder; /dev/shm when it has room).
#include "BenchSupport.h"
#include "ZipWriter.h"

#include <AppPaths.h>
#include <AppSettings.h>
#include <DownloadFile.h>
#include <DownloadWidget.h>
#include <LocalTimeZone.h>
#include <StandInService.h>
#include <UpgradeController.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace BenchSupport;

namespace {

const QString Serial = QStringLiteral("BENCH00000001");
const QString Token = QStringLiteral("token-bench");

struct Archive
{
    long id;
    QString softId;
    QString version;
    QString file;
    qint64 size;
    long patchOf = 0;
};

// Bytes that compress about as a vehicle package does: half noise, half
// text-like repetition.
QByteArray content(QRandomGenerator &random, int size)
{
    QByteArray data(size, Qt::Uninitialized);
    const int noise = size / 2;
    for (int i = 0; i < noise; ++i)
        data[i] = char(random.bounded(256));
    static const QByteArray words("ECU DTC freeze frame sensor voltage injector throttle idle ");
    for (int i = noise; i < size; ++i)
        data[i] = words.at((i + random.bounded(3)) % words.size());
    return data;
}

bool writeZip(const QString &path, const QString &folder, const QString &version, int files, qint64 unpacked,
              QRandomGenerator &random)
{
    QFile out(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !out.open(QIODevice::WriteOnly))
        return false;
    ZipWriter zip(&out);
    const QByteArray base = folder.toUtf8() + '/';
    const QByteArray name = folder.section(QLatin1Char('/'), -1).toUtf8();
    zip.addFile(base + "version.txt", version.toUtf8());
    zip.addFile(base + "Names.txt", "{}");
    const int each = int(unpacked / files);
    for (int i = 0; i < files; ++i) {
        const int size = qMax(1, each / 2 + random.bounded(each));
        QByteArray entry = base + "data/f" + QByteArray::number(i) + ".dat";
        if (i == 0)
            entry = base + name + ".bin";
        else if (i % 10 == 0)
            entry = base + "Res/Text/t" + QByteArray::number(i) + ".txt";
        if (!zip.addFile(entry, content(random, size)))
            return false;
    }
    return zip.finish();
}

// The packages and the stand-in's fixture for them.
QList<Archive> generate(const QString &filesDir, const QString &fixture, int packages)
{
    QRandomGenerator random(20261208);
    QList<Archive> archives;
    QJsonArray software;
    for (int i = 0; i < packages; ++i) {
        const QString softId = QStringLiteral("PKG%1").arg(i, 3, 10, QLatin1Char('0'));
        const QString file = softId + QStringLiteral("_V1.00.zip");
        const qint64 unpacked = (20 + random.bounded(41)) * 1000 * 1000LL;
        const int files = 300 + random.bounded(1201);
        if (!writeZip(filesDir + QLatin1Char('/') + file, QStringLiteral("Vehicles/EU/") + softId, QStringLiteral("V1.00"),
                      files, unpacked, random))
            return {};
        const long id = 100 + i;
        archives << Archive{id, softId, QStringLiteral("V1.00"), file, QFileInfo(filesDir + QLatin1Char('/') + file).size()};
        QJsonObject entry{{QStringLiteral("id"), double(id)},
                          {QStringLiteral("soft_id"), softId},
                          {QStringLiteral("soft_name"), softId},
                          {QStringLiteral("soft_type"), QStringLiteral("VEHICLE")},
                          {QStringLiteral("version"), QStringLiteral("V1.00")},
                          {QStringLiteral("file"), file},
                          {QStringLiteral("soft_size"), QString::number(archives.last().size)}};
        if (i == 0) {
            // A package with its patch: fetched and installed one after the other.
            const QString patchFile = softId + QStringLiteral("_V1.01_patch.zip");
            if (!writeZip(filesDir + QLatin1Char('/') + patchFile, QStringLiteral("Vehicles/EU/") + softId,
                          QStringLiteral("V1.01"), 40, 2 * 1000 * 1000, random))
                return {};
            archives << Archive{id + 1000, softId, QStringLiteral("V1.01"), patchFile,
                                QFileInfo(filesDir + QLatin1Char('/') + patchFile).size(), id};
            entry.insert(QStringLiteral("patch_version"),
                         QJsonArray{QJsonObject{{QStringLiteral("id"), double(id + 1000)},
                                                {QStringLiteral("soft_id"), softId},
                                                {QStringLiteral("version"), QStringLiteral("V1.01")},
                                                {QStringLiteral("file"), patchFile},
                                                {QStringLiteral("soft_size"), QString::number(archives.last().size)}}});
        }
        software << entry;
    }
    const QJsonObject doc{
        {QStringLiteral("users"), QJsonArray{QJsonObject{{QStringLiteral("user_id"), 1},
                                                         {QStringLiteral("user_name"), QStringLiteral("bench@ostrel.test")},
                                                         {QStringLiteral("password"), QStringLiteral("bench1234")},
                                                         {QStringLiteral("token"), Token}}}},
        {QStringLiteral("products"),
         QJsonArray{QJsonObject{{QStringLiteral("serial_number"), Serial},
                                {QStringLiteral("owners"), QJsonArray{1}},
                                {QStringLiteral("pro_id"), 1},
                                {QStringLiteral("languages"), QJsonArray{QStringLiteral("en")}},
                                {QStringLiteral("software"), software}}}}};
    QFile f(fixture);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(doc).toJson()) < 0)
        return {};
    return archives;
}

QList<UpgradeItem> itemsOf(const QList<Archive> &archives, const Card &card)
{
    QList<UpgradeItem> items;
    for (const Archive &a : archives) {
        Package p;
        p.id = a.id;
        p.softId = a.softId;
        p.name = a.softId;
        p.version = a.version;
        p.size = a.size;
        p.card = card;
        if (a.patchOf) {
            p.baseId = a.patchOf;
            p.baseVersion = QStringLiteral("V1.00");
            items.last().patch = p;
        } else {
            UpgradeItem item;
            item.package = p;
            items << item;
        }
    }
    return items;
}

struct Upgrade
{
    double ms = 0;
    qint64 maxStallMs = 0;
    bool ok = false;
};

Upgrade viaOstrel(QStackedWidget &container, const QList<Archive> &archives, const QString &cardRoot)
{
    Upgrade r;
    const Card card(cardRoot, Serial);
    QEventLoop loop;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    DownloadWidget *page = DownloadWidget::startIn(&container, card, itemsOf(archives, card));
    QMetaObject::Connection ended = QObject::connect(page->controller(), &UpgradeController::batchEnded, &loop, &QEventLoop::quit);
    if (page->isRunning())
        loop.exec();
    QObject::disconnect(ended);
    r.ms = double(clock.nsecsElapsed()) / 1e6;
    r.maxStallMs = stalls.longestMs();
    r.ok = page->batch().doneCount() == page->batch().size();
    return r;
}

double downloadsAlone(const StandInService &service, const QList<Archive> &archives, const QString &into)
{
    QDir().mkpath(into);
    QString list;
    for (const Archive &a : archives)
        list += QStringLiteral("-o %1/%2 %3\n").arg(into, a.file, service.fileUrl(a.file).toString());
    QFile f(into + QStringLiteral("/.list"));
    if (!f.open(QIODevice::WriteOnly) || f.write(list.toUtf8()) < 0)
        ::exit(1);
    f.close();
    return runTool(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("xargs -P 3 -L 1 curl -sf < '%1'").arg(f.fileName())});
}

double unpacksAlone(const QString &filesDir, const QList<Archive> &archives, const QString &card)
{
    QDir().mkpath(card);
    QString list;
    for (const Archive &a : archives) {
        if (!a.patchOf)
            list += QStringLiteral("%1/%2\n").arg(filesDir, a.file);
    }
    QString patches;
    for (const Archive &a : archives) {
        if (a.patchOf)
            patches += QStringLiteral(" && bsdtar -xf '%1/%2' -C '%3'").arg(filesDir, a.file, card);
    }
    QFile f(card + QStringLiteral("/../.unpack"));
    if (!f.open(QIODevice::WriteOnly) || f.write(list.toUtf8()) < 0)
        ::exit(1);
    f.close();
    return runTool(QStringLiteral("sh"),
                   {QStringLiteral("-c"), QStringLiteral("xargs -P 3 -I{} bsdtar -xf {} -C '%1' < '%2'%3 && sync -f '%1'")
                                              .arg(card, f.fileName(), patches)});
}

} // namespace

int main(int argc, char **argv)
{
    LocalTimeZone::pin(); // as the program does at its start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 3;
    int packages = 20;
    qint64 line = 40 * 1000 * 1000;
    QString dir;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--rounds"))
            rounds = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--packages"))
            packages = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--line"))
            line = args.at(i + 1).toLongLong();
        else if (args.at(i) == QLatin1String("--dir"))
            dir = args.at(i + 1);
    }
    if (rounds <= 0 || packages <= 0 || line <= 0) {
        std::fprintf(stderr, "usage: ostrel-bench-upgrade [--rounds N] [--packages N] [--line BYTES_PER_SECOND] [--dir FOLDER]\n");
        return 2;
    }
    if (dir.isEmpty()) {
        const QStorageInfo shm(QStringLiteral("/dev/shm"));
        dir = shm.isValid() && shm.bytesAvailable() > (8LL << 30) ? QStringLiteral("/dev/shm") : QDir::tempPath();
    }
    QTemporaryDir work(dir + QStringLiteral("/ostrel-bench-upgrade-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString files = work.filePath(QStringLiteral("files"));
    const QString fixture = work.filePath(QStringLiteral("fixture.json"));
    std::printf("generating %d packages in %s ...\n", packages, qPrintable(work.path()));
    std::fflush(stdout);
    const QList<Archive> archives = generate(files, fixture, packages);
    if (archives.isEmpty()) {
        std::fprintf(stderr, "cannot write the packages\n");
        return 1;
    }
    qint64 total = 0;
    for (const Archive &a : archives)
        total += a.size;
    std::printf("%lld archives, %.0f MB\n", qint64(archives.size()), double(total) / 1e6);

    StandInService fast(fixture);
    StandInService slow(fixture);
    if (!fast.start({QStringLiteral("--files"), files})
        || !slow.start({QStringLiteral("--files"), files, QStringLiteral("--rate-limit"), QString::number(line)})) {
        std::fprintf(stderr, "cannot start the stand-in service\n");
        return 1;
    }
    const QString data = work.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    AppPaths::setOverride(data, data);
    AppSettings::setSignedInUser(Token, 1);
    AppSettings::setUninstalling(false);

    QStackedWidget container;
    container.resize(930, 745);
    container.addWidget(new QWidget);
    container.show();

    const qint64 baselineKib = statusKib("VmRSS");
    resetPeakRss();
    qint64 maxStall = 0;
    std::vector<double> ours[2], theirs[2];
    for (int round = 1; round <= rounds; ++round) {
        for (int mode = 0; mode < 2; ++mode) {
            StandInService &service = mode == 0 ? fast : slow;
            service.exportEnvironment();
            const QString card = work.filePath(QStringLiteral("card/"));
            QDir(card).removeRecursively();
            QDir(DownloadFile::downloadDir()).removeRecursively();
            QDir().mkpath(card);
            QFile sn(card + QStringLiteral("sn.txt"));
            if (!sn.open(QIODevice::WriteOnly) || sn.write(Serial.toLatin1()) < 0)
                return 1;
            sn.close();
            const Upgrade o = viaOstrel(container, archives, card);
            if (!o.ok) {
                std::fprintf(stderr, "round %d: the upgrade did not end with every row done\n", round);
                return 1;
            }
            const QString curled = work.filePath(QStringLiteral("curl"));
            const double d = downloadsAlone(service, archives, curled);
            QDir(curled).removeRecursively();
            const QString plain = work.filePath(QStringLiteral("bsdtar/card"));
            const double u = unpacksAlone(files, archives, plain);
            QDir(work.filePath(QStringLiteral("bsdtar"))).removeRecursively();
            const double bottleneck = qMax(d, u);
            ours[mode].push_back(o.ms);
            theirs[mode].push_back(bottleneck);
            maxStall = qMax(maxStall, o.maxStallMs);
            std::printf("round %d %s: upgrade %.0f ms, downloads alone %.0f ms, unpacks alone %.0f ms, ratio %.2f, "
                        "stall %lld ms\n",
                        round, mode == 0 ? "fast" : "line", o.ms, d, u, o.ms / bottleneck, o.maxStallMs);
            std::fflush(stdout);
        }
    }
    const qint64 peakKib = statusKib("VmHWM");
    std::printf("ratio upgrade_vs_bottleneck_fast %.2f\n", medianRatio(ours[0], theirs[0]));
    std::printf("ratio upgrade_vs_bottleneck_line %.2f\n", medianRatio(ours[1], theirs[1]));
    std::printf("max_event_loop_stall_ms %lld\n", maxStall);
    std::printf("peak_rss_mib_over_baseline %lld\n", qMax<qint64>(0, peakKib - baselineKib) / 1024);
    return 0;
}
