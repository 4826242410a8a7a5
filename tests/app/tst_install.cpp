// The install tree: installed into a temporary prefix (with a blank in its
// path, as a home folder may have), checked by the desktop's own validators,
// and started far enough to show the sign-in dialog.
#include "DesktopEntryKey.h"
#include "ProgramUnderTest.h"
#include "TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QString AppId = QStringLiteral(OSTREL_TEST_APP_ID);

// Exit code (-1 when it crashed or did not finish) and all output.
QPair<int, QString> run(const QString &program, const QStringList &arguments)
{
    QProcess process; // killed when gone
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, QString::fromUtf8(process.readAll())};
}
} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    QString mPrefix;
    QString mInstallDir; // the program's folder

    QString share(const QString &name) const { return mPrefix + QStringLiteral("/share/") + name; }

private slots:
    void initTestCase()
    {
        // Canonical, so paths below it compare with the program's folder.
        mPrefix = QFileInfo(mEnv.makeDir(QStringLiteral("my prefix"))).canonicalFilePath();
        const auto install = run(QStringLiteral(OSTREL_TEST_CMAKE),
                                 {QStringLiteral("--install"), TestEnv::buildDir(), QStringLiteral("--prefix"), mPrefix});
        QVERIFY2(install.first == 0, qPrintable(install.second));
        mInstallDir = QFileInfo(mPrefix + QStringLiteral("/bin/ostrel")).canonicalPath();
    }

    void programLink()
    {
        const QFileInfo link(mPrefix + QStringLiteral("/bin/ostrel"));
        QVERIFY(link.isSymLink());
        // Relative, so the tree can be moved or staged for a package as a whole.
        char target[4096];
        const ssize_t length = ::readlink(QFile::encodeName(link.filePath()).constData(), target, sizeof target);
        QVERIFY(length > 0 && target[0] != '/');
        QVERIFY(QFileInfo(mInstallDir + QStringLiteral("/Ostrel")).isExecutable());
        QVERIFY2(mInstallDir.startsWith(mPrefix + QLatin1Char('/')), qPrintable(mInstallDir));

        // The installed copy keeps its data per user and knows its link.
        const QSettings deployment(mInstallDir + QStringLiteral("/deployment.ini"), QSettings::IniFormat);
        QVERIFY(deployment.value(QStringLiteral("Paths/PerUserData")).toBool());
        const QString launcher = deployment.value(QStringLiteral("Paths/Launcher")).toString();
        QCOMPARE(QDir::cleanPath(mInstallDir + QLatin1Char('/') + launcher), link.filePath());
    }

    void installedFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("iconSize"); // a PNG of that size; 0 for other files
        for (const char *name : {"Ostrel", "libSornet.so.1", "libostrel_platform_core.so.1", "libostrel_platform.so.1",
                                 "version.txt", "deployment.ini", "ostrel.png", "translations/ostrel_zh.qm",
                                 "translations/dravik_zh.qm", "translations/ostrel_en.qm", "translations/dravik_en.qm",
                                 "db/vehicle_relation.db", "plugins/libDravik.so"})
            QTest::newRow(name) << QStringLiteral("%install%/") + QLatin1String(name) << 0;
        QTest::newRow("launcher") << QStringLiteral("applications/%1.desktop").arg(AppId) << 0;
        QTest::newRow("metainfo") << QStringLiteral("metainfo/%1.metainfo.xml").arg(AppId) << 0;
        QTest::newRow("scalable icon") << QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(AppId) << 0;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("icon %d", size) << QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)
                                           << size;
    }
    void installedFiles()
    {
        QFETCH(QString, path);
        QFETCH(int, iconSize);
        const QString file = path.startsWith(QLatin1String("%install%/"))
            ? mInstallDir + path.mid(int(qstrlen("%install%")))
            : share(path);
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        if (iconSize > 0)
            QCOMPARE(QImage(file).size(), QSize(iconSize, iconSize));
    }

    void launcherValidates()
    {
        const QString path = share(QStringLiteral("applications/%1.desktop").arg(AppId));
        const QString entry = QString::fromUtf8(TestEnv::readFile(path));
        QCOMPARE(keyOf(entry, QStringLiteral("Exec")), QStringLiteral("\"%1/bin/ostrel\"").arg(mPrefix));
        QCOMPARE(keyOf(entry, QStringLiteral("TryExec")), mPrefix + QStringLiteral("/bin/ostrel"));
        QCOMPARE(keyOf(entry, QStringLiteral("Icon")), AppId);
        QCOMPARE(keyOf(entry, QStringLiteral("Categories")), QStringLiteral("Utility;"));
        // A Chinese desktop names and describes it in Chinese.
        for (const char *key : {"Name[zh_CN]", "Comment[zh_CN]"})
            QVERIFY2(keyOf(entry, QLatin1String(key)).contains(QRegularExpression(QStringLiteral("\\p{Han}"))), key);

        const auto validate = run(QStringLiteral("desktop-file-validate"), {path});
        QVERIFY2(validate.first == 0 && validate.second.trimmed().isEmpty(), qPrintable(validate.second));
    }

    void metainfoValidates()
    {
        const QString path = share(QStringLiteral("metainfo/%1.metainfo.xml").arg(AppId));
        const auto validate = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                                   QStringLiteral("--no-color"), path});
        // Only notes may remain (a placeholder domain is no known top-level domain).
        const QRegularExpression problem(QStringLiteral("^[EW]:"), QRegularExpression::MultilineOption);
        QVERIFY2(validate.first == 0 && !validate.second.contains(problem), qPrintable(validate.second));

        const QString xml = QString::fromUtf8(TestEnv::readFile(path));
        QVERIFY(xml.contains(QStringLiteral("<id>%1</id>").arg(AppId)));
        for (const char *element : {"name", "summary"})
            QVERIFY2(xml.contains(QRegularExpression(
                         QStringLiteral("<%1 xml:lang=\"zh-CN\">[^<]*\\p{Han}").arg(QLatin1String(element)))),
                     element);
        QVERIFY(xml.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(AppId)));
        QVERIFY(xml.contains(QStringLiteral("<release version=\"" OSTREL_TEST_VERSION "\"")));
        // Every picture it names is one of the repository's screenshots.
        QRegularExpressionMatchIterator pictures =
            QRegularExpression(QStringLiteral("/screenshots/([^<]+)</image>")).globalMatch(xml);
        QVERIFY(pictures.hasNext());
        while (pictures.hasNext()) {
            const QString shot = TestEnv::sourceDir() + QStringLiteral("/docs/screenshots/") + pictures.next().captured(1);
            QVERIFY2(!QImage(shot).isNull(), qPrintable(shot));
        }
    }

    void installedProgramShowsSignIn()
    {
        const QString home = mEnv.makeDir(QStringLiteral("home"));
        QTemporaryDir runtime(QStringLiteral("/tmp/ostrel-rt-XXXXXX")); // short: it holds a socket
        QVERIFY(runtime.isValid());
        const QStringList before = QDir(mInstallDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        QProcessEnvironment env = ProgramUnderTest::privateHome(home, runtime.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        // As the launcher starts it: through the link, from anywhere.
        program.setWorkingDirectory(home);
        program.start(mPrefix + QStringLiteral("/bin/ostrel"), QStringList());
        QVERIFY(program.waitForStarted(10000));
        const QString login = ProgramUnderTest::waitForWindow(program.processId());
        const bool shown = !login.isEmpty();
        if (shown)
            ProgramUnderTest::pressKey(login, QStringLiteral("Escape"));
        if (!program.waitForFinished(30000))
            program.kill();
        QVERIFY2(shown, program.readAll().right(2000).constData());
        QCOMPARE(program.exitCode(), 0);

        // Its data goes to the user's folder; the install folder stays as shipped.
        QVERIFY(QFileInfo(home + QStringLiteral("/.local/share/Ostrel")).isDir());
        QCOMPARE(QDir(mInstallDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
