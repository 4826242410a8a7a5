// ostrel-bench-list: the software list page against the stand-in answering
// 500 and 2,000 packages for a card of 300 vehicles, from the card being
// found to a full table (every row in the model, every row in view with its
// box and drop-down; then a jump to the last row must show its box). Rounds
// interleave the two lists. Prints per-round figures, then as its last lines:
//   list_fill_ms_500 N                 (median)
//   ratio list_fill_2000_vs_500 R      (medians)
//   max_event_loop_stall_ms S          (the GUI thread during the 2,000-row fills)
// Options: --rounds N (5).
#include "BenchSupport.h"
#include "SampleCardGenerator.h"

#include <AppPaths.h>
#include <AppSettings.h>
#include <MyTableModel.h>
#include <SoftwareInfoWidget.h>
#include <StandInService.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace BenchSupport;

namespace {

const QString Token = QStringLiteral("token-bench");

QString serialFor(int rows)
{
    return QStringLiteral("BENCHLIST%1").arg(rows, 4, 10, QLatin1Char('0'));
}

// Half the card's vehicles newer on the service, the other half as they
// are, and the rest of the list not on the card at all.
QJsonObject product(int rows)
{
    QJsonArray software;
    for (int i = 0; i < rows; ++i) {
        const bool onCard = i < 300;
        const QString softId = onCard ? SampleCardGenerator::linkOf(i) : QStringLiteral("NEW%1").arg(i, 4, 10, QLatin1Char('0'));
        const QString version = onCard && i % 2 ? SampleCardGenerator::versionOf(i) : QStringLiteral("V99.00");
        software << QJsonObject{{QStringLiteral("id"), i + 1},
                                {QStringLiteral("soft_id"), softId},
                                {QStringLiteral("soft_name"), QStringLiteral("Vehicle %1").arg(softId)},
                                {QStringLiteral("soft_type"), QStringLiteral("VEHICLE")},
                                {QStringLiteral("version"), version},
                                {QStringLiteral("lang_code"), QStringLiteral("en")},
                                {QStringLiteral("soft_size"), QString::number(1000000 + i)},
                                {QStringLiteral("version_history"),
                                 QJsonArray{QJsonObject{{QStringLiteral("id"), 100000 + i},
                                                        {QStringLiteral("soft_id"), softId},
                                                        {QStringLiteral("version"), QStringLiteral("V1.00")},
                                                        {QStringLiteral("soft_size"), QStringLiteral("900000")}}}}};
    }
    return QJsonObject{{QStringLiteral("serial_number"), serialFor(rows)},
                       {QStringLiteral("owners"), QJsonArray{1}},
                       {QStringLiteral("pro_id"), rows},
                       {QStringLiteral("languages"), QJsonArray{QStringLiteral("en")}},
                       {QStringLiteral("software"), software}};
}

struct Fill
{
    double ms = 0;
    qint64 maxStallMs = 0;
};

Fill fill(QStackedWidget &container, int rows)
{
    Fill r;
    QEventLoop loop;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    // Made with the card in the drive: it is found as the page is built.
    auto *page = new SoftwareInfoWidget;
    container.addWidget(page);
    container.setCurrentWidget(page);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!page->isQuerying() && page->model()->rowCount() == rows)
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(120000, &loop, [&] { loop.exit(1); });
    if (loop.exec() != 0) {
        std::fprintf(stderr, "the list of %d rows did not fill\n", rows);
        ::exit(1);
    }
    r.ms = double(clock.nsecsElapsed()) / 1e6;
    r.maxStallMs = stalls.longestMs();
    auto *table = page->findChild<QTableView *>(QStringLiteral("tableView"));
    const auto placed = [table](int row) { return table->indexWidget(table->model()->index(row, 0)) != nullptr; };
    const int shownLast = table->rowAt(table->viewport()->height() - 1);
    bool whole = placed(0) && (shownLast < 0 || placed(shownLast));
    table->scrollToBottom();
    whole = whole && placed(rows - 1);
    if (!whole) {
        std::fprintf(stderr, "rows of the %d-row list in view have no box\n", rows);
        ::exit(1);
    }
    delete page;
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    const QString media = work.filePath(QStringLiteral("media"));
    // The folders below it are the removable volumes the page looks at.
    qputenv("OSTREL_REMOVABLE_ROOTS", media.toUtf8());
    QApplication app(argc, argv);
    int rounds = 5;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--rounds"))
            rounds = args.at(i + 1).toInt();
    }
    if (rounds <= 0) {
        std::fprintf(stderr, "usage: ostrel-bench-list [--rounds N]\n");
        return 2;
    }
    const QList<int> sizes{500, 2000};
    const QString fixture = work.filePath(QStringLiteral("fixture.json"));
    {
        QJsonArray products;
        for (int rows : sizes)
            products << product(rows);
        const QJsonObject doc{
            {QStringLiteral("users"), QJsonArray{QJsonObject{{QStringLiteral("user_id"), 1},
                                                             {QStringLiteral("user_name"), QStringLiteral("bench@ostrel.test")},
                                                             {QStringLiteral("password"), QStringLiteral("bench1234")},
                                                             {QStringLiteral("token"), Token}}}},
            {QStringLiteral("products"), products}};
        QFile f(fixture);
        if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(doc).toJson()) < 0)
            return 1;
    }
    // One card per list, kept aside while the other is in the drive.
    const QString aside = work.filePath(QStringLiteral("aside"));
    for (int rows : sizes) {
        SampleCardGenerator::Options options;
        options.serial = serialFor(rows);
        options.vehicles = 300;
        options.filesPerVehicle = 5;
        if (!SampleCardGenerator(options).generate(aside + QStringLiteral("/CARD%1").arg(rows)))
            return 1;
    }
    QDir().mkpath(media);
    StandInService service(fixture);
    if (!service.start()) {
        std::fprintf(stderr, "cannot start the stand-in service\n");
        return 1;
    }
    service.exportEnvironment();
    const QString data = work.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    AppPaths::setOverride(data, data);
    AppSettings::setSignedInUser(Token, 1);
    AppSettings::setLanguage(4); // English packages

    QStackedWidget container;
    container.resize(930, 745);
    container.show();
    std::vector<double> times[2];
    qint64 maxStall = 0;
    for (int round = 1; round <= rounds; ++round) {
        for (int k = 0; k < 2; ++k) {
            const int rows = sizes.at(k);
            const QString name = QStringLiteral("/CARD%1").arg(rows);
            QDir().rename(aside + name, media + name);
            const Fill f = fill(container, rows);
            QDir().rename(media + name, aside + name);
            times[k].push_back(f.ms);
            if (rows == 2000)
                maxStall = qMax(maxStall, f.maxStallMs);
            std::printf("round %d: %d rows filled in %.0f ms, longest stall %lld ms\n", round, rows, f.ms, f.maxStallMs);
            std::fflush(stdout);
        }
    }
    const double m500 = median(times[0]);
    std::printf("list_fill_ms_500 %.0f\n", m500);
    std::printf("ratio list_fill_2000_vs_500 %.2f\n", median(times[1]) / qMax(1.0, m500));
    std::printf("max_event_loop_stall_ms %lld\n", maxStall);
    return 0;
}
