#include "AppSettings.h"
#include "MessageBoxDialog.h"
#include "SettingView.h"
#include "UserInfoEditView.h"
#include "UserInfoView.h"
#include "UserProfileFields.h"
#include "TestEnv.h"
#include "OpenMessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {
struct Outcome {
    int exitCode = 0;
    QString boxTitle; // empty when no box opened
    QString boxText;
};

// Presses Confirm inside a running event loop, as in the program, and
// answers a box if one opens (with its first button unless `decline`). The
// loop ends with the page's exit code, or with 0 once the box has been
// answered and nothing restarts.
Outcome pressConfirm(SettingView &view, bool decline = false)
{
    Outcome outcome;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (MessageBoxDialog *box = openMessageBox()) {
            poll.stop();
            outcome.boxTitle = box->title();
            outcome.boxText = box->textLabel()->text();
            (decline ? box->secondButton() : box->firstButton())->click();
        }
    });
    // Guards against a page that neither restarts nor asks: never hang.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-2); });

    QTimer::singleShot(0, &view, [&] {
        poll.start();
        guard.start(20000);
        QTest::mouseClick(view.confirmButton(), Qt::LeftButton);
        // A restart leaves Confirm disabled and the loop already ended.
        if (!outcome.boxTitle.isEmpty() && view.confirmButton()->isEnabled())
            QCoreApplication::exit(0);
    });
    outcome.exitCode = QCoreApplication::exec();
    return outcome;
}
} // namespace

class TestSetting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void savedLanguageIsShown_data();
    void savedLanguageIsShown();
    void confirmFollowsTheChoice();
    void busyRefusesSwitch_data();
    void busyRefusesSwitch();
    void switchStoresAndRestarts_data();
    void switchStoresAndRestarts();
    void savedInterfaceLanguageIsShown_data();
    void savedInterfaceLanguageIsShown();
    void interfaceSwitchStoresAndRestarts_data();
    void interfaceSwitchStoresAndRestarts();
    void chineseTexts();

private:
    std::unique_ptr<TestEnv> mEnv;
};

void TestSetting::initTestCase()
{
    mEnv = std::make_unique<TestEnv>();
}

void TestSetting::init()
{
    QFile::remove(AppSettings::setupFile());
    QFile::remove(AppSettings::operationFile());
}

void TestSetting::savedLanguageIsShown_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing saved") << false << 0 << QStringLiteral("English");
    QTest::newRow("German") << true << 2 << QStringLiteral("Deutsch");
    QTest::newRow("Swedish") << true << 13 << QStringLiteral("Svenska");
    QTest::newRow("simplified Chinese") << true << 0 << QString::fromUtf8("中文简体");
    QTest::newRow("Thai") << true << 14 << QString::fromUtf8("ไทย");
    QTest::newRow("out of range") << true << 16 << QStringLiteral("English");
    QTest::newRow("negative") << true << -1 << QStringLiteral("English");
}

void TestSetting::savedLanguageIsShown()
{
    QFETCH(bool, saved);
    QFETCH(int, language);
    QFETCH(QString, shown);
    if (saved)
        AppSettings::setLanguage(language);
    SettingView view;
    QCOMPARE(view.languageBox()->currentText(), shown);
    QVERIFY(!view.confirmButton()->isEnabled());
}

void TestSetting::confirmFollowsTheChoice()
{
    SettingView view;
    QComboBox *box = view.languageBox();
    box->setCurrentText(QStringLiteral("Deutsch"));
    QVERIFY(view.confirmButton()->isEnabled());
    QCOMPARE(view.selectedLanguageIndex(), 2);
    box->setCurrentText(QString::fromUtf8("日本語"));
    QVERIFY(view.confirmButton()->isEnabled());
    QCOMPARE(view.selectedLanguageIndex(), 8);
    box->setCurrentText(QStringLiteral("English"));
    QVERIFY(!view.confirmButton()->isEnabled());
}

void TestSetting::busyRefusesSwitch_data()
{
    QTest::addColumn<bool>("downloading");
    QTest::addColumn<bool>("uninstalling");
    QTest::addColumn<bool>("interface"); // the interface language is changed, not the vehicle software's
    QTest::addColumn<QString>("text");
    const QString upgrading = QStringLiteral("Vehicle is being upgraded, disables language switching!");
    const QString unloading = QStringLiteral("Vehicle is being unload, disables language switching!");
    QTest::newRow("download") << true << false << false << upgrading;
    QTest::newRow("download and uninstall") << true << true << false << upgrading;
    QTest::newRow("uninstall") << false << true << false << unloading;
    QTest::newRow("interface, download") << true << false << true << upgrading;
    QTest::newRow("interface, uninstall") << false << true << true << unloading;
}

void TestSetting::busyRefusesSwitch()
{
    QFETCH(bool, downloading);
    QFETCH(bool, uninstalling);
    QFETCH(bool, interface);
    QFETCH(QString, text);

    SettingView view;
    view.show();
    if (interface)
        view.interfaceLanguageBox()->setCurrentText(QStringLiteral("English"));
    else
        view.languageBox()->setCurrentText(QStringLiteral("Deutsch"));
    // Set after the page was built: the flags are read when Confirm is pressed.
    AppSettings::setDownloading(downloading);
    AppSettings::setUninstalling(uninstalling);

    const Outcome outcome = pressConfirm(view);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.boxTitle, QStringLiteral("Tips"));
    QCOMPARE(outcome.boxText, text);
    QVERIFY(!QFile::exists(AppSettings::setupFile()));
    QVERIFY(view.confirmButton()->isEnabled());
    QCOMPARE(view.languageBox()->currentText(), interface ? QStringLiteral("English") : QStringLiteral("Deutsch"));
}

void TestSetting::switchStoresAndRestarts_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("decline");
    QTest::newRow("Swedish") << QStringLiteral("Svenska") << 13 << false;
    QTest::newRow("Russian") << QString::fromUtf8("Русский") << 15 << false;
    QTest::newRow("traditional Chinese") << QString::fromUtf8("中文繁體") << 1 << false;
    QTest::newRow("restart declined") << QStringLiteral("Svenska") << 4 << true;
}

// The restart is asked for first; declined, nothing is saved.
void TestSetting::switchStoresAndRestarts()
{
    QFETCH(QString, choice);
    QFETCH(int, stored);
    QFETCH(bool, decline);

    // Idle flags written by the other side count as not busy.
    AppSettings::setDownloading(false);
    AppSettings::setUninstalling(false);
    SettingView view;
    view.show();
    view.languageBox()->setCurrentText(choice);
    QVERIFY(view.confirmButton()->isEnabled());

    const Outcome outcome = pressConfirm(view, decline);
    QCOMPARE(outcome.exitCode, decline ? 0 : 886);
    QCOMPARE(outcome.boxTitle, QStringLiteral("Tips"));
    QCOMPARE(outcome.boxText,
             QStringLiteral("The vehicle software language changes when Ostrel restarts. Restart now?"));
    QCOMPARE(AppSettings::language(), stored);
    QCOMPARE(view.confirmButton()->isEnabled(), decline);
}

void TestSetting::savedInterfaceLanguageIsShown_data()
{
    QTest::addColumn<QString>("saved"); // empty: nothing saved
    QTest::addColumn<QString>("shown");
    const QString chinese = QString::fromUtf8("简体中文");
    QTest::newRow("nothing saved") << QString() << chinese;
    QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("English");
    QTest::newRow("Chinese") << QStringLiteral("zh") << chinese;
    QTest::newRow("unknown") << QStringLiteral("fr") << chinese;
    QTest::newRow("upper case") << QStringLiteral("EN") << chinese;
}

void TestSetting::savedInterfaceLanguageIsShown()
{
    QFETCH(QString, saved);
    QFETCH(QString, shown);
    if (!saved.isEmpty())
        AppSettings::setInterfaceLanguage(saved);
    SettingView view;
    QCOMPARE(view.interfaceLanguageBox()->currentText(), shown);
    QVERIFY(!view.confirmButton()->isEnabled());
    // Back to what is saved: nothing to confirm.
    view.interfaceLanguageBox()->setCurrentIndex(1 - view.interfaceLanguageBox()->currentIndex());
    QVERIFY(view.confirmButton()->isEnabled());
    view.interfaceLanguageBox()->setCurrentText(shown);
    QVERIFY(!view.confirmButton()->isEnabled());
}

void TestSetting::interfaceSwitchStoresAndRestarts_data()
{
    QTest::addColumn<QString>("vehicle"); // empty: left as saved
    QTest::addColumn<bool>("decline");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("interface"); // stored afterwards
    QTest::addColumn<int>("language");      // stored afterwards
    const QString interfaceOnly = QStringLiteral("The interface language changes when Ostrel restarts. Restart now?");
    const QString both = QStringLiteral("The interface language and the vehicle software language change when "
                                        "Ostrel restarts. Restart now?");
    QTest::newRow("interface") << QString() << false << interfaceOnly << "en" << 4;
    QTest::newRow("both") << QStringLiteral("Svenska") << false << both << "en" << 13;
    QTest::newRow("declined") << QStringLiteral("Svenska") << true << both << "zh" << 4;
}

// The vehicle software's language is written only when it changed.
void TestSetting::interfaceSwitchStoresAndRestarts()
{
    QFETCH(QString, vehicle);
    QFETCH(bool, decline);
    QFETCH(QString, question);
    QFETCH(QString, interface);
    QFETCH(int, language);

    SettingView view;
    view.show();
    view.interfaceLanguageBox()->setCurrentText(QStringLiteral("English"));
    if (!vehicle.isEmpty())
        view.languageBox()->setCurrentText(vehicle);
    const Outcome outcome = pressConfirm(view, decline);
    QCOMPARE(outcome.exitCode, decline ? 0 : 886);
    QCOMPARE(outcome.boxText, question);
    QCOMPARE(AppSettings::interfaceLanguage(), interface);
    QCOMPARE(AppSettings::language(), language);
    const QSettings setup(AppSettings::setupFile(), QSettings::IniFormat);
    QCOMPARE(setup.contains(QLatin1String(AppSettings::KeyLanguage)), language != 4);
}

// The shipped translation reaches the pages: each text is looked up in the
// context the translation file holds it under.
void TestSetting::chineseTexts()
{
    QTranslator translator;
    QVERIFY(translator.load(TestEnv::buildBinDir() + QStringLiteral("/translations/ostrel_zh.qm")));
    QCoreApplication::installTranslator(&translator);
    {
        SettingView setting;
        QCOMPARE(setting.confirmButton()->text(), QString::fromUtf8("确认"));
        const QList<QLabel *> labels = setting.findChildren<QLabel *>();
        QStringList texts;
        for (const QLabel *label : labels)
            texts << label->text();
        // The language chosen here is the vehicle software's.
        QVERIFY2(texts.contains(QString::fromUtf8("车型软件语言")), qPrintable(texts.join(QLatin1Char(','))));
        QVERIFY2(texts.contains(QString::fromUtf8("界面语言")), qPrintable(texts.join(QLatin1Char(','))));
        QVERIFY(setting.languageBox()->findText(QStringLiteral("English")) >= 0);

        UserInfoView info;
        QCOMPARE(info.actionButton()->text(), QString::fromUtf8("编辑"));
        QCOMPARE(UserProfileFields::label(UserProfileFields::Province, "userInfo"), QString::fromUtf8("州/省"));
        QCOMPARE(UserProfileFields::label(UserProfileFields::Zip, "UserInfo"), QString::fromUtf8("邮政编码"));
    }
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestSetting)
#include "tst_setting.moc"
