// Autostart entry and desktop shortcut, written into temporary folders; and
// the platform object the program gets.
#include "AppPaths.h"
#include "DesktopIdentity.h"
#include "FakePlatform.h"
#include "LinuxPlatform.h"
#include "LinuxVolumes.h"
#include "TestEnv.h"
#include "XdgAutostart.h"
#include "XdgDesktopShortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void autostartEntry_data();
    void autostartEntry();
    void autostartRewrittenAndRemoved();
    void autostartSwitchedOffByUser();
    void shortcutCreatedOnce();
    void shortcutRefusesUnsafePath();
    void launcherExecutable_data();
    void launcherExecutable();

    void platformInstance();
    void openerTellsWhetherAnythingOpened_data();
    void openerTellsWhetherAnythingOpened();

private:
    static QString keyOf(const QByteArray &entry, const QByteArray &key);
    TestEnv mEnv;
};

QString TestDesktop::keyOf(const QByteArray &entry, const QByteArray &key)
{
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1));
    }
    return QString();
}

void TestDesktop::autostartEntry_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/opt/ostrel/Ostrel" << "\"/opt/ostrel/Ostrel\"";
    QTest::newRow("blank") << "/home/a b/Ostrel" << "\"/home/a b/Ostrel\"";
    // In quotes: \" \` \$ \\ ; then the file's own escape doubles each backslash.
    QTest::newRow("quote") << "/x/\"q\"/Ostrel" << "\"/x/\\\\\"q\\\\\"/Ostrel\"";
    QTest::newRow("dollar and backtick") << "/x/$HOME`id`/Ostrel" << "\"/x/\\\\$HOME\\\\`id\\\\`/Ostrel\"";
    QTest::newRow("backslash") << "/x/a\\b/Ostrel" << "\"/x/a\\\\\\\\b/Ostrel\"";
    QTest::newRow("percent is no field code") << "/x/100%/Ostrel" << "\"/x/100%%/Ostrel\"";
    QTest::newRow("non-ASCII") << QString::fromUtf8("/home/j\xc3\xb6rg/Ostrel")
                               << QString::fromUtf8("\"/home/j\xc3\xb6rg/Ostrel\"");
}

void TestDesktop::autostartEntry()
{
    QFETCH(QString, executable);
    const QString folder = mEnv.root() + QStringLiteral("/autostart-") + QString::fromLatin1(QTest::currentDataTag());
    XdgAutostart autostart;
    QVERIFY(!autostart.isEnabled(folder));
    // The folder need not exist yet.
    QVERIFY(autostart.setEnabled(true, executable, folder));
    QVERIFY(autostart.isEnabled(folder));
    const QByteArray entry = TestEnv::readFile(folder + QStringLiteral("/Ostrel.desktop"));
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QCOMPARE(keyOf(entry, "Type"), QStringLiteral("Application"));
    QCOMPARE(keyOf(entry, "Name"), QStringLiteral("Ostrel"));
    QCOMPARE(keyOf(entry, "X-GNOME-Autostart-enabled"), QStringLiteral("true"));
    QTEST(keyOf(entry, "Exec"), "exec");
}

void TestDesktop::autostartRewrittenAndRemoved()
{
    const QString folder = mEnv.makeDir(QStringLiteral("autostart"));
    const QString path = folder + QStringLiteral("/Ostrel.desktop");
    XdgAutostart autostart;
    QVERIFY(autostart.setEnabled(true, QStringLiteral("/old/Ostrel"), folder));
    QVERIFY(autostart.setEnabled(true, QStringLiteral("/new/Ostrel"), folder));
    QCOMPARE(keyOf(TestEnv::readFile(path), "Exec"), QStringLiteral("\"/new/Ostrel\""));

    QVERIFY(autostart.setEnabled(false, QString(), folder));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!autostart.isEnabled(folder));
    // Already gone is fine.
    QVERIFY(autostart.setEnabled(false, QString(), folder));

    // A line break would let the path add keys of its own: refused, nothing written.
    QVERIFY(!autostart.setEnabled(true, QStringLiteral("/x\nHidden=true/Ostrel"), folder));
    QVERIFY(!QFileInfo::exists(path));
}

void TestDesktop::autostartSwitchedOffByUser()
{
    const QString folder = mEnv.makeDir(QStringLiteral("autostart-off"));
    QVERIFY(TestEnv::writeFile(folder + QStringLiteral("/Ostrel.desktop"),
                               "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n"));
    QVERIFY(!XdgAutostart().isEnabled(folder));
}

void TestDesktop::shortcutCreatedOnce()
{
    const QString folder = mEnv.root() + QStringLiteral("/Desktop");
    const QString path = folder + QStringLiteral("/Ostrel.desktop");
    XdgDesktopShortcut shortcut;
    QVERIFY(shortcut.ensure(QStringLiteral("/opt/ostrel/Ostrel"), folder));
    const QByteArray entry = TestEnv::readFile(path);
    QCOMPARE(keyOf(entry, "Type"), QStringLiteral("Application"));
    QCOMPARE(keyOf(entry, "Name"), QStringLiteral("Ostrel"));
    QCOMPARE(keyOf(entry, "Exec"), QStringLiteral("\"/opt/ostrel/Ostrel\""));
    QVERIFY(QFileInfo(path).isExecutable());

    // The user's own (edited) launcher stays as it is.
    QVERIFY(TestEnv::writeFile(path, "[Desktop Entry]\nName=Mine\n"));
    QVERIFY(shortcut.ensure(QStringLiteral("/elsewhere/Ostrel"), folder));
    QCOMPARE(TestEnv::readFile(path), QByteArray("[Desktop Entry]\nName=Mine\n"));

    // So does a link, even a dangling one.
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(folder + QStringLiteral("/nowhere"), path));
    QVERIFY(shortcut.ensure(QStringLiteral("/opt/ostrel/Ostrel"), folder));
    QVERIFY(QFileInfo(path).isSymLink());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/nowhere")));
}

void TestDesktop::shortcutRefusesUnsafePath()
{
    const QString folder = mEnv.makeDir(QStringLiteral("Desktop2"));
    QVERIFY(!XdgDesktopShortcut().ensure(QStringLiteral("/x\r/Ostrel"), folder));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/Ostrel.desktop")));
}

void TestDesktop::launcherExecutable_data()
{
    // What the installed deployment file names, and where that link leads.
    QTest::addColumn<QString>("launcher");
    QTest::addColumn<QString>("leadsTo");
    QTest::addColumn<bool>("takesLink");
    QTest::newRow("installed copy") << "../../bin/Ostrel" << "self" << true;
    QTest::newRow("build tree: no key") << "" << "self" << false;
    QTest::newRow("link gone") << "../../bin/Ostrel" << "" << false;
    QTest::newRow("link to another program") << "../../bin/Ostrel" << "other" << false;
}

void TestDesktop::launcherExecutable()
{
    QFETCH(QString, launcher);
    QFETCH(QString, leadsTo);
    QFETCH(bool, takesLink);
    const QString prefix = mEnv.makeDir(QStringLiteral("prefix"));
    const QString install = prefix + QStringLiteral("/lib/ostrel");
    const QString link = prefix + QStringLiteral("/bin/Ostrel");
    QVERIFY(TestEnv::writeFile(install + QStringLiteral("/deployment.ini"),
                               "[Paths]\nPerUserData=true\nLauncher=" + launcher.toUtf8() + "\n"));
    QDir().mkpath(prefix + QStringLiteral("/bin"));
    if (leadsTo == QLatin1String("self"))
        QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), link));
    else if (leadsTo == QLatin1String("other"))
        QVERIFY(QFile::link(QStringLiteral("/bin/sh"), link));

    AppPaths::setOverride(install, mEnv.dataDir());
    const QString executable = DesktopIdentity::launcherExecutable();
    AppPaths::setOverride(mEnv.installDir(), mEnv.dataDir());
    QCOMPARE(executable, takesLink ? link : QCoreApplication::applicationFilePath());
}

void TestDesktop::platformInstance()
{
    Platform *real = Platform::instance();
    QVERIFY(dynamic_cast<LinuxPlatform *>(real));
    QCOMPARE(Platform::instance(), real);
    QVERIFY(dynamic_cast<LinuxVolumes *>(real->volumes()));
    QCOMPARE(real->volumes(), real->volumes());

    std::unique_ptr<NamedMutex> first = real->createNamedMutex(QStringLiteral("ostrel_global_mutex"));
    std::unique_ptr<NamedMutex> second = real->createNamedMutex(QStringLiteral("ostrel_global_mutex"));
    QVERIFY(first->isOwned() && !first->alreadyExisted());
    QVERIFY(second->alreadyExisted() && !second->isOwned());

    {
        FakePlatform fake;
        QCOMPARE(Platform::instance(), static_cast<Platform *>(&fake));
    }
    QCOMPARE(Platform::instance(), real);
}


void TestDesktop::openerTellsWhetherAnythingOpened_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("opened");
    QTest::newRow("handed to an application") << QByteArray("exit 0") << true;
    QTest::newRow("no application for the file") << QByteArray("echo 'no method available' >&2; exit 3") << false;
    QTest::newRow("its handler keeps running") << QByteArray("sleep 5") << true;
}

void TestDesktop::openerTellsWhetherAnythingOpened()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, opened);
    const QString bin = mEnv.makeDir(QStringLiteral("opener-bin"));
    const QString opener = bin + QStringLiteral("/xdg-open");
    QVERIFY(TestEnv::writeFile(opener, "#!/bin/sh\n" + script + "\n"));
    QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    const bool result = Platform::instance()->openWithDefaultApplication(mEnv.root() + QStringLiteral("/ostrel.deb"));
    qputenv("PATH", path);
    QCOMPARE(result, opened);
}

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
