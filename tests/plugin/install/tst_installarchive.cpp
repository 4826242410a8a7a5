// Install jobs on real archives and real folders: hostile archives change
// nothing on the card or beside it, good ones land whole, with their times,
// and an install cut short by a crash is cleaned up by the next one.
#include "ArchiveExpectation.h"
#include "ArchiveExtractor.h"
#include "InstallRunnable.h"
#include "InstallTestSupport.h"
#include "StagedInstall.h"

#include <QSignalSpy>
#include <QTextCodec>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace InstallTest;

namespace {
const QDateTime kFirst(QDate(2023, 11, 20), QTime(9, 0, 4));
const QDateTime kSecond(QDate(2024, 2, 29), QTime(23, 59, 58));

struct Expected
{
    QByteArray path; // UTF-8
    QByteArray content;
    QDateTime modified;
};

struct Scenario
{
    QByteArray archive;
    QList<Expected> files;
};

Scenario goodScenario(int i)
{
    const QDateTime plain = Entry().modified;
    switch (i) {
    case 0: // the folder entry counts as an entry of its own
        return {archiveOf({folder("Vehicles/EU/NEW/"),
                     with(file("Vehicles/EU/NEW/version.txt", "V2.00"), [](Entry &e) { e.modified = kFirst; }),
                     with(file("Vehicles/EU/NEW/NEW.bin", QByteArray(5000, 'n')), [](Entry &e) { e.modified = kSecond; })}),
                {{"Vehicles/EU/NEW/version.txt", "V2.00", kFirst}, {"Vehicles/EU/NEW/NEW.bin", QByteArray(5000, 'n'), kSecond}}};
    case 1: // no folder entries; a dot file keeps its name; "deflated" with no bytes at all
        return {archiveOf({file("Vehicles/EU/NEW/Res/Text/en.txt", "text"), file("Vehicles/EU/NEW/.hidden", "h"),
                           with(file("Vehicles/EU/NEW/empty.txt", ""), [](Entry &e) {
                               e.deflate = false;
                               e.method = 8;
                           })}),
                {{"Vehicles/EU/NEW/Res/Text/en.txt", "text", plain},
                 {"Vehicles/EU/NEW/.hidden", "h", plain},
                 {"Vehicles/EU/NEW/empty.txt", "", plain}}};
    case 2: {
        const QByteArray gb = QTextCodec::codecForName("GB18030")->fromUnicode(QStringLiteral("车型.txt"));
        return {archiveOf({file("Vehicles/EU/NEW/名前.txt", "utf8"),
                     with(file("Vehicles/EU/NEW/" + gb, "gb"), [](Entry &e) { e.utf8 = 0; }),
                     with(file("Vehicles/EU/NEW/\x8e.txt", "cp437"), [](Entry &e) { e.utf8 = 0; })}),
                {{"Vehicles/EU/NEW/名前.txt", "utf8", plain},
                 {"Vehicles/EU/NEW/车型.txt", "gb", plain},
                 {"Vehicles/EU/NEW/Ä.txt", "cp437", plain}}};
    }
    default: // sizes in a zip64 field, sizes after the data
        return {archiveOf({with(file("Vehicles/EU/NEW/a.bin", "zip64"), [](Entry &e) { e.zip64 = true; }),
                     with(file("Vehicles/EU/NEW/b.bin", "after"), [](Entry &e) { e.dataDescriptor = true; })}),
                {{"Vehicles/EU/NEW/a.bin", "zip64", plain}, {"Vehicles/EU/NEW/b.bin", "after", plain}}};
    }
}
} // namespace

class TestInstallArchive : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    int mCases = 0;
    QString mCase; // holds the card and nothing else
    QString mCard;

    void newCard()
    {
        mCase = mEnv.makeDir(QStringLiteral("case-%1").arg(++mCases)) + QLatin1Char('/');
        mCard = mCase + QStringLiteral("card/");
        QVERIFY(TestEnv::writeFile(mCard + QStringLiteral("sn.txt"), "ABCDEFGHIJKLM"));
        QVERIFY(writeVehicle(mCard + QStringLiteral("Vehicles/EU/CAR/"), "V1.00"));
        QVERIFY(writeVehicle(mCard + QStringLiteral("Vehicles/EU/OTHER/"), "V3.00"));
    }

    QString writeArchive(const QByteArray &bytes)
    {
        const QString path = mEnv.root() + QStringLiteral("/archive-%1.zip").arg(mCases);
        TestEnv::writeFile(path, bytes);
        return path;
    }

    // Runs a job on this thread; its signals as (kind, a, b) triples.
    static QList<QList<qint64>> run(InstallRunnable &job)
    {
        QList<QList<qint64>> events;
        QObject::connect(&job, &InstallRunnable::installStarted, [&](long) { events.append({0}); });
        QObject::connect(&job, &InstallRunnable::installProgress,
                         [&](long, qint64 done, qint64 count) { events.append({1, done, count}); });
        QObject::connect(&job, &InstallRunnable::installFinished,
                         [&](long, bool ok, const QString &) { events.append({2, ok}); });
        job.run();
        return events;
    }

    bool stagingGone() const { return !QFileInfo::exists(mCard + QLatin1String(StagedInstall::kStagingFolder)); }

private slots:
    void hostileArchiveChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<bool>("linkOnCard");
        QTest::addColumn<QString>("why");
        QTest::addColumn<bool>("broken");
        const QByteArray big = QByteArray(100000, 'x');
        QByteArray noise(65536, Qt::Uninitialized);
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919) ^ (i >> 5));
        const QByteArray truncated = archiveOf({file("Vehicles/EU/NEW/a.txt"), with(file("Vehicles/EU/NEW/b.bin", noise), [](Entry &e) {
                                              e.deflate = false;
                                          })});
        // What is in the way on the card is no fault of the archive.
        auto row = [](const char *name, const QByteArray &archive, const char *why, bool link = false) {
            QTest::newRow(name) << archive << link << QString::fromLatin1(why) << (qstrcmp(why, "in the way") != 0);
        };
        row("../x", archiveOf({file("../x")}), "component");
        row("a/ then a/../../x", archiveOf({folder("a/"), file("a/../../x")}), "component");
        row("/abs", archiveOf({file("/abs")}), "absolute");
        row("C:x", archiveOf({file("C:x")}), "drive letter");
        row("a\\..\\x", archiveOf({file("a\\..\\x")}), "backslash");
        row("link entry, then a file through it",
            archiveOf({with(file("Vehicles/EU/L", "/tmp"), [](Entry &e) { e.unixMode = 0120777; }), file("Vehicles/EU/L/f")}),
            "symbolic link");
        row("link on the card in the entry's path", archiveOf({file("Vehicles/EU/LINKED/f.txt")}), "in the way", true);
        row("wrong checksum", archiveOf({with(file("Vehicles/EU/NEW/a.bin", big), [](Entry &e) { e.declaredCrc = 0x12345678; })}), "CRC");
        // Past 4 MiB an entry is streamed rather than inflated whole.
        row("wrong checksum, streamed",
            archiveOf({with(file("Vehicles/EU/NEW/a.bin", QByteArray(5 << 20, 'y')), [](Entry &e) { e.declaredCrc = 1; })}), "CRC");
        row("truncated mid-entry", truncated.left(truncated.size() / 2), "not a zip");
        row("overlapping entries", archiveOf({file("Vehicles/EU/NEW/a.bin", big), with(Entry(), [](Entry &e) {
                                            e.name = "Vehicles/EU/NEW/b.bin";
                                            e.aliasOf = 0;
                                        })}),
            "overlap");
        row("declared size smaller than its data",
            archiveOf({with(file("Vehicles/EU/NEW/a.bin", big), [](Entry &e) { e.declaredSize = 1000; })}), "more data");
        row("declared size no data can have",
            archiveOf({with(file("Vehicles/EU/NEW/a.bin", big), [](Entry &e) { e.declaredSize = qint64(1) << 50; })}), "cannot have");
        row("encrypted", archiveOf({with(file("Vehicles/EU/NEW/a.bin"), [](Entry &e) { e.extraFlags = 1; })}), "encrypted");
        row("LZMA", archiveOf({with(file("Vehicles/EU/NEW/a.bin"), [](Entry &e) { e.method = 14; })}), "unsupported");
        row("names differing in letter case", archiveOf({file("Vehicles/EU/NEW/A.txt"), file("Vehicles/EU/NEW/a.txt")}), "same name");
        row("a file where a folder goes", archiveOf({file("Vehicles/EU/NEW/a"), file("Vehicles/EU/NEW/a/b")}), "in its path");
        row("a file where the card has a folder", archiveOf({file("Vehicles/EU/OTHER")}), "in the way");
        row("not a zip", "this is not an archive", "not a zip");
        row("into the installs' working folder", archiveOf({file(".Dravik-Staging/1-1/new/x")}), "keep for themselves");
    }

    // The old version is still there, nothing beside the card is new and the
    // staging folder is gone. A broken archive is removed, so that a retry
    // fetches it again; one that only met the card's contents is kept.
    void hostileArchiveChangesNothing()
    {
        QFETCH(QByteArray, archive);
        QFETCH(bool, linkOnCard);
        QFETCH(QString, why);
        QFETCH(bool, broken);
        newCard();
        const QString outside = mCase + QStringLiteral("outside/");
        QVERIFY(TestEnv::writeFile(outside + QStringLiteral("keep.txt"), "keep"));
        if (linkOnCard)
            QCOMPARE(::symlink(QFile::encodeName(outside).constData(),
                               QFile::encodeName(mCard + QStringLiteral("Vehicles/EU/LINKED")).constData()), 0);
        const QString path = writeArchive(archive);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCase);

        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        job.setOldVersionFolder(mCard + QStringLiteral("Vehicles/EU/CAR/"));
        job.setDeleteOldFirst(true);
        job.setDeleteArchive(true);
        const QList<QList<qint64>> events = run(job);

        QCOMPARE(events.last(), QList<qint64>({2, 0}));
        QCOMPARE(std::count_if(events.cbegin(), events.cend(), [](const QList<qint64> &e) { return e.first() == 2; }), 1);
        QVERIFY2(job.errorString().contains(why, Qt::CaseInsensitive), qPrintable(job.errorString()));
        QCOMPARE(TestEnv::snapshot(mCase), before);
        QCOMPARE(QFileInfo::exists(path), !broken);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/abs")));
    }

    void archiveMustHoldItsPackage_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("base"); // a patch's
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("outcome"); // the reason, or the folder installed
        using K = ArchiveExpectation::Kind;
        using F = InstallRunnable::Failure;
        const QString car = QStringLiteral("CAR");
        const QString v2 = QStringLiteral("V2.00");
        const QString base = QStringLiteral("Vehicles/EU/CAR");
        auto row = [](const char *name, const QByteArray &archive, K kind, const QString &package,
                      const QString &version, const QString &patchOf, F failure, const char *outcome) {
            QTest::newRow(name) << archive << int(kind) << package << version << patchOf << int(failure)
                                << QString::fromUtf8(outcome);
        };
        const Entry names = file("Vehicles/EU/CAR/Names.txt", "{}");
        const Entry program = file("Vehicles/EU/CAR/CAR.bin", "program");
        row("empty", archiveOf({}), K::Vehicle, car, v2, {}, F::NotThePackage, "empty");
        row("only a readme", archiveOf({file("readme.txt")}), K::Vehicle, car, v2, {}, F::NotThePackage,
            "\"readme.txt\" lies outside Vehicles/");
        row("another package",
            archiveOf({file("Vehicles/EU/BMW/version.txt", "V2.00"), file("Vehicles/EU/BMW/BMW.bin")}), K::Vehicle, car,
            v2, {}, F::NotThePackage, "no folder \"CAR\"");
        row("vehicle without Names.txt", archiveOf({file("Vehicles/EU/CAR/version.txt", "V2.00"), program}), K::Vehicle,
            car, v2, {}, F::NotThePackage, "Vehicles/EU/CAR/Names.txt is missing");
        row("vehicle without a program file", archiveOf({file("Vehicles/EU/CAR/version.txt", "V2.00"), names}),
            K::Vehicle, car, v2, {}, F::NotThePackage, "no program file");
        row("HOME without a program file", archiveOf({file("Vehicles/HOME/version.txt", "V2.00")}), K::Home,
            QStringLiteral("HOME"), v2, {}, F::NotThePackage, "no program file");
        row("another version", archiveOf({file("Vehicles/EU/CAR/version.txt", " V1.50\r\n"), names, program}),
            K::Vehicle, car, v2, {}, F::WrongVersion, "the archive holds version V1.50, not V2.00");
        row("version file with a wrong checksum",
            archiveOf({with(file("Vehicles/EU/CAR/version.txt", "V2.00"), [](Entry &e) { e.declaredCrc = 1; }), names,
                       program}),
            K::Vehicle, car, v2, {}, F::Archive, "CRC");
        const Entry carVersion = file("Vehicles/EU/CAR/version.txt", "V2.00");
        row("package reaching into another package's folder",
            archiveOf({carVersion, names, program, file("Vehicles/EU/OTHER/version.txt", "V9.99")}), K::Vehicle, car, v2,
            {}, F::NotThePackage, "\"Vehicles/EU/OTHER/version.txt\" lies outside the package's folder");
        row("package inside another package's folder on the card",
            archiveOf({file("Vehicles/EU/OTHER/CAR/version.txt", "V2.00"), file("Vehicles/EU/OTHER/CAR/Names.txt", "{}"),
                       file("Vehicles/EU/OTHER/CAR/CAR.bin")}),
            K::Vehicle, car, v2, {}, F::NotThePackage, "inside the package folder Vehicles/EU/OTHER");
        row("package twice",
            archiveOf({carVersion, names, program, file("Vehicles/USA/CAR/version.txt", "V2.00"),
                       file("Vehicles/USA/CAR/Names.txt", "{}"), file("Vehicles/USA/CAR/CAR.bin")}),
            K::Vehicle, car, v2, {}, F::NotThePackage, "lies outside the package's folder");
        row("patch reaching outside its base",
            archiveOf({file("Vehicles/EU/CAR/a.txt"), file("Vehicles/EU/OTHER/a.txt")}), K::Vehicle, car,
            QStringLiteral("V2.01"), base, F::NotThePackage, "\"Vehicles/EU/OTHER/a.txt\" lies outside the base");
        row("patch of another version", archiveOf({file("Vehicles/EU/CAR/version.txt", "V2.02")}), K::Vehicle, car,
            QStringLiteral("V2.01"), base, F::WrongVersion, "holds version V2.02, not V2.01");
        row("vehicle, its folder in other letter case, its version written otherwise",
            archiveOf({folder("Vehicles/"), file("Vehicles/EU/Car/version.txt", "V2.0\n"),
                       file("Vehicles/EU/Car/Names.txt", "{}"), file("Vehicles/EU/Car/car.BIN")}),
            K::Vehicle, car, v2, {}, F::None, "Vehicles/EU/Car");
        row("HOME", archiveOf({file("Vehicles/HOME/version.txt", "V2.00"), file("Vehicles/HOME/HOME.bin")}), K::Home,
            QStringLiteral("HOME"), v2, {}, F::None, "Vehicles/HOME");
        row("text library",
            archiveOf({file("Vehicles/Public/version.txt", "V2.00"), file("Vehicles/Public/Res/a.txt")}),
            K::TextLibrary, QStringLiteral("Public"), v2, {}, F::None, "Vehicles/Public");
        row("patch",
            archiveOf({folder("Vehicles/EU/"), file("Vehicles/EU/CAR/Res/a.txt"),
                       file("Vehicles/EU/CAR/version.txt", "V2.01")}),
            K::Vehicle, car, QStringLiteral("V2.01"), base, F::None, "Vehicles/EU/CAR");
    }

    // Checked before anything is written: an archive that is not its
    // package leaves the card as it was and is removed, so that a retry
    // fetches it again; one that is tells the folder it installed.
    void archiveMustHoldItsPackage()
    {
        QFETCH(QByteArray, archive);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, version);
        QFETCH(QString, base);
        QFETCH(int, failure);
        QFETCH(QString, outcome);
        newCard();
        const QString path = writeArchive(archive);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCase);
        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        if (base.isEmpty() && ArchiveExpectation::Kind(kind) == ArchiveExpectation::Kind::Vehicle) {
            job.setOldVersionFolder(mCard + QStringLiteral("Vehicles/EU/CAR/"));
            job.setDeleteOldFirst(true);
        }
        job.setExpectation(ArchiveExpectation(ArchiveExpectation::Kind(kind), name, version, base));
        QCOMPARE(run(job).last(), QList<qint64>({2, failure == int(InstallRunnable::Failure::None)}));
        QCOMPARE(int(job.failure()), failure);
        if (job.failure() == InstallRunnable::Failure::None) {
            QCOMPARE(job.installedFolder(), outcome);
        } else {
            QVERIFY2(job.errorString().contains(outcome), qPrintable(job.errorString()));
            QCOMPARE(TestEnv::snapshot(mCase), before);
            QVERIFY(!QFileInfo::exists(path));
        }
        QVERIFY(stagingGone());
    }

    void goodArchiveLandsWhole_data()
    {
        QTest::addColumn<int>("scenario");
        QTest::newRow("a folder and two files") << 0;
        QTest::newRow("no folder entries, a dot file, an empty file") << 1;
        QTest::newRow("UTF-8 and legacy code page names") << 2;
        QTest::newRow("zip64 sizes, data descriptor") << 3;
    }

    // Progress per entry then 100 of 100, the files with their times, the
    // old version gone, the archive deleted, no staging folder left.
    void goodArchiveLandsWhole()
    {
        QFETCH(int, scenario);
        newCard();
        const Scenario s = goodScenario(scenario);
        const QString path = writeArchive(s.archive);
        const QByteArray other = TestEnv::readFile(mCard + QStringLiteral("Vehicles/EU/OTHER/CAR.bin"));

        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        job.setOldVersionFolder(mCard + QStringLiteral("Vehicles/EU/CAR/"));
        job.setDeleteOldFirst(true);
        job.setDeleteArchive(true);
        const QList<QList<qint64>> events = run(job);

        const int count = events.size() - 3; // started, 100 of 100, finished
        QList<QList<qint64>> expected{{0}};
        for (int i = 1; i <= count; ++i)
            expected.append({1, i, count});
        expected.append({1, 100, 100});
        expected.append({2, 1});
        QCOMPARE(events, expected);
        QCOMPARE(job.state(), 3);
        for (const Expected &f : s.files) {
            const QString onCard = mCard + QString::fromUtf8(f.path);
            QCOMPARE(TestEnv::readFile(onCard), f.content);
            QCOMPARE(QFileInfo(onCard).lastModified(), f.modified);
        }
        QVERIFY(!QFileInfo::exists(mCard + QStringLiteral("Vehicles/EU/CAR")));
        QCOMPARE(TestEnv::readFile(mCard + QStringLiteral("Vehicles/EU/OTHER/CAR.bin")), other);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(stagingGone());
    }

    void deleteOptions_data()
    {
        QTest::addColumn<bool>("deleteArchive");
        QTest::addColumn<bool>("deleteOldFirst");
        QTest::addColumn<bool>("home");
        QTest::newRow("keep both") << false << false << false;
        QTest::newRow("delete archive") << true << false << false;
        QTest::newRow("delete old") << false << true << false;
        QTest::newRow("delete both") << true << true << false;
        QTest::newRow("HOME keeps all but version and program files") << true << true << true;
    }

    void deleteOptions()
    {
        QFETCH(bool, deleteArchive);
        QFETCH(bool, deleteOldFirst);
        QFETCH(bool, home);
        newCard();
        const QString old = mCard + (home ? QStringLiteral("Vehicles/HOME/") : QStringLiteral("Vehicles/EU/CAR/"));
        QVERIFY(writeVehicle(old, "V1.00"));
        QVERIFY(TestEnv::writeFile(old + QStringLiteral("OLD.bin"), "old"));
        QVERIFY(TestEnv::writeFile(old + QStringLiteral("user.dat"), "mine"));
        const QString path = writeArchive(home ? archiveOf({file("Vehicles/HOME/version.txt", "V2.00"), file("Vehicles/HOME/CAR.bin", "new")})
                                               : archiveOf({file("Vehicles/EU/CAR2/version.txt", "V2.00")}));

        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        job.setOldVersionFolder(old);
        job.setDeleteArchive(deleteArchive);
        job.setDeleteOldFirst(deleteOldFirst);
        QCOMPARE(run(job).last(), QList<qint64>({2, 1}));

        QCOMPARE(QFileInfo::exists(path), !deleteArchive);
        if (home) {
            QCOMPARE(TestEnv::readFile(old + QStringLiteral("version.txt")), QByteArray("V2.00"));
            QCOMPARE(TestEnv::readFile(old + QStringLiteral("CAR.bin")), QByteArray("new"));
            QVERIFY(!QFileInfo::exists(old + QStringLiteral("OLD.bin")));
            QCOMPARE(TestEnv::readFile(old + QStringLiteral("user.dat")), QByteArray("mine"));
        } else {
            QCOMPARE(QFileInfo::exists(old), !deleteOldFirst);
            QCOMPARE(TestEnv::readFile(mCard + QStringLiteral("Vehicles/EU/CAR2/version.txt")), QByteArray("V2.00"));
        }
        QVERIFY(stagingGone());
    }

    // Cancelled after its first entry: the card as before.
    void cancelLeavesCardAsBefore()
    {
        newCard();
        const QString path = writeArchive(archiveOf({file("Vehicles/EU/CAR/version.txt", "V2.00"), file("Vehicles/EU/CAR/CAR.bin", "new")}));
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mCase);
        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        job.setOldVersionFolder(mCard + QStringLiteral("Vehicles/EU/CAR/"));
        job.setDeleteOldFirst(true);
        connect(&job, &InstallRunnable::installProgress, &job, &InstallRunnable::cancel);
        const QList<QList<qint64>> events = run(job);
        QCOMPARE(events, QList<QList<qint64>>({{0}, {1, 1, 2}, {2, 0}}));
        QCOMPARE(TestEnv::snapshot(mCase), before);
    }

    // The cancel flag is looked at between the chunks of an entry: a partly
    // written file does not stay.
    void cancelInsideAnEntry()
    {
        const QString path = writeArchive(archiveOf({file("big.bin", QByteArray(3 * ArchiveExtractor::kChunk, 'z'))}));
        const QString dir = mEnv.makeDir(QStringLiteral("cancel"));
        ArchiveExtractor extractor;
        QVERIFY(extractor.open(path));
        const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
        const std::atomic<bool> cancel{true};
        QVERIFY(!extractor.extract(0, fd, &cancel));
        ::close(fd);
        QVERIFY(extractor.wasCancelled());
        QVERIFY(QDir(dir).isEmpty());
    }

    void spaceBudget()
    {
        const QString path = writeArchive(archiveOf({file("a.bin", QByteArray(600, 'a')), file("b.bin", QByteArray(600, 'b'))}));
        ArchiveExtractor extractor;
        QVERIFY(extractor.open(path, 1200));
        QVERIFY(!extractor.open(path, 1199));
        QVERIFY(extractor.open(path, 2048, 1024)); // a block of 1024 each
        QVERIFY(!extractor.open(path, 2047, 1024));
        QVERIFY(extractor.errorString().contains(QLatin1String("space")));
    }

    void nameRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        for (const char *ok : {"a", "a/b/c.txt", "Vehicles/EU/X/", ".hidden", "a b/c-d_e(1).txt"})
            QTest::addRow("ok: %s", ok) << QString::fromUtf8(ok) << true;
        for (const char *bad : {"", "/", "a//b", "./a", "a/./b", "a/..", "trail.", "trail ", "a\tb", "a*b", "a?b",
                                "a|b", "a<b", "a>b", "a\"b", "x:y"})
            QTest::addRow("bad: %s", bad) << QString::fromUtf8(bad) << false;
        QTest::newRow("bad: component of 256") << QString(256, QLatin1Char('n')) << false;
        QTest::newRow("ok: component of 255") << QString(255, QLatin1Char('n')) << true;
        QTest::newRow("bad: 65 levels") << QStringLiteral("d/").repeated(64) + QStringLiteral("f") << false;
        QTest::newRow("bad: lone surrogate") << QString(QChar(0xD800)) << false;
        QTest::newRow("bad: NUL") << QString(QChar(0)) << false;
    }

    void nameRules()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QCOMPARE(ArchiveExtractor::nameProblem(name).isEmpty(), accepted);
    }

    // More entries than a plain zip can count.
    void zip64ManyEntries()
    {
        newCard();
        const QString path = mEnv.root() + QStringLiteral("/many.zip");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        ZipWriter writer(&out);
        const int n = 70000;
        for (int i = 0; i < n; ++i)
            writer.addFile("Vehicles/MANY/" + QByteArray::number(i), QByteArray(), false);
        QVERIFY(writer.finish());
        out.close();

        InstallRunnable job(7, path);
        job.setCard(Card(mCard));
        QSignalSpy finished(&job, &InstallRunnable::installFinished);
        job.run();
        QCOMPARE(finished.value(0).value(1).toBool(), true);
        QCOMPARE(QDir(mCard + QStringLiteral("Vehicles/MANY")).count(), uint(n + 2));
    }

    void leftoverStaging_data()
    {
        QTest::addColumn<bool>("newVersionArrived");
        QTest::newRow("crash before the new version arrived: old one restored") << false;
        QTest::newRow("crash after: the copy aside goes") << true;
    }

    void leftoverStaging()
    {
        QFETCH(bool, newVersionArrived);
        newCard();
        const QString car = mCard + QStringLiteral("Vehicles/EU/CAR");
        const QString job = mCard + QLatin1String(StagedInstall::kStagingFolder) + QStringLiteral("/99999-3/");
        QVERIFY(QDir().mkpath(job + QStringLiteral("new/Vehicles")));
        QVERIFY(TestEnv::writeFile(job + QStringLiteral("restore"), "Vehicles/EU/CAR"));
        const QMap<QString, QByteArray> original = TestEnv::snapshot(car);
        if (newVersionArrived) {
            QVERIFY(writeVehicle(job + QStringLiteral("old/"), "V0.50"));
        } else {
            QVERIFY(QDir().rename(car, job + QStringLiteral("old")));
        }
        // A file the crashed install had replaced, its place empty since.
        QVERIFY(QDir().mkpath(job + QStringLiteral("replaced/Vehicles/EU/OTHER")));
        QVERIFY(QDir().rename(mCard + QStringLiteral("Vehicles/EU/OTHER/Names.txt"),
                              job + QStringLiteral("replaced/Vehicles/EU/OTHER/Names.txt")));

        InstallRunnable install(8, writeArchive(archiveOf({file("Vehicles/EU/NEW/version.txt", "V1.00")})));
        install.setCard(Card(mCard));
        QCOMPARE(run(install).last(), QList<qint64>({2, 1}));
        QCOMPARE(TestEnv::snapshot(car), original);
        QVERIFY(QFileInfo::exists(mCard + QStringLiteral("Vehicles/EU/OTHER/Names.txt")));
        QVERIFY(stagingGone());
    }
};

QTEST_GUILESS_MAIN(TestInstallArchive)
#include "tst_installarchive.moc"
