#include "AppPaths.h"
#include "FXViewPager.h"
#include "LoginDialog.h"
#include "LoginView.h"
#include "RegisterView.h"
#include "StandInService.h"
#include "TestEnv.h"
#include "tst_login_urlcatcher.h"
#include "Toast.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTimerEvent>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const QString SendPath = QStringLiteral("/KvaApi/tools/send_yzm");
const QString RegisterPath = QStringLiteral("/KvaApi/user/register");
const QString CheckPath = QStringLiteral("/KvaApi/user/check_name");
const QString Taken = QStringLiteral("bob@ostrel.test");
const QString Fresh = QStringLiteral("new.user@ostrel.test");
const char *const ChildDataDir = "OSTREL_TERMS_CHILD_DATA";

QString error(const char *text)
{
    return QStringLiteral("*| ") + QLatin1String(text);
}
} // namespace

// The page's widgets by their object names.
struct Page {
    explicit Page(RegisterView *view)
        : email(view->findChild<QLineEdit *>(QStringLiteral("email")))
        , code(view->findChild<QLineEdit *>(QStringLiteral("verificationCode")))
        , password(view->findChild<QLineEdit *>(QStringLiteral("password")))
        , confirm(view->findChild<QLineEdit *>(QStringLiteral("confirmPassword")))
        , emailLabel(view->findChild<QLabel *>(QStringLiteral("emailError")))
        , codeLabel(view->findChild<QLabel *>(QStringLiteral("verificationCodeError")))
        , passwordLabel(view->findChild<QLabel *>(QStringLiteral("passwordError")))
        , confirmLabel(view->findChild<QLabel *>(QStringLiteral("confirmPasswordError")))
        , sendCode(view->findChild<QPushButton *>(QStringLiteral("sendCode")))
        , submit(view->findChild<QPushButton *>(QStringLiteral("submit")))
    {
    }
    void fill(const QString &e, const QString &c, const QString &p, const QString &cp)
    {
        for (QLineEdit *edit : {email, code, password, confirm})
            edit->clear();
        QTest::keyClicks(email, e);
        QTest::keyClicks(code, c);
        QTest::keyClicks(password, p);
        QTest::keyClicks(confirm, cp);
    }
    QLineEdit *email, *code, *password, *confirm;
    QLabel *emailLabel, *codeLabel, *passwordLabel, *confirmLabel;
    QPushButton *sendCode, *submit;
};

class TestRegister : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void fieldLimits();
    void addressFormat_data();
    void addressFormat();
    void addressTaken_data();
    void addressTaken();
    void submitChecksInOrder_data();
    void submitChecksInOrder();
    void passwordLengthLeavesLabelVisibility_data();
    void passwordLengthLeavesLabelVisibility();
    void differentConfirmation();
    void countdownAfterSend();
    void refusedSend();
    void failedRegistrationKeepsTheForm();
    void clicksWhileWaitingSendNothingMore();
    void newUserRegistersAndSignsIn();
    void termsOpenFromALocalCopy();
    void termsWithoutACopy_data();
    void termsWithoutACopy();
    void termsCopyGoneWhenTheProgramEnds();
    void termsCopyChild();

private:
    std::unique_ptr<RegisterView> makeView(bool shown = false);
    void sendCodeFor(Page &page, const QString &address);

    std::unique_ptr<TestEnv> mEnv;
    StandInService mService;
    UrlCatcher mUrls;
};

void TestRegister::initTestCase()
{
    if (qEnvironmentVariableIsSet(ChildDataDir)) {
        // The child run of termsCopyGoneWhenTheProgramEnds: the parent's folders, no service.
        AppPaths::setOverride(qEnvironmentVariable(ChildDataDir), qEnvironmentVariable(ChildDataDir));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &mUrls, "open");
        return;
    }
    mEnv = std::make_unique<TestEnv>();
    QVERIFY(mService.start());
    mService.exportEnvironment();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &mUrls, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &mUrls, "open");
}

void TestRegister::init()
{
    if (qEnvironmentVariableIsSet(ChildDataDir))
        return;
    QVERIFY(mService.reset());
    mUrls.urls.clear();
    Toast::instance()->setMessageVDuration(QString(), 10);
}

std::unique_ptr<RegisterView> TestRegister::makeView(bool shown)
{
    auto view = std::make_unique<RegisterView>();
    view->setAttribute(Qt::WA_DeleteOnClose, false);
    Toast::instance(view.get())->setFadeDuration(5);
    if (shown) {
        view->show();
        QApplication::setActiveWindow(view.get());
        if (!QTest::qWaitForWindowActive(view.get()))
            qWarning("page window not active");
    }
    return view;
}

void TestRegister::sendCodeFor(Page &page, const QString &address)
{
    page.email->clear();
    QTest::keyClicks(page.email, address);
    page.sendCode->click();
}

void TestRegister::fieldLimits()
{
    auto view = makeView();
    Page page(view.get());
    page.fill(QStringLiteral("a b@c.d"), QStringLiteral("12 345"), QStringLiteral("pass word 0123456789"),
              QStringLiteral("x y"));
    QCOMPARE(page.email->text(), QStringLiteral("ab@c.d"));
    QCOMPARE(page.code->text(), QStringLiteral("1234"));
    QCOMPARE(page.password->text(), QStringLiteral("password01234567"));
    QCOMPARE(page.confirm->text(), QStringLiteral("xy"));
    QCOMPARE(page.password->echoMode(), QLineEdit::Password);
    QCOMPARE(page.confirm->echoMode(), QLineEdit::Password);
    for (QLabel *label : {page.emailLabel, page.codeLabel, page.passwordLabel, page.confirmLabel})
        QVERIFY(label->isHidden());
    QCOMPARE(page.emailLabel->text(), error("Email format error"));
}

void TestRegister::addressFormat_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "new.user@ostrel.test" << true;
    QTest::newRow("underscore and digits") << "a_1@b2.c3" << true;
    QTest::newRow("sub-domains") << "a@b.c.d" << true;
    QTest::newRow("no dot after at") << "a@localhost" << false;
    QTest::newRow("plus sign") << "a+b@c.de" << false;
    QTest::newRow("hyphen in domain") << "a@my-host.de" << false;
    QTest::newRow("double dot") << "a..b@c.de" << false;
    QTest::newRow("trailing dot") << "a@c.de." << false;
    QTest::newRow("no local part") << "@c.de" << false;
    QTest::newRow("two at signs") << "a@b@c.de" << false;
}

void TestRegister::addressFormat()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    auto view = makeView();
    Page page(view.get());
    sendCodeFor(page, address);
    QCOMPARE(mService.requestsTo(SendPath).size(), valid ? 1 : 0);
    QCOMPARE(page.emailLabel->isVisible() || !page.emailLabel->isHidden(), !valid);
    if (!valid) {
        QCOMPARE(page.emailLabel->text(), error("Please enter your valid email address!"));
        QCOMPARE(mService.requestsTo(CheckPath).size(), 0);
        // The submit check words the same fault differently.
        page.submit->click();
        QCOMPARE(page.emailLabel->text(), error("Something's wrong with your email address. Please try again!"));
    }
}

void TestRegister::addressTaken_data()
{
    QTest::addColumn<bool>("viaSubmit");
    QTest::addColumn<QString>("message");
    QTest::newRow("send code") << false << "*| An account already exists with the email addressbob@ostrel.test!";
    QTest::newRow("submit") << true << "*| An account already exists with the email address bob@ostrel.test!";
}

void TestRegister::addressTaken()
{
    QFETCH(bool, viaSubmit);
    QFETCH(QString, message);
    auto view = makeView();
    Page page(view.get());
    page.fill(Taken, QStringLiteral("1234"), QStringLiteral("secret12"), QStringLiteral("secret12"));
    if (viaSubmit)
        page.submit->click();
    else
        page.sendCode->click();
    QCOMPARE(page.emailLabel->text(), message);
    QVERIFY(!page.emailLabel->isHidden());
    QCOMPARE(mService.requestsTo(CheckPath).size(), 1);
    QCOMPARE(mService.requestsTo(SendPath).size(), 0);
    QCOMPARE(mService.requestsTo(RegisterPath).size(), 0);

    // A failed check lets the flow go on.
    QVERIFY(mService.setFault({{QStringLiteral("path"), CheckPath}, {QStringLiteral("status"), 500}}));
    page.sendCode->click();
    QCOMPARE(mService.requestsTo(SendPath).size(), 1);
}

void TestRegister::submitChecksInOrder_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("message");
    QTest::newRow("no code") << "" << "secret12" << "secret12" << "verificationCodeError" << error("Verification code is empty!");
    QTest::newRow("short code") << "123" << "secret12" << "secret12" << "verificationCodeError" << error("Verification code error!");
    QTest::newRow("no password") << "1234" << "" << "" << "passwordError" << error("Password is empty!");
    QTest::newRow("no confirmation") << "1234" << "secret12" << "" << "confirmPasswordError" << error("Passwords does not match!");
    QTest::newRow("confirmation differs in case") << "1234" << "secret12" << "SECRET12" << "confirmPasswordError"
                                                 << error("The password entered twice is different!");
}

void TestRegister::submitChecksInOrder()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, label);
    QFETCH(QString, message);
    auto view = makeView(true);
    Page page(view.get());
    page.fill(Fresh, code, password, confirm);
    page.submit->click();
    auto *shown = view->findChild<QLabel *>(label);
    QCOMPARE(shown->text(), message);
    QVERIFY(shown->isVisible());
    QCOMPARE(mService.requestsTo(RegisterPath).size(), 0);
}

void TestRegister::passwordLengthLeavesLabelVisibility_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("labelShownBefore");
    QTest::addColumn<bool>("labelShownAfter");
    QTest::newRow("5, hidden stays hidden") << "abcde" << false << false;
    QTest::newRow("5, shown stays shown") << "abcde" << true << true;
    QTest::newRow("6 hides") << "abcdef" << true << false;
    QTest::newRow("16 hides") << "abcdefghijklmnop" << true << false;
}

void TestRegister::passwordLengthLeavesLabelVisibility()
{
    QFETCH(QString, password);
    QFETCH(bool, labelShownBefore);
    QFETCH(bool, labelShownAfter);
    auto view = makeView(true);
    Page page(view.get());
    page.passwordLabel->setVisible(labelShownBefore);
    page.password->setFocus();
    QTest::keyClicks(page.password, password);
    page.confirm->setFocus(); // leaving the field finishes the edit
    QCOMPARE(page.passwordLabel->isVisible(), labelShownAfter);
    const bool lengthOk = password.size() >= 6;
    if (!lengthOk) {
        QCOMPARE(page.passwordLabel->text(), error("Make sure it contains 6-16 characters or symbols!"));
        QTRY_VERIFY(page.password->hasFocus());

        // Submitting is refused and leaves the focus in the password field.
        page.fill(Fresh, QStringLiteral("1234"), password, password);
        page.submit->click();
        QVERIFY(page.password->hasFocus());
        QCOMPARE(page.passwordLabel->isVisible(), labelShownAfter);
        QCOMPARE(mService.requestsTo(RegisterPath).size(), 0);
    }
}

void TestRegister::differentConfirmation()
{
    auto view = makeView(true);
    Page page(view.get());
    QTest::keyClicks(page.password, QStringLiteral("secret12"));
    page.confirm->setFocus();
    QTest::keyClicks(page.confirm, QStringLiteral("secret13"));
    page.email->setFocus();
    QVERIFY(page.confirmLabel->isVisible());
    QCOMPARE(page.confirmLabel->text(), error("The password entered twice is different!"));
    QVERIFY(page.confirm->hasFocus());
    QCOMPARE(page.confirm->text(), QStringLiteral("secret13"));

    page.confirm->clear();
    QTest::keyClicks(page.confirm, QStringLiteral("secret12"));
    page.email->setFocus();
    QVERIFY(page.confirmLabel->isHidden());
}

void TestRegister::countdownAfterSend()
{
    auto view = makeView();
    Page page(view.get());
    sendCodeFor(page, Fresh);
    QCOMPARE(mService.requestsTo(SendPath).size(), 1);
    QCOMPARE(Toast::instance()->text(),
             QStringLiteral("We have sent the verification code to your email, please use it within 10 minutes!"));
    QCOMPARE(Toast::instance()->displayTime(), 5000);
    QVERIFY(!page.sendCode->isEnabled());
    const int timerId = view->countdownTimerId();
    QVERIFY(timerId >= 0);

    auto tick = [&] {
        QTimerEvent event(view->countdownTimerId());
        QCoreApplication::sendEvent(view.get(), &event);
    };
    tick();
    QCOMPARE(page.sendCode->text(), QStringLiteral("60"));

    // Editing the address into a valid one frees the button; the count goes on.
    page.email->clear();
    QTest::keyClicks(page.email, QStringLiteral("other@ostrel.test"));
    QVERIFY(page.sendCode->isEnabled());
    for (int i = 0; i < 57; ++i)
        tick();
    QCOMPARE(page.sendCode->text(), QStringLiteral("3"));
    tick();
    QCOMPARE(page.sendCode->text(), QStringLiteral("2"));
    QCOMPARE(view->countdownTimerId(), timerId);
    tick();
    QCOMPARE(page.sendCode->text(), QStringLiteral("Send Code"));
    QVERIFY(page.sendCode->isEnabled());
    QCOMPARE(view->countdownTimerId(), -1);

    // The real timer drives the same steps.
    sendCodeFor(page, Fresh);
    QVERIFY(view->countdownTimerId() >= 0);
    QTRY_COMPARE_WITH_TIMEOUT(page.sendCode->text(), QStringLiteral("60"), 3000);
}

void TestRegister::refusedSend()
{
    QVERIFY(mService.setFault({{QStringLiteral("path"), SendPath}, {QStringLiteral("code"), -1210},
                               {QStringLiteral("message"), QStringLiteral("no mail")}}));
    auto view = makeView();
    Page page(view.get());
    sendCodeFor(page, Fresh);
    QCOMPARE(Toast::instance()->text(), QStringLiteral("Verification code is sent fail!"));
    QCOMPARE(Toast::instance()->displayTime(), 3000);
    QVERIFY(!page.sendCode->isEnabled());
    QCOMPARE(view->countdownTimerId(), -1);

    // Typing towards an address: not yet valid keeps it off, valid frees it.
    page.email->clear();
    QTest::keyClicks(page.email, QStringLiteral("x@y"));
    QVERIFY(!page.sendCode->isEnabled());
    QTest::keyClicks(page.email, QStringLiteral(".z"));
    QVERIFY(page.sendCode->isEnabled());
}

void TestRegister::failedRegistrationKeepsTheForm()
{
    auto view = makeView();
    Page page(view.get());
    QSignalSpy clicked(view.get(), QOverload<const QString &, const QString &, long>::of(&RegisterView::SignalClicked));
    sendCodeFor(page, Fresh);
    page.fill(Fresh, QStringLiteral("9999"), QStringLiteral("secret12"), QStringLiteral("secret12"));
    page.submit->click();
    QCOMPARE(mService.requestsTo(RegisterPath).size(), 1);
    QCOMPARE(Toast::instance()->text(), QStringLiteral("Failed to create the account."));
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(page.email->text(), Fresh);
    QCOMPARE(page.password->text(), QStringLiteral("secret12"));
}

void TestRegister::clicksWhileWaitingSendNothingMore()
{
    auto view = makeView();
    Page page(view.get());
    QVERIFY(mService.setFault({{QStringLiteral("path"), CheckPath}, {QStringLiteral("delay_ms"), 300}}));
    QTimer::singleShot(50, page.sendCode, &QPushButton::click);
    sendCodeFor(page, Fresh);
    QCOMPARE(mService.requestsTo(SendPath).size(), 1);

    QVERIFY(mService.setFault({{QStringLiteral("path"), RegisterPath}, {QStringLiteral("delay_ms"), 300}}));
    page.fill(Fresh, QStringLiteral("1234"), QStringLiteral("secret12"), QStringLiteral("secret12"));
    QTimer::singleShot(50, page.submit, &QPushButton::click);
    page.submit->click();
    QCOMPARE(mService.requestsTo(RegisterPath).size(), 1);
    QCOMPARE(Toast::instance()->text(), QStringLiteral("Registered account is successful!"));
}

void TestRegister::newUserRegistersAndSignsIn()
{
    LoginDialog dialog;
    dialog.pager()->setAnimationDuration(1);
    Toast::instance(&dialog)->setFadeDuration(5);
    dialog.loginView()->findChild<QPushButton *>(QStringLiteral("register"))->click();
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("REGISTER"));

    Page page(dialog.registerView());
    sendCodeFor(page, Fresh);
    page.fill(Fresh, QStringLiteral("1234"), QStringLiteral("secret12"), QStringLiteral("secret12"));
    page.submit->click();

    const QJsonArray sent = mService.requestsTo(RegisterPath);
    QCOMPARE(sent.size(), 1);
    const QUrlQuery body(sent.at(0).toObject().value(QStringLiteral("body")).toString());
    QCOMPARE(body.queryItemValue(QStringLiteral("password")), QStringLiteral("secret12")); // as typed
    QCOMPARE(body.queryItemValue(QStringLiteral("yzm")), QStringLiteral("1234"));
    QCOMPARE(body.queryItemValue(QStringLiteral("user_name"), QUrl::FullyDecoded), Fresh);

    QCOMPARE(Toast::instance()->text(), QStringLiteral("Registered account is successful!"));
    QCOMPARE(dialog.pager()->currentPageId(), QStringLiteral("LOGIN"));
    for (QLineEdit *edit : {page.email, page.code, page.password, page.confirm})
        QVERIFY(edit->text().isEmpty());
    auto *account = dialog.loginView()->findChild<QLineEdit *>(QStringLiteral("account"));
    QVERIFY(account->text().isEmpty());

    QTest::keyClicks(account, Fresh);
    QTest::keyClicks(dialog.loginView()->findChild<QLineEdit *>(QStringLiteral("password")),
                     QStringLiteral("secret12"));
    dialog.loginView()->findChild<QPushButton *>(QStringLiteral("login"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.token().isEmpty());
    QVERIFY(dialog.userId() != 0);
}

void TestRegister::termsOpenFromALocalCopy()
{
    auto view = makeView();
    auto *terms = view->findChild<QLabel *>(QStringLiteral("terms"));
    QVERIFY(terms->text().contains(QStringLiteral("/registration-agreement.html")));
    QVERIFY(terms->text().contains(QStringLiteral("Kestavo&#x27;s Conditions")) || terms->text().contains(QStringLiteral("Kestavo's Conditions")));

    const QString copy = RegisterView::termsCopyPath();
    QFile::remove(copy);
    view->openURL(mService.webUrl().toString() + QStringLiteral("registration-agreement.html"));
    QCOMPARE(mUrls.urls.size(), 1);
    QCOMPARE(mUrls.urls.at(0), QUrl::fromLocalFile(copy));
    // Still there for the browser, which reads it later.
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile resource(QStringLiteral(":/files/Resources/files/Terms and conditions.htm"));
    QVERIFY(resource.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), resource.readAll());
    file.close();

    // A copy already there is used as it is.
    QVERIFY(TestEnv::writeFile(copy, "older copy"));
    view->openURL(QString());
    QCOMPARE(TestEnv::readFile(copy), QByteArray("older copy"));
    QVERIFY(QFile::remove(copy));
}

void TestRegister::termsWithoutACopy_data()
{
    QTest::addColumn<bool>("pdfShipped");
    QTest::newRow("the shipped PDF") << true;
    QTest::newRow("the web page") << false;
}

void TestRegister::termsWithoutACopy()
{
    QFETCH(bool, pdfShipped);
    // A folder where the copy belongs: the page cannot be copied there.
    const QString copy = RegisterView::termsCopyPath();
    QFile::remove(copy);
    QVERIFY(QDir().mkpath(copy));
    const QString pdf = AppPaths::installFile(QStringLiteral("/Terms and conditions.pdf"));
    if (pdfShipped)
        QVERIFY(TestEnv::writeFile(pdf, "%PDF-1.4"));

    auto view = makeView();
    const QString link = mService.webUrl().toString() + QStringLiteral("registration-agreement.html");
    view->openURL(link);
    // Cleared first, so a failure here leaves no folder for the later tests.
    QVERIFY(QDir(copy).removeRecursively());
    QFile::remove(pdf);
    QCOMPARE(mUrls.urls.size(), 1);
    QCOMPARE(mUrls.urls.at(0), pdfShipped ? QUrl::fromLocalFile(pdf) : QUrl(link));
}

void TestRegister::termsCopyGoneWhenTheProgramEnds()
{
    if (qEnvironmentVariableIsSet(ChildDataDir))
        QSKIP("the parent's half");
    const QString copy = RegisterView::termsCopyPath();
    QFile::remove(copy);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(ChildDataDir), QFileInfo(copy).absolutePath());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("termsCopyChild")});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QVERIFY(!QFile::exists(copy));
}

void TestRegister::termsCopyChild()
{
    if (!qEnvironmentVariableIsSet(ChildDataDir))
        QSKIP("runs in a child process of termsCopyGoneWhenTheProgramEnds");
    RegisterView view;
    view.openURL(QString());
    QCOMPARE(mUrls.urls.size(), 1);
    QVERIFY(QFile::exists(RegisterView::termsCopyPath()));
}

QTEST_MAIN(TestRegister)
#include "tst_register.moc"
