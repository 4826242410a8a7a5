// A whole upgrade as a user makes it, without the user: the real program
// and plug-in on a virtual display, the stand-in service with the demo's
// products, and the sample card on a simulated removable drive. Sign in,
// press the upgrade button, wait for the batch to end; then the card holds
// exactly what the archives hold.
#include "ArchiveExtractor.h"
#include "ProgramUnderTest.h"
#include "SampleCardGenerator.h"
#include "StandInService.h"
#include "TestEnv.h"

#include <QDirIterator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {
const int kWait = 60000;

bool downloading(const QString &operationFile)
{
    return QSettings(operationFile, QSettings::IniFormat).value(QStringLiteral("Download/IsDownloading"), false).toBool();
}

// Every file below `root`, by its path below it.
QMap<QString, QByteArray> filesBelow(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(root.size() + 1), TestEnv::readFile(path));
    }
    return files;
}
} // namespace

class TestUpgrade : public QObject
{
    Q_OBJECT

    StandInService mService{TestEnv::sourceDir() + QStringLiteral("/tools/standin/demo.json")};
    std::unique_ptr<TestEnv> mEnv;

    // What the archive `name` of the service unpacks to.
    QMap<QString, QByteArray> contentsOf(const QString &name)
    {
        QByteArray body;
        if (mService.request("GET", QStringLiteral("/files/") + name, QByteArray(), &body) != 200)
            return {};
        QTemporaryDir scratch(mEnv->root() + QStringLiteral("/unzip-XXXXXX"));
        const QString archive = scratch.path() + QStringLiteral("/archive.zip");
        const QString out = scratch.path() + QStringLiteral("/out");
        QDir().mkpath(out);
        TestEnv::writeFile(archive, body);
        ArchiveExtractor extractor;
        const int dir = ::open(QFile::encodeName(out).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        bool ok = dir >= 0 && extractor.open(archive);
        for (int i = 0; ok && i < extractor.count(); ++i)
            ok = extractor.extract(i, dir);
        if (dir >= 0)
            ::close(dir);
        return ok ? filesBelow(out) : QMap<QString, QByteArray>();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mService.start());
        mService.exportEnvironment();
        // A line ten times the demo's: the batch still runs for a moment.
        QVERIFY(mService.clearFaults());
        QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/files/*")},
                                   {QStringLiteral("chunk_size"), 65536},
                                   {QStringLiteral("chunk_delay_ms"), 20}}));
    }

    void upgradeTheSampleCard()
    {
        mEnv = std::make_unique<TestEnv>();
        const QString media = mEnv->makeDir(QStringLiteral("media"));
        const QString card = media + QStringLiteral("/SCANNER");
        SampleCardGenerator::Options options;
        options.serial = QStringLiteral("OSTRELDEMO001");
        SampleCardGenerator generator(options);
        QVERIFY2(generator.generate(card), qPrintable(generator.errorString()));
        qputenv("OSTREL_REMOVABLE_ROOTS", media.toUtf8());

        ProgramUnderTest program(mEnv->makeDir(QStringLiteral("Ostrel")));
        QVERIFY(program.ready());
        QVERIFY(program.addPlugin(TestEnv::buildBinDir() + QStringLiteral("/plugins/libDravik.so"),
                                  QStringLiteral("libDravik.so")));
        QProcess *process = program.start();
        const QString login = ProgramUnderTest::waitForWindow(process->processId());
        QVERIFY2(!login.isEmpty(), process->readAllStandardError().constData());
        QVERIFY(ProgramUnderTest::signIn(login, QStringLiteral("demo@ostrel.test"), QStringLiteral("demo1234")));
        const QString window = ProgramUnderTest::waitForWindow(process->processId(), QSize(1200, 800));
        QVERIFY(!window.isEmpty());
        // The list is there once the software list was asked for and its
        // busy indicator has gone.
        QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(QStringLiteral("/KvaApi/user/soft_search")).size(), 1, kWait);
        QTest::qWait(1500);

        // The upgrade button, right of the language drop-down above the table.
        const QString operation = program.file(QStringLiteral("Operation.ini"));
        const QPoint upgrade = ProgramUnderTest::geometry(window).topLeft() + QPoint(1085, 256);
        QVERIFY(ProgramUnderTest::click(upgrade));
        QTRY_VERIFY_WITH_TIMEOUT(downloading(operation), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!downloading(operation), kWait);
        // The summary box over the window.
        QTRY_COMPARE_WITH_TIMEOUT(ProgramUnderTest::windows(process->processId()).size(), 2, kWait);

        // Each package's folder holds exactly its archive, a patch's files
        // over its package's.
        QStringList archives;
        for (const QJsonValue &entry : mService.requestLog()) {
            const QString path = entry.toObject().value(QStringLiteral("path")).toString();
            if (path.startsWith(QLatin1String("/files/")))
                archives << path.mid(7);
        }
        std::sort(archives.begin(), archives.end(), [](const QString &a, const QString &b) {
            return !a.contains(QLatin1String("_patch")) && b.contains(QLatin1String("_patch"));
        });
        QCOMPARE(archives.size(), 6); // HOME, DEMO, CAR0000, CAR0003, CAR0002 and its patch
        QMap<QString, QMap<QString, QByteArray>> folders; // "Vehicles/<area>/<name>" -> files
        for (const QString &name : qAsConst(archives)) {
            const QMap<QString, QByteArray> files = contentsOf(name);
            QVERIFY2(!files.isEmpty(), qPrintable(name));
            for (auto it = files.cbegin(); it != files.cend(); ++it)
                folders[it.key().section(QLatin1Char('/'), 0, it.key().startsWith(QLatin1String("Vehicles/HOME")) ? 1 : 2)]
                    .insert(it.key(), it.value());
        }
        for (auto folder = folders.cbegin(); folder != folders.cend(); ++folder) {
            QMap<QString, QByteArray> onCard;
            const QMap<QString, QByteArray> below = filesBelow(card + QLatin1Char('/') + folder.key());
            for (auto it = below.cbegin(); it != below.cend(); ++it)
                onCard.insert(folder.key() + QLatin1Char('/') + it.key(), it.value());
            if (folder.key() == QLatin1String("Vehicles/HOME")) {
                // The home software keeps what it wrote itself.
                for (auto it = folder->cbegin(); it != folder->cend(); ++it)
                    QCOMPARE(onCard.value(it.key()), it.value());
            } else {
                QCOMPARE(onCard, folder.value());
            }
        }
        QVERIFY(!QFileInfo::exists(card + QStringLiteral("/.dravik-staging/new")));
    }
};

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
