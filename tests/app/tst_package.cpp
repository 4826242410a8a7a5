// The Debian package, made of the build tree as tools/package.sh makes it:
// its control fields and contents, then the package unpacked into a
// temporary root (dpkg-deb -x), where its launcher and metadata are checked
// and its program is started against the stand-in service and signed in.
#include "ProgramInstaller.h"
#include "DesktopEntryKey.h"
#include "ProgramUnderTest.h"
#include "SampleCardGenerator.h"
#include "StandInService.h"
#include "TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString AppId = QStringLiteral(OSTREL_TEST_APP_ID);
const QString Version = QStringLiteral(OSTREL_TEST_VERSION);

// Exit code (-1 when it crashed or did not finish) and standard output;
// standard error goes to `errors` when asked for, else into the output.
QPair<int, QString> run(const QString &program, const QStringList &arguments, int timeoutMs = 60000,
                        QString *errors = nullptr,
                        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process; // killed when gone
    process.setProcessEnvironment(env);
    if (!errors)
        process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return {finished ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput())};
}
} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    StandInService mService{TestEnv::sourceDir() + QStringLiteral("/tools/standin/demo.json")};
    QString mDeb;
    QString mRoot; // the package unpacked
    // "dpkg-deb -c": path (without the leading '.') -> mode, owner and link target.
    QMap<QString, QStringList> mContents;

    QString unpacked(const QString &path) const { return mRoot + path; }
    QString unpacked(const char *path) const { return mRoot + QLatin1String(path); }

private slots:
    void initTestCase()
    {
        const QString out = mEnv.makeDir(QStringLiteral("out"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OSTREL_PACKAGE_BUILD_DIR"), TestEnv::buildDir());
        env.insert(QStringLiteral("OSTREL_PACKAGE_OUT"), out);
        QString errors;
        const auto made = run(TestEnv::sourceDir() + QStringLiteral("/tools/package.sh"),
                              {QStringLiteral("--no-build")}, 120000, &errors, env);
        QVERIFY2(made.first == 0, qPrintable(made.second + errors));
        // lintian: no errors (those fail package.sh), and no warnings either.
        const QString lintian = made.second.section(QStringLiteral("lintian:\n"), 1) + errors;
        qInfo().noquote() << lintian;
        QVERIFY2(!lintian.contains(QRegularExpression(QStringLiteral("^[EW]: "), QRegularExpression::MultilineOption)),
                 qPrintable(lintian));

        const QString arch = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).second.trimmed();
        mDeb = out + QStringLiteral("/ostrel_%1_%2.deb").arg(Version, arch);
        QVERIFY2(QFileInfo::exists(mDeb), qPrintable(QDir(out).entryList().join(QLatin1Char(' '))));

        const auto listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), mDeb});
        QCOMPARE(listing.first, 0);
        // drwxr-xr-x root/root 0 2026-12-08 20:09 ./usr/bin/ostrel -> ../lib/ostrel/Ostrel
        const QRegularExpression entry(QStringLiteral("^(\\S+) (\\S+) +\\d+ \\S+ \\S+ \\.(/\\S*?)/?(?: -> (\\S+))?$"));
        for (const QString &line : listing.second.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = entry.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            mContents.insert(m.captured(3), {m.captured(1), m.captured(2), m.captured(4)});
        }

        mRoot = mEnv.makeDir(QStringLiteral("root"));
        const auto unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), mDeb, mRoot});
        QVERIFY2(unpack.first == 0, qPrintable(unpack.second));
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pattern"); // the whole value must match
        QTest::newRow("Package") << "Package"
                                 << "ostrel";
        QTest::newRow("Version") << "Version" << QRegularExpression::escape(Version);
        QTest::newRow("Section") << "Section"
                                 << "utils";
        QTest::newRow("Priority") << "Priority"
                                  << "optional";
        QTest::newRow("Maintainer") << "Maintainer"
                                    << "[^<>]+ <[^@<> ]+@[^@<> ]+>";
        QTest::newRow("Homepage") << "Homepage"
                                  << "https://\\S+";
        // A synopsis, then an extended description of indented lines.
        QTest::newRow("Description") << "Description"
                                     << "[a-z][^\\n]{10,78}(\\n [^\\n]+){3,}";
        // Computed from what the binaries link, by dpkg-shlibdeps.
        for (const char *package : {"libc6", "libqt5widgets5", "libqt5webenginewidgets5", "libzip4"})
            QTest::newRow(package) << "Depends"
                                   << QStringLiteral(".*(^|, )%1 \\(>= [^)]+\\).*").arg(QLatin1String(package));
        // Loaded without linking: the SQLite driver, Qt's Chinese texts, the fonts.
        for (const char *package :
             {"libqt5sql5-sqlite", "qttranslations5-l10n", "fonts-liberation2", "fonts-wqy-microhei"})
            QTest::newRow(package) << "Depends"
                                   << QStringLiteral(".*(^|, |\\| )%1( |,|$).*").arg(QLatin1String(package));
        // Python serves the tests only.
        QTest::newRow("no python") << "Depends"
                                   << "((?!python).)*";
    }
    void controlFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, pattern);
        const auto value = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), mDeb, field});
        QCOMPARE(value.first, 0);
        const QString text = value.second.trimmed();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                    QRegularExpression::DotMatchesEverythingOption)
                     .match(text)
                     .hasMatch(),
                 qPrintable(field + QStringLiteral(": ") + text));
    }

    void selfUpdateTakesIt()
    {
        // What the program's own update accepts as a Debian package.
        QVERIFY(ProgramInstaller::isDebianPackage(mDeb));
        // No maintainer scripts: nothing to run at install or removal.
        const QString control = mEnv.makeDir(QStringLiteral("control"));
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-e"), mDeb, control}).first, 0);
        QCOMPARE(QDir(control).entryList(QDir::Files, QDir::Name),
                 QStringList({QStringLiteral("control"), QStringLiteral("md5sums")}));
    }

    void contents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("target"); // of a link
        QTest::newRow("command") << "/usr/bin/ostrel"
                                 << "lrwxrwxrwx"
                                 << "../lib/ostrel/Ostrel";
        QTest::newRow("program") << "/usr/lib/ostrel/Ostrel"
                                 << "-rwxr-xr-x"
                                 << "";
        for (const char *library : {"libSornet", "libostrel_platform", "libostrel_platform_core"}) {
            const QString file = QStringLiteral("%1.so.%2").arg(QLatin1String(library), Version);
            QTest::newRow(library) << QStringLiteral("/usr/lib/ostrel/%1.so.1").arg(QLatin1String(library))
                                   << "lrwxrwxrwx" << file;
            QTest::addRow("%s file", library) << QStringLiteral("/usr/lib/ostrel/") + file << "-rw-r--r--"
                                              << "";
        }
        for (const char *file : {"plugins/libDravik.so", "translations/ostrel_zh.qm", "translations/dravik_zh.qm",
                                 "translations/ostrel_en.qm", "translations/dravik_en.qm", "db/vehicle_relation.db",
                                 "deployment.ini", "version.txt", "ostrel.png"})
            QTest::newRow(file) << QStringLiteral("/usr/lib/ostrel/") + QLatin1String(file) << "-rw-r--r--"
                                << "";
        QTest::newRow("launcher") << QStringLiteral("/usr/share/applications/%1.desktop").arg(AppId) << "-rw-r--r--"
                                  << "";
        QTest::newRow("metainfo") << QStringLiteral("/usr/share/metainfo/%1.metainfo.xml").arg(AppId) << "-rw-r--r--"
                                  << "";
        QTest::newRow("icon") << QStringLiteral("/usr/share/icons/hicolor/scalable/apps/%1.svg").arg(AppId)
                              << "-rw-r--r--"
                              << "";
        for (const char *doc : {"/usr/share/doc/ostrel/copyright", "/usr/share/doc/ostrel/changelog.gz",
                                "/usr/share/man/man1/ostrel.1.gz"})
            QTest::newRow(doc) << doc << "-rw-r--r--"
                               << "";
        QTest::newRow("private folder") << "/usr/lib/ostrel"
                                        << "drwxr-xr-x"
                                        << "";
    }
    void contents()
    {
        QFETCH(QString, path);
        QFETCH(QString, mode);
        QFETCH(QString, target);
        QVERIFY2(mContents.contains(path), qPrintable(path));
        QCOMPARE(mContents.value(path), QStringList({mode, QStringLiteral("root/root"), target}));
    }

    void nothingElse()
    {
        // Below /usr only, in Debian's places, and no development link.
        const QRegularExpression allowed(QStringLiteral(
            "^/usr(/bin(/ostrel)?|/lib(/ostrel(/.*)?)?|/share(/applications(/[^/]+\\.desktop)?|/metainfo(/.*)?"
            "|/icons(/hicolor(/.*)?)?|/doc(/ostrel(/.*)?)?|/man(/man1(/ostrel\\.1\\.gz)?)?)?)?$"));
        for (auto it = mContents.cbegin(); it != mContents.cend(); ++it) {
            QVERIFY2(allowed.match(it.key()).hasMatch(), qPrintable(it.key()));
            QVERIFY2(!it.key().endsWith(QLatin1String(".so")) || it.key().contains(QLatin1String("/plugins/")),
                     qPrintable(it.key()));
        }
    }

    void documents()
    {
        const QString copyright = QString::fromUtf8(TestEnv::readFile(unpacked("/usr/share/doc/ostrel/copyright")));
        QVERIFY(copyright.startsWith(
            QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
        // The embedded font's licence is there.
        QVERIFY(copyright.contains(QLatin1String("Files: resources/font/Helvetica.ttf\n")));
        QVERIFY(copyright.contains(QLatin1String("License: SIL-OFL-1.1\n")));

        // The change log reads as a Debian change log for this version.
        const QString changelog = mEnv.root() + QStringLiteral("/changelog");
        const auto unzipped =
            run(QStringLiteral("gzip"), {QStringLiteral("-dc"), unpacked("/usr/share/doc/ostrel/changelog.gz")});
        QCOMPARE(unzipped.first, 0);
        QVERIFY(TestEnv::writeFile(changelog, unzipped.second.toUtf8()));
        const auto parsed =
            run(QStringLiteral("dpkg-parsechangelog"),
                {QStringLiteral("-l"), changelog, QStringLiteral("--show-field"), QStringLiteral("Version")});
        QCOMPARE(parsed.second.trimmed(), Version);
    }

    void searchPaths()
    {
        // Every binary finds its libraries beside itself, never through an
        // empty entry (the current folder) or a path of the build.
        int binaries = 0;
        QDirIterator it(unpacked("/usr/lib/ostrel"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (it.fileInfo().isSymLink() || !TestEnv::readFile(file).startsWith("\177ELF"))
                continue;
            ++binaries;
            const QString dynamic = run(QStringLiteral("readelf"), {QStringLiteral("-d"), file}).second;
            const QRegularExpression paths(QStringLiteral("\\((?:RPATH|RUNPATH)\\).*\\[(.*)\\]"));
            const QString path = paths.match(dynamic).captured(1);
            QVERIFY2(!path.isEmpty(), qPrintable(file));
            for (const QString &entry : path.split(QLatin1Char(':')))
                QVERIFY2(entry == QLatin1String("$ORIGIN") || entry == QLatin1String("$ORIGIN/.."),
                         qPrintable(file + QStringLiteral(": ") + path));
        }
        QCOMPARE(binaries, 5);
    }

    void launcherValidates()
    {
        const QString path = unpacked(QStringLiteral("/usr/share/applications/%1.desktop").arg(AppId));
        const QString entry = QString::fromUtf8(TestEnv::readFile(path));
        QCOMPARE(keyOf(entry, QStringLiteral("Exec")), QStringLiteral("\"/usr/bin/ostrel\""));
        QCOMPARE(keyOf(entry, QStringLiteral("TryExec")), QStringLiteral("/usr/bin/ostrel"));
        QCOMPARE(keyOf(entry, QStringLiteral("Icon")), AppId);
        const auto validate = run(QStringLiteral("desktop-file-validate"), {path});
        QVERIFY2(validate.first == 0 && validate.second.trimmed().isEmpty(), qPrintable(validate.second));
    }

    void metainfoValidates()
    {
        const QString path = unpacked(QStringLiteral("/usr/share/metainfo/%1.metainfo.xml").arg(AppId));
        const auto validate =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--no-color"), path});
        // Only notes may remain (a placeholder domain is no known top-level domain).
        const QRegularExpression problem(QStringLiteral("^[EW]:"), QRegularExpression::MultilineOption);
        QVERIFY2(validate.first == 0 && !validate.second.contains(problem), qPrintable(validate.second));
        QVERIFY(TestEnv::readFile(path).contains("<binary>ostrel</binary>"));
    }

    void unpackedProgramSignsIn()
    {
        QVERIFY(mService.start());
        mService.exportEnvironment();
        const QString media = mEnv.makeDir(QStringLiteral("media"));
        SampleCardGenerator::Options options;
        options.serial = QStringLiteral("OSTRELDEMO001");
        SampleCardGenerator card(options);
        QVERIFY2(card.generate(media + QStringLiteral("/SCANNER")), qPrintable(card.errorString()));

        const QString home = mEnv.makeDir(QStringLiteral("home"));
        QTemporaryDir runtime(QStringLiteral("/tmp/ostrel-rt-XXXXXX")); // short: it holds a socket
        QVERIFY(runtime.isValid());
        QProcessEnvironment env = ProgramUnderTest::privateHome(home, runtime.path());
        env.insert(QStringLiteral("OSTREL_REMOVABLE_ROOTS"), media);
        const QMap<QString, QByteArray> shipped = TestEnv::snapshot(mRoot);

        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(home);
        // Through the command's link, as the launcher starts it.
        program.start(unpacked("/usr/bin/ostrel"), QStringList());
        QVERIFY(program.waitForStarted(10000));
        const QString login = ProgramUnderTest::waitForWindow(program.processId(), QSize(1200, 600));
        QVERIFY2(!login.isEmpty(), program.readAll().right(2000).constData());
        QVERIFY(ProgramUnderTest::signIn(login, QStringLiteral("demo@ostrel.test"), QStringLiteral("demo1234")));
        QVERIFY(!ProgramUnderTest::waitForWindow(program.processId(), QSize(1200, 800)).isEmpty());
        // The package's plug-in lists the card's software.
        QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(QStringLiteral("/KvaApi/user/soft_search")).size(), 1, 30000);
        program.terminate();
        if (!program.waitForFinished(10000))
            program.kill();

        // What it wrote went to the user's folder; the unpacked tree is as shipped.
        QVERIFY(QFileInfo(home + QStringLiteral("/.local/share/Ostrel/Preference.ini")).isFile());
        QCOMPARE(TestEnv::snapshot(mRoot), shipped);
    }
};

QTEST_MAIN(TestPackage)
#include "tst_package.moc"
