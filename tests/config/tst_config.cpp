// Configuration document, layout information and the settings files.
#include "AppConfig.h"
#include "AppPaths.h"
#include "DeploymentSettings.h"
#include "AppSettings.h"
#include "FXGlobalInfo.h"
#include "LanguageCodes.h"
#include "TestEnv.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>

static QStringList keys(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *k : list)
        out << QString::fromLatin1(k);
    return out;
}

class TestConfig : public QObject
{
    Q_OBJECT

private:
    QString writeDoc(const QByteArray &json)
    {
        const QString path = mEnv.root() + QStringLiteral("/doc-%1.json").arg(++mDocs);
        TestEnv::writeFile(path, json);
        return path;
    }

    TestEnv mEnv;
    int mDocs = 0;

private slots:
    void shippedLayout()
    {
        FXGlobalInfo *info = FXGlobalInfo::instance();
        QCOMPARE(info->layoutMode(), 1);
        QCOMPARE(FXGlobalInfo::layoutName(), QStringLiteral("1200x800"));
        QCOMPARE(info->windowSize(), QSize(1200, 800));
        QCOMPARE(info->signInWindowSize(), QSize(1200, 600));
        // No UI/Title_bar/bar/height in the document: the fallback applies.
        QCOMPARE(info->titleBarHeight(), 40.0);
        QCOMPARE(info->subTitleHeight(), 40.0);
        QCOMPARE(info->tableLineWidth(), 1.0);
        QCOMPARE(info->tableItemMinHeight(), 50.0);
        QCOMPARE(info->userInfoTitleHeight(), 180.0);

        QCOMPARE(info->size(FXGlobalInfo::Edit4), QSize(0, 0));
        QCOMPARE(info->size(FXGlobalInfo::Button4), QSize(0, 0));
        QCOMPARE(info->size(FXGlobalInfo::Edit1), QSize(400, 50));
        QCOMPARE(info->size(FXGlobalInfo::Button_bar), QSize(230, 0));
        QCOMPARE(info->size(FXGlobalInfo::Button_bar_item), QSize(0, 70));
        QCOMPARE(info->size(FXGlobalInfo::Button_bar_separate), QSize(0, 1));
        QCOMPARE(info->size(FXGlobalInfo::grid_view_space), QSize(0, 20));
        QCOMPARE(info->size(FXGlobalInfo::spacer30), QSize(20, 30));

        QCOMPARE(info->margins(FXGlobalInfo::Title_bar), QMargins(30, 0, 0, 0));
        QCOMPARE(info->margins(FXGlobalInfo::Button2), QMargins(5, 5, 5, 5));
        QCOMPARE(info->margins(FXGlobalInfo::Button_bar_separate), QMargins(40, 0, 0, 0));
        QCOMPARE(info->margins(FXGlobalInfo::clientView), QMargins(20, 0, 20, 0));
        QCOMPARE(info->margins(FXGlobalInfo::Edit2), QMargins());

        QCOMPARE(info->color(FXGlobalInfo::Button_bar_item, FXGlobalInfo::Pressed), QColor(0x21, 0x3B, 0x78, 0xFF));
        QCOMPARE(info->color(FXGlobalInfo::Button_bar_item), QColor(0, 0, 0, 0));
        // Absent in the document: transparent black, not invalid.
        QCOMPARE(info->color(FXGlobalInfo::Button_bar_item_separate), QColor(0, 0, 0, 0));
        QVERIFY(!info->color(FXGlobalInfo::Edit1).isValid());

        QCOMPARE(info->imagePath(QStringLiteral("close_normal.png")),
                 QStringLiteral(":/1200x800/Resources/images/1200x800/close_normal.png"));
        const QFont f = info->font(12);
        QCOMPARE(f.family(), QStringLiteral("MicroSoft YaHei"));
        QCOMPARE(f.pointSize(), 12);
        QCOMPARE(f.weight(), 50);
        QVERIFY(!f.italic());
    }

    void editionAndBrokenDocuments_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("mode");
        QTest::newRow("debug") << QByteArray(R"({"APP":{"edition":"debug"}})") << 1;
        QTest::newRow("letter case") << QByteArray(R"({"APP":{"edition":"Debug"}})") << 3;
        QTest::newRow("release") << QByteArray(R"({"APP":{"edition":"release"}})") << 3;
        QTest::newRow("empty edition") << QByteArray(R"({"APP":{"edition":""}})") << 3;
        QTest::newRow("malformed") << QByteArray(R"({"APP":{"edition":"debug")") << 3;
        QTest::newRow("array root") << QByteArray(R"([{"APP":{"edition":"debug"}}])") << 3;
        QTest::newRow("empty file") << QByteArray() << 3;
    }

    void editionAndBrokenDocuments()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, mode);
        FXGlobalInfo info(writeDoc(json));
        QCOMPARE(info.layoutMode(), mode);
        QCOMPARE(info.windowSize(), mode == 1 ? QSize(1200, 800) : QSize(1920, 1200));
        QCOMPARE(info.titleBarHeight(), 40.0);
        QCOMPARE(info.tableItemMinHeight(), 50.0);
        QCOMPARE(info.size(FXGlobalInfo::Edit1), QSize(0, 0));
        if (mode == 3) {
            QCOMPARE(info.imagePath(QStringLiteral("FXTitleFunctionBar.png")), QString());
            QCOMPARE(info.layoutNameOf(), QStringLiteral("1920x1200"));
        }
        // Reading another document leaves the process's own layout alone.
        QCOMPARE(FXGlobalInfo::layoutName(), QStringLiteral("1200x800"));
    }

    void missingDocument()
    {
        AppConfig config(mEnv.root() + QStringLiteral("/absent.json"));
        QVERIFY(config.isEmpty());
        QCOMPARE(config.intValue({QStringLiteral("UI"), QStringLiteral("Edit1"), QStringLiteral("width")}), 0);
        QCOMPARE(config.textValue({QStringLiteral("APP"), QStringLiteral("edition")}), QString());
    }

    void keyPaths()
    {
        AppConfig config(writeDoc(R"({"a":{"b":{"c":7},"s":"x"},"n":3})"));
        QCOMPARE(config.intValue(keys({"a", "b", "c"})), 7);
        // The list ends at the first empty key.
        QCOMPARE(config.intValue(keys({"n", "", "ignored"})), 3);
        QVERIFY(!config.value(keys({"a", "s", "deeper"})).isValid());
        QVERIFY(!config.value(keys({"a", "missing"})).isValid());
        QVERIFY(!config.value(keys({})).isValid());
    }

    void colourParsing()
    {
        FXGlobalInfo info(writeDoc(R"({"UI":{"radio_btn":{"item":{"normalBGColor":"8592B880",
            "pressedBGColor":"zz"}}}})"));
        QCOMPARE(info.color(FXGlobalInfo::radio_btn), QColor(0x85, 0x92, 0xB8, 0x80));
        QCOMPARE(info.color(FXGlobalInfo::radio_btn, FXGlobalInfo::Pressed), QColor(0, 0, 0, 0));
    }

    void configuredMetricsWin()
    {
        FXGlobalInfo info(writeDoc(R"({"UI":{"Title_bar":{"bar":{"height":55}},
            "TableView":{"list":{"item":{"miniHeight":-3},"Line":{"width":2}}}}})"));
        QCOMPARE(info.titleBarHeight(), 55.0);
        QCOMPARE(info.tableItemMinHeight(), 50.0);
        QCOMPARE(info.tableLineWidth(), 2.0);
    }

    void languageIndex_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("code");
        QTest::newRow("absent") << QVariant() << QStringLiteral("en");
        QTest::newRow("0") << QVariant(0) << QStringLiteral("cn");
        QTest::newRow("13") << QVariant(13) << QStringLiteral("se");
        QTest::newRow("15") << QVariant(15) << QStringLiteral("ru");
        QTest::newRow("16") << QVariant(16) << QStringLiteral("en");
        QTest::newRow("-1") << QVariant(-1) << QStringLiteral("en");
        QTest::newRow("text") << QVariant(QStringLiteral("abc")) << QStringLiteral("cn");
    }

    void languageIndex()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, code);
        QFile::remove(AppSettings::setupFile());
        if (stored.isValid()) {
            QSettings ini(AppSettings::setupFile(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("language"), stored);
        }
        QCOMPARE(LanguageCodes::current(), code);
        if (!stored.isValid())
            QCOMPARE(AppSettings::language(), 4);
    }

    void languageCodeTable()
    {
        for (int i = 0; i < LanguageCodes::Count; ++i)
            QCOMPARE(LanguageCodes::indexOf(LanguageCodes::codeOf(i)), i);
        QCOMPARE(LanguageCodes::indexOf(QStringLiteral("xx")), -1);
    }

    void iniFilesAreReadAfresh()
    {
        // Another writer (the plug-in, another object) is seen by the next read.
        AppSettings::setDownloading(true);
        QVERIFY(AppSettings::isDownloading());
        {
            QSettings other(AppSettings::operationFile(), QSettings::IniFormat);
            other.setValue(QStringLiteral("/Download/IsDownloading"), false);
            other.setValue(QStringLiteral("/Uninstall/IsUninstalling"), true);
        }
        QVERIFY(!AppSettings::isDownloading());
        QVERIFY(AppSettings::isUninstalling());
        AppSettings::resetBusyFlags();
        QVERIFY(!AppSettings::isUninstalling());

        const QByteArray text = TestEnv::readFile(AppSettings::operationFile());
        QVERIFY2(text.contains("[Download]\nIsDownloading=false"), text.constData());
        QVERIFY2(text.contains("[Uninstall]\nIsUninstalling=false"), text.constData());

        // A loose file from an older copy is tightened; the token in it
        // signs in as the user.
        QVERIFY(TestEnv::writeFile(AppSettings::preferenceFile(), "[Product]\nSerialNumber=\n"));
        QFile::setPermissions(AppSettings::preferenceFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        AppSettings::setSignedInUser(QStringLiteral("tok"), 42);
        const QFileDevice::Permissions modes = QFile::permissions(AppSettings::preferenceFile());
        QVERIFY(modes.testFlag(QFileDevice::ReadOwner) && modes.testFlag(QFileDevice::WriteOwner));
        QCOMPARE(int(modes & 0x00ff), 0); // nothing for group or others
        const QByteArray pref = TestEnv::readFile(AppSettings::preferenceFile());
        QVERIFY(pref.contains("[UserCenter]"));
        QCOMPARE(AppSettings::token(), QStringLiteral("tok"));
        QCOMPARE(AppSettings::userId(), 42);
        QCOMPARE(AppSettings::serialNumber(), QString());
    }

    void pathsJoinRelativeNames()
    {
        QCOMPARE(AppPaths::join(QStringLiteral("/opt/o"), QStringLiteral("/Preference.ini")), QStringLiteral("/opt/o/Preference.ini"));
        QCOMPARE(AppPaths::join(QStringLiteral("/opt/o"), QStringLiteral("./translations/x.qm")), QStringLiteral("/opt/o/translations/x.qm"));
        QCOMPARE(AppPaths::join(QStringLiteral("/opt/o"), QStringLiteral("user")), QStringLiteral("/opt/o/user"));
        QCOMPARE(AppPaths::installFile(QStringLiteral("version.txt")), mEnv.installDir() + QStringLiteral("/version.txt"));
    }

    void dataFolderChoice()
    {
        const QString portable = mEnv.makeDir(QStringLiteral("portable"));
        QCOMPARE(AppPaths::chooseDataDir(portable), portable);

        // An installed copy writes per user even where its folder is writable.
        const QString installed = mEnv.makeDir(QStringLiteral("installed"));
        TestEnv::writeFile(installed + QStringLiteral("/deployment.ini"), "[Paths]\nPerUserData=true\n");
        const QString perUser = AppPaths::chooseDataDir(installed);
        QVERIFY(perUser != installed);
        QCOMPARE(perUser, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    }

    // Settings, the remembered sign-in and crash dumps live in the data
    // folder: only its user may enter it, whatever the umask, and a loose
    // one from an earlier version is closed.
    void dataFolderIsPrivate()
    {
        const QString cwd = QDir::currentPath();
        const mode_t umask = ::umask(0);
        const auto restore = qScopeGuard([&] {
            ::umask(umask);
            QDir::setCurrent(cwd);
            AppPaths::setOverride(mEnv.installDir(), mEnv.dataDir());
        });
        const auto modeOf = [](const QString &path) {
            struct stat st;
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
        };
        const QString fresh = mEnv.makeDir(QStringLiteral("new")) + QStringLiteral("/Ostrel");
        const QString loose = mEnv.makeDir(QStringLiteral("loose/Ostrel"));
        QVERIFY(::chmod(QFile::encodeName(loose).constData(), 0755) == 0);
        for (const QString &dir : {fresh, loose}) {
            AppPaths::setOverride(mEnv.installDir(), dir);
            const QStringList narrowed =
                TestEnv::attributeChanges(QFileInfo(dir).path(), [] { QVERIFY(AppPaths::enterDataDir()); });
            QCOMPARE(modeOf(dir), 0700);
            // A new one is made owner-only, not opened to others for a moment.
            QVERIFY2(dir == loose || narrowed.isEmpty(), qPrintable(narrowed.join(QLatin1Char(' '))));
        }
    }

    void deploymentSettings()
    {
        qunsetenv("OSTREL_SERVICE_URL");
        qunsetenv("OSTREL_WEB_URL");
        qunsetenv("OSTREL_CA_BUNDLE");
        QFile::remove(AppPaths::installFile(QStringLiteral("deployment.ini")));
        QCOMPARE(DeploymentSettings::serviceUrl(), QUrl(QString::fromLatin1(DeploymentSettings::DefaultServiceUrl)));
        QVERIFY(DeploymentSettings::serviceUrl().path().endsWith(QLatin1String("KvaApi/")));

        TestEnv::writeFile(AppPaths::installFile(QStringLiteral("deployment.ini")),
                           "[Service]\nUrl=http://10.1.2.3:81/KvaApi\nCaBundle=/etc/x.pem\n[Web]\nUrl=http://web.test\n");
        // A missing trailing slash would make relative endpoints replace "KvaApi".
        QCOMPARE(DeploymentSettings::serviceUrl(), QUrl(QStringLiteral("http://10.1.2.3:81/KvaApi/")));
        QCOMPARE(DeploymentSettings::caBundle(), QStringLiteral("/etc/x.pem"));
        QCOMPARE(DeploymentSettings::forgetPasswordUrl(), QUrl(QStringLiteral("http://web.test/forget.html")));
        QCOMPARE(DeploymentSettings::registrationAgreementUrl(),
                 QUrl(QStringLiteral("http://web.test/registration-agreement.html")));

        qputenv("OSTREL_SERVICE_URL", "http://127.0.0.1:5000/KvaApi/");
        qputenv("OSTREL_WEB_URL", "http://127.0.0.1:5000/");
        QCOMPARE(DeploymentSettings::serviceUrl(), QUrl(QStringLiteral("http://127.0.0.1:5000/KvaApi/")));
        QCOMPARE(DeploymentSettings::webUrl(), QUrl(QStringLiteral("http://127.0.0.1:5000/")));
        qunsetenv("OSTREL_SERVICE_URL");
        qunsetenv("OSTREL_WEB_URL");
    }

    void missingFilesGiveDefaults()
    {
        QFile::remove(AppSettings::preferenceFile());
        QFile::remove(AppSettings::versionFile());
        QCOMPARE(AppSettings::userId(), 0);
        QCOMPARE(AppSettings::token(), QString());
        QCOMPARE(AppSettings::version(), QStringLiteral("V1.00.001"));
        QCOMPARE(AppSettings::version(QString()), QString());
        QCOMPARE(AppSettings::buildTimeStamp(), qint64(0));
        QVERIFY(AppSettings::versionFile().startsWith(mEnv.installDir()));
        QVERIFY(AppSettings::operationFile().startsWith(mEnv.dataDir()));
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
