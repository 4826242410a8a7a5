#include "AccessibilityAudit.h"
#include "AppSettings.h"
#include "FXViewPager.h"
#include "FakePlatform.h"
#include "LoginDialog.h"
#include "LoginView.h"
#include "RegisterView.h"
#include "RememberFile.h"
#include "SharedWindowRect.h"
#include "StandInService.h"
#include "TestEnv.h"
#include "Toast.h"
#include "tst_login_urlcatcher.h"

#include <Sornet/BaseAction.h>
#include <Sornet/Code.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTextCodec>
#include <QTimer>
#include <QTranslator>
#include <QUrlQuery>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

namespace {

const QString LoginPath = QStringLiteral("/KvaApi/user/login");
const QString Alice = QStringLiteral("alice@ostrel.test");
const QString AlicePassword = QStringLiteral("alice123");

QString md5(const QString &text)
{
    return BaseAction::MD5(text);
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void fieldsRefuseWhiteSpace_data();
    void fieldsRefuseWhiteSpace();
    void emptyFieldsOnlyToast_data();
    void emptyFieldsOnlyToast();
    void rememberedOnlyAfterASignIn_data();
    void rememberedOnlyAfterASignIn();
    void rememberedPasswordByLength_data();
    void rememberedPasswordByLength();
    void restoredDigestMaskedButSentWhole();
    void preferenceOnlyOnSuccess_data();
    void preferenceOnlyOnSuccess();
    void rejectedDigestDroppedAndTypedPasswordTried();
    void serviceUnusable_data();
    void serviceUnusable();
    void uncheckingForgetsTheSignIn();
    void enterKeys_data();
    void enterKeys();
    void enterInAnEmptyFieldToasts_data();
    void enterInAnEmptyFieldToasts();
    void retrievePasswordOpensTheWebPage();
    void secondClickWhileWaitingIsIgnored();
    void busyIndicatorLiesOverTheForm();
    void chineseTexts();

    void dialogOpensReadyForTyping();
    void dialogSwitchesPagesAndKeepsHighlights();
    void dialogClosesOnEscapeOnEitherPage();
    void dialogKeepsTheKeysOnThePageOnShow();
    void dialogForTheKeyboardAndAScreenReader();
    void dialogAcceptsWithTokenAndUserId();
    void dialogFollowsADrag();
    void toastStandsOverAMovedDialog_data();
    void toastStandsOverAMovedDialog();
    void dialogClosedWhileSigningInStaysClosed_data();
    void dialogClosedWhileSigningInStaysClosed();
    void rememberedSignInSurvivesANewDialog();

private:
    std::unique_ptr<LoginView> makeView();
    QJsonArray logins() const { return mService.requestsTo(LoginPath); }
    QString sentPassword(int index) const;
    static void type(LoginView *view, const QString &account, const QString &password);

    std::unique_ptr<TestEnv> mEnv;
    StandInService mService;
    UrlCatcher mUrls;
};

void TestLogin::initTestCase()
{
    // As the program does at start: texts in files are UTF-8.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    mEnv = std::make_unique<TestEnv>();
    QVERIFY(mService.start());
    mService.exportEnvironment();
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &mUrls, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &mUrls, "open");
}

void TestLogin::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void TestLogin::init()
{
    QVERIFY(mService.reset());
    BaseAction::setBaseUrl(QString());
    for (const QString &file : {AppSettings::rememberFile(), AppSettings::setupFile(), AppSettings::preferenceFile()})
        QFile::remove(file);
    mUrls.urls.clear();
    Toast::instance()->setMessageVDuration(QString(), 10);
}

std::unique_ptr<LoginView> TestLogin::makeView()
{
    auto view = std::make_unique<LoginView>();
    view->setAttribute(Qt::WA_DeleteOnClose, false);
    Toast::instance(view.get())->setFadeDuration(5);
    return view;
}

void TestLogin::type(LoginView *view, const QString &account, const QString &password)
{
    auto *accountEdit = view->findChild<QLineEdit *>(QStringLiteral("account"));
    auto *passwordEdit = view->findChild<QLineEdit *>(QStringLiteral("password"));
    accountEdit->clear();
    passwordEdit->clear();
    QTest::keyClicks(accountEdit, account);
    QTest::keyClicks(passwordEdit, password);
}

QString TestLogin::sentPassword(int index) const
{
    const QJsonArray log = logins();
    if (index >= log.size())
        return QString();
    const QUrlQuery body(log.at(index).toObject().value(QStringLiteral("body")).toString());
    return body.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
}

void TestLogin::fieldsRefuseWhiteSpace_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("account space") << "account" << "al ice" << "alice";
    QTest::newRow("account tab") << "account" << "a\tb" << "ab";
    QTest::newRow("password space") << "password" << "pass word" << "password";
    QTest::newRow("password cut at 16") << "password" << "0123456789abcdefXYZ" << "0123456789abcdef";
}

void TestLogin::fieldsRefuseWhiteSpace()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto view = makeView();
    auto *edit = view->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(field == QLatin1String("account") ? view->accountValue() : view->passwordValue(), shown);
}

void TestLogin::emptyFieldsOnlyToast_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("toast");
    const QString accountToast = QStringLiteral("Please enter your email address or Kestavo ID");
    QTest::newRow("no account, password") << "" << AlicePassword << accountToast;
    QTest::newRow("nothing") << "" << "" << accountToast;
    QTest::newRow("account, no password") << Alice << "" << QStringLiteral("Please enter your password");
}

void TestLogin::emptyFieldsOnlyToast()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(QString, toast);
    auto view = makeView();
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    type(view.get(), account, password);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(Toast::instance()->text(), toast);
    QCOMPARE(Toast::instance()->displayTime(), 3000);
    QCOMPARE(logins().size(), 0);
    QCOMPARE(clicked.count(), 0);
}

void TestLogin::rememberedOnlyAfterASignIn_data()
{
    QTest::addColumn<bool>("secretService");
    QTest::newRow("file") << false;
    QTest::newRow("desktop secret service") << true;
}

// Ticking remembers nothing yet, nor does a sign-in that failed; one that
// worked is remembered owner-only from the first byte, whatever the umask.
// Where the desktop keeps secrets, the digest goes there and the file
// names the account alone.
void TestLogin::rememberedOnlyAfterASignIn()
{
    QFETCH(bool, secretService);
    FakePlatform platform;
    platform.secrets.available = secretService;
    const mode_t umask = ::umask(0);
    const auto restore = qScopeGuard([umask] { ::umask(umask); });
    auto view = makeView();
    auto *stay = view->findChild<QCheckBox *>(QStringLiteral("staySignedIn"));
    QVERIFY(!stay->isChecked());
    stay->setChecked(true);
    QVERIFY(!QFile::exists(AppSettings::rememberFile()));

    type(view.get(), Alice, QStringLiteral("wrong123"));
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!QFile::exists(AppSettings::rememberFile()));

    type(view.get(), Alice, AlicePassword);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(clicked.count(), 1);
    RememberFile::Content content;
    QVERIFY(RememberFile::read(AppSettings::rememberFile(), &content));
    QCOMPARE(content.account, Alice);
    QCOMPARE(content.password, secretService ? QString() : md5(AlicePassword));
    QCOMPARE(platform.secrets.secrets.value(Alice), secretService ? md5(AlicePassword) : QString());
    QVERIFY(AppSettings::remember());
    for (const QString &secret : {AppSettings::rememberFile(), AppSettings::preferenceFile()}) {
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(secret).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    // The next page restores both, from wherever they were kept.
    auto again = makeView();
    QCOMPARE(again->findChild<QLineEdit *>(QStringLiteral("account"))->text(), Alice);
    QCOMPARE(again->rememberedDigest(), md5(AlicePassword));
    again->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->setChecked(false);
    QVERIFY(!QFile::exists(AppSettings::rememberFile()));
    QVERIFY(platform.secrets.secrets.isEmpty());
}

void TestLogin::rememberedPasswordByLength_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("hashed");
    QTest::addColumn<QString>("account");
    QTest::newRow("5 kept as typed") << "abcde" << false << "short@ostrel.test";
    QTest::newRow("8 digest") << "alice123" << true << "alice@ostrel.test";
    QTest::newRow("16 digest") << "LongPassword1234" << true << "long@ostrel.test";
}

void TestLogin::rememberedPasswordByLength()
{
    QFETCH(QString, password);
    QFETCH(bool, hashed);
    QFETCH(QString, account);
    auto view = makeView();
    type(view.get(), account, password);
    view->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->setChecked(true);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();

    RememberFile::Content content;
    QVERIFY(RememberFile::read(AppSettings::rememberFile(), &content));
    QCOMPARE(content.password, hashed ? md5(password) : password);
    // Whatever the file keeps, the service always receives a digest.
    QCOMPARE(logins().size(), 1);
    QCOMPARE(sentPassword(0), md5(password));
}

void TestLogin::restoredDigestMaskedButSentWhole()
{
    const QString digest = md5(AlicePassword);
    QVERIFY(RememberFile::write(AppSettings::rememberFile(), {digest, Alice}));
    AppSettings::setRemember(true);

    auto view = makeView();
    auto *passwordEdit = view->findChild<QLineEdit *>(QStringLiteral("password"));
    QCOMPARE(view->findChild<QLineEdit *>(QStringLiteral("account"))->text(), Alice);
    QCOMPARE(passwordEdit->text(), digest.left(16));
    QCOMPARE(passwordEdit->echoMode(), QLineEdit::Password);
    QCOMPARE(view->rememberedDigest(), digest);
    QVERIFY(view->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->isChecked());

    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(logins().size(), 1);
    QCOMPARE(sentPassword(0), digest);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("SIGNIN"));
    QCOMPARE(clicked.at(0).at(1).toString(), QStringLiteral("token-alice"));
}

void TestLogin::preferenceOnlyOnSuccess_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("success");
    QTest::addColumn<int>("outcome"); // what the failure toast names
    QTest::newRow("success") << Alice << AlicePassword << true << 0;
    QTest::newRow("wrong password") << Alice << "wrong123" << false << int(Code::CODE_ERROR_PASSWORD);
    QTest::newRow("unknown user") << "nobody@ostrel.test" << "whatever1" << false
                                  << int(Code::CODE_ERROR_USER_NOT_EXISTS);
    // Not a typing error: the account is disabled, and the toast says so.
    QTest::newRow("disabled") << "disabled@ostrel.test" << "disabled1" << false
                              << int(Code::CODE_ERROR_USER_DISABLE);
}

void TestLogin::preferenceOnlyOnSuccess()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(bool, success);
    QFETCH(int, outcome);
    auto view = makeView();
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    type(view.get(), account, password);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();

    QCOMPARE(QFile::exists(AppSettings::preferenceFile()), success);
    QCOMPARE(clicked.count(), success ? 1 : 0);
    // A failure is tried once more with what the field shows.
    QCOMPARE(logins().size(), success ? 1 : 2);
    if (success) {
        QCOMPARE(AppSettings::token(), QStringLiteral("token-alice"));
        QCOMPARE(AppSettings::userId(), 1001);
        QCOMPARE(clicked.at(0).at(2).value<long>(), 1001L);
    } else {
        const bool credentials = outcome == Code::CODE_ERROR_PASSWORD || outcome == Code::CODE_ERROR_USER_NOT_EXISTS;
        QCOMPARE(Toast::instance()->text(), credentials ? QStringLiteral("Incorrect account or password")
                                                        : Code().getMessageByCode(outcome));
    }
}

void TestLogin::rejectedDigestDroppedAndTypedPasswordTried()
{
    QVERIFY(RememberFile::write(AppSettings::rememberFile(), {md5(QStringLiteral("oldpass1")), Alice}));
    AppSettings::setRemember(true);
    auto view = makeView();
    auto *passwordEdit = view->findChild<QLineEdit *>(QStringLiteral("password"));
    passwordEdit->clear();
    QTest::keyClicks(passwordEdit, AlicePassword);

    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(logins().size(), 2);
    QCOMPARE(sentPassword(0), md5(QStringLiteral("oldpass1")));
    QCOMPARE(sentPassword(1), md5(AlicePassword));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(view->rememberedDigest().isEmpty());

    // Still "Stay signed in", now with the password that worked.
    RememberFile::Content content;
    QVERIFY(RememberFile::read(AppSettings::rememberFile(), &content));
    QCOMPARE(content.password, md5(AlicePassword));
}

void TestLogin::serviceUnusable_data()
{
    QTest::addColumn<QJsonObject>("fault");
    QTest::addColumn<bool>("unreachable");
    QTest::addColumn<int>("outcome");
    QTest::newRow("HTTP 503") << QJsonObject{{QStringLiteral("status"), 503}} << false << 503;
    // An answer that cannot be read has no code of its own: "Login failed."
    QTest::newRow("not JSON") << QJsonObject{{QStringLiteral("malformed"), true}} << false << -1;
    QTest::newRow("no server") << QJsonObject() << true << -1;
}

void TestLogin::serviceUnusable()
{
    QFETCH(QJsonObject, fault);
    QFETCH(bool, unreachable);
    QFETCH(int, outcome);
    if (unreachable) {
        // A port nobody listens on: the connection is refused at once.
        BaseAction::setBaseUrl(QStringLiteral("http://127.0.0.1:1/KvaApi/"));
    } else {
        fault.insert(QStringLiteral("path"), LoginPath);
        QVERIFY(mService.setFault(fault));
    }
    auto view = makeView();
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    type(view.get(), Alice, AlicePassword);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(clicked.count(), 0);
    // A dead line is not the user's password.
    QVERIFY(Toast::instance()->text() != QLatin1String("Incorrect account or password"));
    QCOMPARE(Toast::instance()->text(), Code().getMessageByCode(outcome));
    QVERIFY(!Toast::instance()->text().isEmpty());
    QVERIFY(!QFile::exists(AppSettings::preferenceFile()));
    if (!unreachable)
        QCOMPARE(logins().size(), 2);
}

void TestLogin::uncheckingForgetsTheSignIn()
{
    auto view = makeView();
    type(view.get(), Alice, AlicePassword);
    auto *stay = view->findChild<QCheckBox *>(QStringLiteral("staySignedIn"));
    stay->setChecked(true);
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QVERIFY(QFile::exists(AppSettings::rememberFile()));
    stay->setChecked(false);
    QVERIFY(!QFile::exists(AppSettings::rememberFile()));
    QVERIFY(!AppSettings::remember());

    // A new page starts unchecked and empty.
    auto again = makeView();
    QVERIFY(!again->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->isChecked());
    QVERIFY(again->findChild<QLineEdit *>(QStringLiteral("account"))->text().isEmpty());
}

void TestLogin::enterKeys_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return in password") << "password" << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Return in account") << "account" << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter in password") << "password" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("keypad Enter on the page") << "" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestLogin::enterKeys()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto view = makeView();
    view->show();
    QApplication::setActiveWindow(view.get());
    QVERIFY(QTest::qWaitForWindowActive(view.get()));
    type(view.get(), Alice, AlicePassword);

    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    QWidget *receiver = view.get();
    if (!target.isEmpty()) {
        receiver = view->findChild<QLineEdit *>(target);
        receiver->setFocus();
    } else {
        view->setFocus();
    }
    QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // One key, one sign-in, however many widgets saw it.
    QCOMPARE(logins().size(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("SIGNIN"));
}

void TestLogin::enterInAnEmptyFieldToasts_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("toast");
    const QString accountToast = QStringLiteral("Please enter your email address or Kestavo ID");
    const QString passwordToast = QStringLiteral("Please enter your password");
    QTest::newRow("Return, empty account") << "" << AlicePassword << "account" << int(Qt::Key_Return) << accountToast;
    QTest::newRow("Return, empty password") << Alice << "" << "password" << int(Qt::Key_Return) << passwordToast;
    QTest::newRow("keypad Enter, empty password") << Alice << "" << "password" << int(Qt::Key_Enter) << passwordToast;
}

void TestLogin::enterInAnEmptyFieldToasts()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(QString, toast);
    auto view = makeView();
    view->show();
    QApplication::setActiveWindow(view.get());
    QVERIFY(QTest::qWaitForWindowActive(view.get()));
    type(view.get(), account, password);
    auto *field = view->findChild<QLineEdit *>(target);
    field->setFocus();
    QTest::keyClick(field, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(Toast::instance()->text(), toast);
    QCOMPARE(logins().size(), 0);
}

void TestLogin::retrievePasswordOpensTheWebPage()
{
    auto view = makeView();
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    type(view.get(), Alice, QStringLiteral("typed12"));
    view->findChild<QPushButton *>(QStringLiteral("retrievePassword"))->click();
    QCOMPARE(mUrls.urls.size(), 1);
    QCOMPARE(mUrls.urls.at(0).path(), QStringLiteral("/forget.html"));
    QCOMPARE(mUrls.urls.at(0).host(), mService.webUrl().host());
    QCOMPARE(mUrls.urls.at(0).port(), mService.webUrl().port());
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(view->passwordValue(), QStringLiteral("typed12"));
}

void TestLogin::secondClickWhileWaitingIsIgnored()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), LoginPath}, {QStringLiteral("delay_ms"), 300}}));
    auto view = makeView();
    QSignalSpy clicked(view.get(), &LoginView::SignalClicked);
    type(view.get(), Alice, AlicePassword);
    auto *signIn = view->findChild<QPushButton *>(QStringLiteral("login"));
    QTimer::singleShot(50, signIn, &QPushButton::click);
    QTimer::singleShot(60, view.get(), [&view] {
        QTest::keyClick(view.get(), Qt::Key_Enter, Qt::KeypadModifier);
    });
    signIn->click();
    QCOMPARE(logins().size(), 1);
    QCOMPARE(clicked.count(), 1);
}

void TestLogin::busyIndicatorLiesOverTheForm()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), LoginPath}, {QStringLiteral("delay_ms"), 300}}));
    auto view = makeView();
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    type(view.get(), Alice, AlicePassword);
    auto *registerButton = view->findChild<QPushButton *>(QStringLiteral("register"));
    auto *closeButton = view->findChild<QPushButton *>(QStringLiteral("close"));
    auto *stay = view->findChild<QCheckBox *>(QStringLiteral("staySignedIn"));
    auto centreOf = [&view](QWidget *w) { return w->mapTo(view.get(), w->rect().center()); };

    QWidget *underRegister = nullptr;
    QWidget *underStay = nullptr;
    QWidget *underClose = nullptr;
    QTimer::singleShot(100, view.get(), [&] {
        underRegister = view->childAt(centreOf(registerButton));
        underStay = view->childAt(centreOf(stay));
        underClose = view->childAt(centreOf(closeButton));
    });
    view->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(logins().size(), 1);
    // While the service is asked, a click on the form hits the indicator;
    // the window's own buttons stay within reach.
    QVERIFY(underRegister && underRegister != registerButton);
    QVERIFY(underStay && underStay != stay);
    QCOMPARE(underClose, closeButton);
    // Once the answer is in, the form takes clicks again.
    QCOMPARE(view->childAt(centreOf(registerButton)), registerButton);
}

void TestLogin::chineseTexts()
{
    QTranslator translator;
    QVERIFY(translator.load(TestEnv::buildBinDir() + QStringLiteral("/translations/ostrel_zh.qm")));
    QCoreApplication::installTranslator(&translator);
    LoginDialog dialog;
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(dialog.loginView()->findChild<QLineEdit *>(QStringLiteral("account"))->placeholderText(),
             QString::fromUtf8("注册邮箱或 Kestavo ID"));
    QCOMPARE(dialog.loginView()->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->text(),
             QString::fromUtf8("保持登录"));
    QCOMPARE(dialog.registerView()->findChild<QPushButton *>(QStringLiteral("submit"))->text(),
             QString::fromUtf8("免费注册"));
    QCOMPARE(dialog.registerView()->findChild<QLabel *>(QStringLiteral("passwordError"))->text(),
             QString::fromUtf8("*| 密码格式错误"));
    QVERIFY(dialog.registerView()->findChild<QLabel *>(QStringLiteral("terms"))->text().contains(
        QString::fromUtf8("使用条款")));
}

void TestLogin::dialogOpensReadyForTyping()
{
    LoginDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    auto *account = dialog.loginView()->findChild<QLineEdit *>(QStringLiteral("account"));
    QTRY_COMPARE(QApplication::focusWidget(), account);
}

void TestLogin::dialogSwitchesPagesAndKeepsHighlights()
{
    LoginDialog dialog;
    dialog.pager()->setAnimationDuration(1);
    auto *signIn = dialog.loginView()->findChild<QPushButton *>(QStringLiteral("login"));
    auto *registerButton = dialog.loginView()->findChild<QPushButton *>(QStringLiteral("register"));
    auto *submit = dialog.registerView()->findChild<QPushButton *>(QStringLiteral("submit"));
    auto *cancel = dialog.registerView()->findChild<QPushButton *>(QStringLiteral("_cancel"));
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("LOGIN"));
    // The first of each pair is shown as the page's action, whatever was pressed.
    auto highlighted = [](QPushButton *button) {
        return button->property("pairRole").toString() == QLatin1String("primary");
    };
    QVERIFY(highlighted(signIn));

    QSignalSpy switched(&dialog, &LoginDialog::SignalClicked);
    registerButton->click();
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("REGISTER"));
    QCOMPARE(switched.count(), 1);
    QCOMPARE(switched.at(0).at(1).toString(), QStringLiteral("REGISTER"));
    QVERIFY(highlighted(signIn) && !highlighted(registerButton));
    QVERIFY(highlighted(submit) && !highlighted(cancel));

    cancel->click();
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("LOGIN"));
    QVERIFY(highlighted(submit) && highlighted(signIn));

    // An unknown page id leaves everything as it is.
    dialog.OnButtonClickWithId(QStringLiteral("NOWHERE"), QString(), 0);
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("LOGIN"));
    QCOMPARE(switched.count(), 2);
}

void TestLogin::dialogClosesOnEscapeOnEitherPage()
{
    for (const QString &page : {QStringLiteral("LOGIN"), QStringLiteral("REGISTER")}) {
        LoginDialog dialog;
        dialog.pager()->setAnimationDuration(1);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.OnButtonClickWithId(page, QString(), 0);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTRY_COMPARE_WITH_TIMEOUT(rejected.count(), 1, 2000);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
}

void TestLogin::dialogKeepsTheKeysOnThePageOnShow()
{
    LoginDialog dialog;
    dialog.pager()->setAnimationDuration(1);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    LoginView *login = dialog.loginView();
    RegisterView *registration = dialog.registerView();
    auto *account = login->findChild<QLineEdit *>(QStringLiteral("account"));
    auto *email = registration->findChild<QLineEdit *>(QStringLiteral("email"));
    auto *password = registration->findChild<QLineEdit *>(QStringLiteral("password"));
    QTRY_COMPARE(QApplication::focusWidget(), account);

    // Tab and Shift+Tab go round the page on show and never into the one
    // slid off to the side.
    auto staysOn = [](QWidget *page, Qt::Key key) {
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            if (!page->isAncestorOf(QApplication::focusWidget()))
                return false;
        }
        return true;
    };
    login->findChild<QPushButton *>(QStringLiteral("register"))->click();
    QCOMPARE(QApplication::focusWidget(), email);
    QVERIFY(staysOn(registration, Qt::Key_Tab));
    QVERIFY(staysOn(registration, Qt::Key_Backtab));

    // A too-short password finishes its edit on the way out, and leaves
    // the focus with the sign-in page all the same.
    password->setFocus();
    QTest::keyClicks(password, QStringLiteral("abcde"));
    registration->findChild<QPushButton *>(QStringLiteral("_cancel"))->click();
    QCOMPARE(QApplication::focusWidget(), account);
    QVERIFY(staysOn(login, Qt::Key_Tab));
    QVERIFY(staysOn(login, Qt::Key_Backtab));
}

// Tab walks each page in reading order, the pair of big buttons and the
// terms link included; a screen reader finds every control named and every
// text readable, the toasts' too.
void TestLogin::dialogForTheKeyboardAndAScreenReader()
{
    LoginDialog dialog;
    dialog.pager()->setAnimationDuration(1);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(AccessibilityAudit::report(&dialog), QString());
    const auto walk = [](int steps) {
        QStringList seen;
        for (int i = 0; i < steps; ++i) {
            seen << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return seen;
    };
    QCOMPARE(walk(7).join(QLatin1Char(' ')),
             QStringLiteral("account password staySignedIn retrievePassword login register account"));

    // Register by its key; the same on the registration page.
    QTest::keyClick(dialog.loginView()->findChild<QPushButton *>(QStringLiteral("register")), Qt::Key_Space);
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("REGISTER"));
    QCOMPARE(AccessibilityAudit::report(&dialog), QString());
    QCOMPARE(walk(8).join(QLatin1Char(' ')),
             QStringLiteral("email verificationCode sendCode password confirmPassword submit _cancel terms"));

    Toast::instance()->setMessageVDuration(QStringLiteral("Incorrect account or password"), 3000);
    QTRY_VERIFY(Toast::instance()->isVisible());
    QCOMPARE(AccessibilityAudit::report(Toast::instance()), QString());
}

void TestLogin::dialogAcceptsWithTokenAndUserId()
{
    LoginDialog dialog;
    QSignalSpy signedIn(&dialog, &LoginDialog::SignLoginClicked);
    type(dialog.loginView(), QStringLiteral("bob@ostrel.test"), QStringLiteral("bob12345"));
    dialog.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(signedIn.count(), 1);
    QCOMPARE(dialog.token(), QStringLiteral("token-bob"));
    QCOMPARE(dialog.userId(), 1002L);
}

void TestLogin::dialogFollowsADrag()
{
    LoginDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    // On the sign-in picture, a spot that is no control.
    QWidget *picture = dialog.loginView()->findChild<QWidget *>(QStringLiteral("signInPicture"));
    auto send = [picture](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, picture->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(300, 500), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(340, 530), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(340, 530), Qt::LeftButton, Qt::NoButton);
    // Once released, moving the mouse leaves the window where it is.
    send(QEvent::MouseMove, QPoint(400, 560), Qt::NoButton, Qt::NoButton);
    QTRY_COMPARE(dialog.pos(), start + QPoint(40, 30));
    QCOMPARE(SharedWindowRect::get(), QRect(dialog.pos(), dialog.size()));
}

void TestLogin::toastStandsOverAMovedDialog_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("sign-in page") << "LOGIN";
    QTest::newRow("registration page") << "REGISTER";
}

void TestLogin::toastStandsOverAMovedDialog()
{
    QFETCH(QString, page);
    LoginDialog dialog;
    dialog.pager()->setAnimationDuration(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Dragged away from the middle of the screen, where a toast with no
    // main window to stand over would appear.
    dialog.move(dialog.pos() + QPoint(310, 170));
    dialog.OnButtonClickWithId(page, QString(), 0);
    if (page == QLatin1String("LOGIN")) {
        dialog.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
    } else {
        QVERIFY(mService.setFault({{QStringLiteral("path"), QStringLiteral("/KvaApi/tools/send_yzm")},
                                   {QStringLiteral("status"), 503}}));
        QTest::keyClicks(dialog.registerView()->findChild<QLineEdit *>(QStringLiteral("email")),
                         QStringLiteral("new.user@ostrel.test"));
        dialog.registerView()->findChild<QPushButton *>(QStringLiteral("sendCode"))->click();
    }
    Toast *toast = Toast::instance();
    QVERIFY(!toast->text().isEmpty());
    QVERIFY2(dialog.frameGeometry().contains(toast->geometry()),
             qPrintable(QStringLiteral("toast at %1,%2").arg(toast->x()).arg(toast->y())));
}

void TestLogin::dialogClosedWhileSigningInStaysClosed_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << QStringLiteral("button");
    QTest::newRow("window closed") << QStringLiteral("window");
}

void TestLogin::dialogClosedWhileSigningInStaysClosed()
{
    QFETCH(QString, how);
    // The service never answers: closing must end the wait at once, with no
    // second try and no message.
    QVERIFY(mService.setFault({{QStringLiteral("path"), LoginPath}, {QStringLiteral("hang"), true}}));
    LoginDialog dialog;
    dialog.show();
    QSignalSpy signedIn(&dialog, &LoginDialog::SignLoginClicked);
    type(dialog.loginView(), Alice, AlicePassword);
    QTimer::singleShot(200, &dialog, [&dialog, how] {
        if (how == QLatin1String("button"))
            dialog.loginView()->findChild<QPushButton *>(QStringLiteral("close"))->click();
        else
            dialog.close();
    });
    QElapsedTimer waited;
    waited.start();
    dialog.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QVERIFY2(waited.elapsed() < 5000, "the sign-in went on waiting after the dialog was closed");
    QCOMPARE(logins().size(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(signedIn.count(), 0);
    QVERIFY(dialog.token().isEmpty());
    QCOMPARE(Toast::instance()->text(), QString());
    QVERIFY(mService.reset()); // releases the held request
}

void TestLogin::rememberedSignInSurvivesANewDialog()
{
    {
        LoginDialog first;
        type(first.loginView(), Alice, AlicePassword);
        first.loginView()->findChild<QCheckBox *>(QStringLiteral("staySignedIn"))->setChecked(true);
        first.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
        QCOMPARE(first.result(), int(QDialog::Accepted));
    }
    QVERIFY(mService.clearLog());
    LoginDialog second;
    QCOMPARE(second.loginView()->findChild<QLineEdit *>(QStringLiteral("account"))->text(), Alice);
    second.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(second.result(), int(QDialog::Accepted));
    QCOMPARE(second.token(), QStringLiteral("token-alice"));
    QCOMPARE(logins().size(), 1);
    QCOMPARE(sentPassword(0), md5(AlicePassword));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
