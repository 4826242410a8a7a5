// The plug-in file of the build: its metadata, its one instance and the
// rules of create(), through the program's loader and a plain plug-in loader.
#include "AppSettings.h"
#include "FakePlatform.h"
#include "PluginBinder.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QGenericPlugin>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QProcess>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

class TestDravikModule : public QObject
{
    Q_OBJECT

    TestEnv mEnv;

    static QString pluginFolder() { return TestEnv::buildBinDir() + QStringLiteral("/plugins"); }

    static void checkContainer(QObject *created)
    {
        auto *container = qobject_cast<QStackedWidget *>(created);
        QVERIFY(container);
        QCOMPARE(container->objectName(), QStringLiteral("Container"));
        QCOMPARE(container->geometry(), QRect(0, 0, 912, 766));
        QCOMPARE(container->count(), 1);
        QCOMPARE(container->currentIndex(), 0);
        QCOMPARE(container->currentWidget()->objectName(), QStringLiteral("SoftwareInfoWidget"));
    }

private slots:
    void hostLoaderGetsTheContainer()
    {
        QVERIFY(QFile::exists(pluginFolder() + QStringLiteral("/libDravik.so")));
        std::unique_ptr<QWidget> page(PluginBinder::createDownloadPage(pluginFolder()));
        checkContainer(page.get());

        // The host gives its page more height than is left below its title
        // bar: the plug-in's page is laid out in the part that shows.
        QWidget host;
        host.setFixedSize(1200, 800);
        page->setParent(&host);
        page->setFixedSize(930, 760);
        page->move(250, 55);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(qobject_cast<QStackedWidget *>(page.get())->currentWidget()->geometry(), QRect(0, 0, 930, 745));
        page->setParent(nullptr);
    }

    // The plug-in sits on the program's platform layer: its card monitor
    // starts the same volume watcher and hears the same volumes.
    void sharesTheProgramsPlatform()
    {
        FakePlatform platform;
        // A copy of its own: the build's file has made its one page already.
        const QString copy = mEnv.makeDir(QStringLiteral("shared")) + QStringLiteral("/libSharedDravik.so");
        QVERIFY(QFile::copy(pluginFolder() + QStringLiteral("/libDravik.so"), copy));
        auto *plugin = qobject_cast<QGenericPlugin *>(QPluginLoader(copy).instance());
        QVERIFY(plugin);
        std::unique_ptr<QObject> page(plugin->create(QStringLiteral("DOWNLOAD"), QString()));
        QVERIFY(page);
        QVERIFY(platform.fakeVolumes().isStarted());
        QObject *monitor = nullptr;
        for (QObject *child : page->findChildren<QObject *>()) {
            if (qstrcmp(child->metaObject()->className(), "UDiskMonitor") == 0)
                monitor = child;
        }
        QVERIFY(monitor);
        QSignalSpy added(monitor, SIGNAL(DeviceAdded(QString)));
        platform.fakeVolumes().add(mEnv.makeDir(QStringLiteral("CARD")) + QLatin1Char('/'));
        QCOMPARE(added.count(), 1);
    }

    // Only the two entry points of a Qt plug-in are exported; the copies of
    // the card engine and the widget kit inside stay its own.
    void exportsOnlyThePluginEntryPoints()
    {
        QProcess nm;
        nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                        pluginFolder() + QStringLiteral("/libDravik.so")});
        QVERIFY(nm.waitForFinished(30000) && nm.exitCode() == 0);
        QStringList names;
        for (const QByteArray &line : nm.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() == 3)
                names << QString::fromLatin1(fields.at(2));
        }
        names.sort();
        QCOMPARE(names,
                 (QStringList{QStringLiteral("qt_plugin_instance"), QStringLiteral("qt_plugin_query_metadata")}));
    }

    // A copy of the file is a second library with an instance of its own,
    // so these rules start from a plug-in that has created nothing yet.
    void createRules()
    {
        const QString copy = mEnv.makeDir(QStringLiteral("copy")) + QStringLiteral("/libCopyDravik.so");
        QVERIFY(QFile::copy(pluginFolder() + QStringLiteral("/libDravik.so"), copy));
        QPluginLoader loader(copy);
        const QJsonObject meta = loader.metaData();
        QCOMPARE(meta.value(QStringLiteral("IID")).toString(),
                 QStringLiteral("org.qt-project.Qt.QGenericPluginFactoryInterface"));
        QCOMPARE(meta.value(QStringLiteral("className")).toString(), QStringLiteral("Dravik"));
        QCOMPARE(meta.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray(),
                 QJsonArray({QStringLiteral("DOWNLOAD")}));

        auto *plugin = qobject_cast<QGenericPlugin *>(loader.instance());
        QVERIFY2(plugin, qPrintable(loader.errorString()));
        QCOMPARE(loader.instance(), plugin);
        QCOMPARE(QPluginLoader(copy).instance(), plugin);
        QVERIFY(plugin->inherits("Dravik"));

        QCOMPARE(plugin->create(QStringLiteral("UPLOAD"), QString()), nullptr);
        QCOMPARE(plugin->create(QStringLiteral("download"), QString()), nullptr);
        std::unique_ptr<QObject> container(plugin->create(QStringLiteral("DOWNLOAD"), QStringLiteral("ignored")));
        checkContainer(container.get());
        QCOMPARE(plugin->create(QStringLiteral("DOWNLOAD"), QString()), nullptr);
    }

    // The plug-in's texts follow the interface language the program runs in.
    void translationFollowsTheInterfaceLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English") << "en"
                                 << "The SD card was removed.";
        QTest::newRow("Chinese") << "zh" << QString::fromUtf8("SD卡已拔出！");
        QTest::newRow("unknown") << "fr" << QString::fromUtf8("SD卡已拔出！");
    }
    void translationFollowsTheInterfaceLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, shown);
        const QString translations = mEnv.installDir() + QStringLiteral("/translations/");
        QDir().mkpath(translations);
        for (const char *file : {"dravik_zh.qm", "dravik_en.qm"}) {
            QFile::remove(translations + QLatin1String(file));
            QVERIFY(QFile::copy(TestEnv::buildBinDir() + QStringLiteral("/translations/") + QLatin1String(file),
                                translations + QLatin1String(file)));
        }
        AppSettings::setInterfaceLanguage(language);
        // A fresh copy: the translation is installed with the instance.
        const QString copy =
            mEnv.makeDir(QStringLiteral("lang-") + language) + QStringLiteral("/lib%1Dravik.so").arg(language);
        QVERIFY(QFile::copy(pluginFolder() + QStringLiteral("/libDravik.so"), copy));
        QVERIFY(QPluginLoader(copy).instance());
        QCOMPARE(QCoreApplication::translate("SoftwareInfoWidget", "U disk has been pulled out!"), shown);
    }
};

QTEST_MAIN(TestDravikModule)
#include "tst_dravikmodule.moc"
