#include "LoginView.h"

#include "AppSettings.h"
#include "DeploymentSettings.h"
#include "FXCheckBox.h"
#include "FXGlobalInfo.h"
#include "LoadingDialog.h"
#include "PageControls.h"
#include "Pictures.h"
#include "Platform.h"
#include "RememberFile.h"
#include "SecretStore.h"
#include "SigninLog.h"

#include <Sornet/Code.h>
#include <Sornet/NetworkSetup.h>
#include <Sornet/UserAction.h>

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString trLogin(const char *text)
{
    return QCoreApplication::translate("Login", text);
}

} // namespace

LoginView::LoginView(QWidget *parent)
    : QWidget(parent)
{
    PageControls::setUpPage(this, QStringLiteral("LoginView"));

    buildUi();
    readRememberFile();

    // Only now: restoring the remember file must not pass through these.
    connect(mAccountEdit, &QLineEdit::textChanged, this, &LoginView::OnUsernameTextChanged);
    connect(mAccountEdit, &QLineEdit::editingFinished, this, &LoginView::OnUsernameEditingFinished);
    connect(mPasswordEdit, &QLineEdit::textChanged, this, &LoginView::OnPasswordTextChanged);
    connect(mPasswordEdit, &QLineEdit::editingFinished, this, &LoginView::OnPasswordEditingFinished);
}

LoginView::~LoginView()
{
    // Hiding a shown page on destruction takes the focus from its field,
    // which then finishes editing into a page that is half gone.
    const QList<QLineEdit *> fields = findChildren<QLineEdit *>();
    for (QLineEdit *field : fields)
        field->disconnect(this);
}

void LoginView::buildUi()
{
    FXGlobalInfo *info = FXGlobalInfo::instance();

    mPicture = new QLabel(this);
    mPicture->setObjectName(QStringLiteral("signInPicture"));
    mPicture->setPixmap(Pictures::load(PageControls::image("sign_in_bg.png")));
    mPicture->setFixedSize(info->signInWindowSize().height(), info->signInWindowSize().height());
    mPicture->setScaledContents(true);

    mMinButton = PageControls::titleButton(this, QStringLiteral("min"));
    mCloseButton = PageControls::titleButton(this, QStringLiteral("close"));
    PageControls::setPageShortcut(mMinButton, QKeySequence(Qt::Key_F3), true);
    PageControls::setPageShortcut(mCloseButton, QKeySequence(Qt::Key_Escape), true);

    const QSize editSize = info->size(FXGlobalInfo::Edit1);
    const QSize buttonSize = info->size(FXGlobalInfo::Button1);

    mAccountEdit = PageControls::field(this, QStringLiteral("account"), trLogin("Registered email or Kestavo ID"),
                                       editSize);
    mPasswordEdit = PageControls::field(this, QStringLiteral("password"), trLogin("Enter your Password"), editSize);
    mPasswordEdit->setMaxLength(16);
    mPasswordEdit->setEchoMode(QLineEdit::Password);

    mStaySignedIn = new FXCheckBox(QCoreApplication::translate("login", "Stay signed in"), this);
    mStaySignedIn->setObjectName(QStringLiteral("staySignedIn"));
    mStaySignedIn->setChecked(AppSettings::remember());

    mRetrieveButton = new QPushButton(trLogin("Retrieve Password"), this);
    mRetrieveButton->setObjectName(QStringLiteral("retrievePassword"));
    mRetrieveButton->setFlat(true);
    mRetrieveButton->setCursor(Qt::PointingHandCursor);

    mSigninButton = new QPushButton(trLogin("Sign in"), this);
    mSigninButton->setObjectName(QStringLiteral("login"));
    mRegisterButton = new QPushButton(trLogin("Register"), this);
    mRegisterButton->setObjectName(QStringLiteral("register"));
    mButtonGroup = PageControls::actionPair(this, mSigninButton, mRegisterButton, buttonSize);

    QHBoxLayout *titleRow = PageControls::titleRow(mMinButton, mCloseButton);

    auto *checkRow = new QHBoxLayout;
    checkRow->setContentsMargins(0, 0, 0, 0);
    checkRow->addWidget(mStaySignedIn);
    checkRow->addStretch();
    checkRow->addWidget(mRetrieveButton);
    // The check box's own padding would push it off the fields' left edge.
    mStaySignedIn->setStyleSheet(mStaySignedIn->styleSheet() + QStringLiteral("QCheckBox{padding-left:0px}"));

    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(info->size(FXGlobalInfo::spacer20).height());
    grid->addWidget(mAccountEdit, 0, 0);
    grid->addWidget(mPasswordEdit, 1, 0);
    grid->addLayout(checkRow, 2, 0);
    grid->addWidget(mSigninButton, 3, 0);
    grid->addWidget(mRegisterButton, 4, 0);

    auto *formRow = new QHBoxLayout;
    formRow->addStretch();
    formRow->addLayout(grid);
    formRow->addStretch();

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addLayout(titleRow);
    right->addStretch();
    right->addLayout(formRow);
    right->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mPicture);
    layout->addLayout(right, 1);

    setTabOrder(mAccountEdit, mPasswordEdit);
    setTabOrder(mPasswordEdit, mStaySignedIn);
    setTabOrder(mStaySignedIn, mRetrieveButton);
    setTabOrder(mRetrieveButton, mSigninButton);
    setTabOrder(mSigninButton, mRegisterButton);

    connect(mMinButton, &QPushButton::clicked, this, &LoginView::OnShowMinimized);
    connect(mCloseButton, &QPushButton::clicked, this, &LoginView::OnClose);
    connect(mAccountEdit, &QLineEdit::returnPressed, mSigninButton, &QPushButton::click);
    connect(mPasswordEdit, &QLineEdit::returnPressed, mSigninButton, &QPushButton::click);
    connect(mStaySignedIn, &QCheckBox::toggled, this, &LoginView::OnStaySigninChecked);
    connect(mRetrieveButton, &QPushButton::clicked, this, &LoginView::OnForgetPasswordClicked);
    connect(mSigninButton, &QPushButton::clicked, this, &LoginView::OnSigninClicked);
    connect(mRegisterButton, &QPushButton::clicked, this, &LoginView::OnRegisterClicked);
    connect(mButtonGroup, QOverload<int>::of(&QButtonGroup::buttonClicked), this, &LoginView::OnBtnGroupChecked);
}

void LoginView::readRememberFile()
{
    RememberFile::Content content;
    if (!RememberFile::read(AppSettings::rememberFile(), &content))
        return;
    // The file names only the account when the digest went to the
    // desktop's secret service.
    SecretStore *secrets = Platform::instance()->secretStore();
    if (content.password.isEmpty() && secrets->isAvailable())
        secrets->read(content.account, &content.password);
    mPassword = content.password;
    mPasswordEdit->setText(content.password); // the field keeps its first 16
    mRememberedDigest = content.password;
    mAccount = content.account;
    mAccountEdit->setText(content.account);
}

void LoginView::writeRememberFile()
{
    if (PageControls::hasPasswordLength(mPassword))
        mPassword = BaseAction::MD5(mPassword);
    // The digest signs in like the password: the desktop's secret service
    // keeps it where there is one, and the file only the account.
    SecretStore *secrets = Platform::instance()->secretStore();
    const bool kept = secrets->isAvailable() && secrets->write(mAccount, mPassword);
    RememberFile::write(AppSettings::rememberFile(), {kept ? QString() : mPassword, mAccount});
    // Hidden on the desktop the program came from; nothing to do here.
    AppSettings::setRemember(true);
}

void LoginView::OnShowMinimized()
{
    emit SignalClicked(QStringLiteral("MIN"), QString(), 0);
}

void LoginView::OnClose()
{
    emit SignalClicked(QStringLiteral("EXIT"), QString(), 0);
}

void LoginView::abortSignIn()
{
    if (!mSigningIn)
        return;
    mClosing = true;
    BaseAction::abortWaitingCalls();
}

void LoginView::OnStaySigninChecked(bool checked)
{
    // Ticking writes nothing yet: only a sign-in that worked is remembered.
    if (checked)
        return;
    RememberFile::Content content;
    SecretStore *secrets = Platform::instance()->secretStore();
    if (RememberFile::read(AppSettings::rememberFile(), &content) && content.password.isEmpty()
        && secrets->isAvailable())
        secrets->remove(content.account);
    QFile::remove(AppSettings::rememberFile());
    AppSettings::setRemember(false);
}

void LoginView::OnForgetPasswordClicked()
{
    QUrl url = NetworkSetup::secured(DeploymentSettings::forgetPasswordUrl());
    if (QDesktopServices::openUrl(url) || url.scheme() != QLatin1String("http"))
        return;
    url.setScheme(QStringLiteral("https"));
    QDesktopServices::openUrl(url);
}

void LoginView::OnSigninClicked()
{
    if (mSigningIn)
        return;
    if (mAccount.isEmpty()) {
        PageControls::showToast(this, trLogin("Please enter your email address or Kestavo ID"), ToastTime);
        return;
    }
    if (mPassword.isEmpty()) {
        PageControls::showToast(this, trLogin("Please enter your password"), ToastTime);
        return;
    }
    if (!mRememberedDigest.isEmpty())
        mPassword = mRememberedDigest;

    if (mLoading) {
        mLoading->showAgain(LoadingTimeout);
    } else {
        mLoading = LoadingDialog::showLoading(this, LoadingTimeout);
    }
    // Without a main window the indicator is a child of this page: it lies
    // over the form, so clicks meant for it wait until the answer is in,
    // and leaves the minimise and close buttons above it usable.
    if (!mLoading->isWindow()) {
        const int top = mMinButton->height();
        mLoading->setGeometry(0, top, width(), height() - top);
    }

    mSigningIn = true;
    bool ok = signIn();
    if (!ok && !mClosing) {
        mPassword = mPasswordEdit->text();
        ok = signIn();
        if (!ok && !mClosing) {
            // Only a refused account or password is the user's to fix; a
            // dead line or a disabled account says so instead.
            const bool credentials = mLastOutcome == Code::CODE_ERROR_USER_NOT_EXISTS
                || mLastOutcome == Code::CODE_ERROR_PASSWORD;
            Code code;
            QString text = code.getMessageByCode(mLastOutcome);
            if (text.isEmpty()) // an answer that could not be read at all
                text = code.getMessageByCode(Code::CODE_ERROR_LOGIN);
            PageControls::showToast(this, credentials ? trLogin("Incorrect account or password") : text,
                                    ToastTime);
        }
    }
    mSigningIn = false;
    if (mLoading)
        mLoading->close();
}

bool LoginView::signIn()
{
    UserAction action;
    LoginParam param;
    param.setUser_name(mAccount);
    param.setPassword(mPassword);
    LoginResponse response;
    const int status = action.login(response, param);
    Code code;
    mLastOutcome = status == 200 ? response.getCode() : status;
    if (status != 200) {
        qCDebug(lcSignin) << "message: " << code.getMessageByCode(status) << " Code: " << status;
        return false;
    }
    if (response.getCode() == Code::CODE_SUCCESS) {
        // What just worked is remembered (again, after an untick and a tick).
        if (mStaySignedIn->isChecked())
            writeRememberFile();
        const LoginData data = response.getData();
        AppSettings::setSignedInUser(data.getToken(), int(data.getUser_id()));
        emit SignalClicked(QStringLiteral("SIGNIN"), data.getToken(), data.getUser_id());
        return true;
    }
    if (response.getCode() == Code::CODE_ERROR_PASSWORD) {
        mRememberedDigest.clear();
        return false;
    }
    qCDebug(lcSignin) << "message: " << code.getMessageByCode(response.getCode()) << " Code: "
                      << response.getCode();
    return false;
}

void LoginView::OnRegisterClicked()
{
    emit SignalClicked(QStringLiteral("REGISTER"), QString(), 0);
}

void LoginView::OnUsernameEditingFinished()
{
    mAccount = mAccountEdit->text();
}

void LoginView::OnPasswordEditingFinished()
{
    mPassword = mPasswordEdit->text();
}

void LoginView::OnUsernameTextChanged(const QString &content)
{
    mAccount = content;
}

void LoginView::OnPasswordTextChanged(const QString &content)
{
    mPassword = content;
}

void LoginView::OnBtnGroupChecked(int id)
{
    if (id != 1 && id >= 0 && mButtonGroup->checkedButton())
        mButtonGroup->checkedButton()->setChecked(true);
}

void LoginView::OnBtnGroupChangedChecked(int index, const QString &pageId)
{
    const bool shown = pageId == QLatin1String("LOGIN");
    PageControls::setPageShortcut(mMinButton, QKeySequence(Qt::Key_F3), shown);
    PageControls::setPageShortcut(mCloseButton, QKeySequence(Qt::Key_Escape), shown);
    if (!shown)
        mSigninButton->setChecked(true);
    else if (index >= 0 && mButtonGroup->checkedButton())
        mButtonGroup->checkedButton()->setChecked(true);
}

void LoginView::keyPressEvent(QKeyEvent *event)
{
    // An empty field does not satisfy its validator and so never reports
    // Return; the key arrives here instead and gets the same click, which
    // tells the user what is missing.
    QWidget *focus = focusWidget();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (focus == mAccountEdit || focus == mPasswordEdit) && static_cast<QLineEdit *>(focus)->text().isEmpty()) {
        mSigninButton->click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Enter && (event->modifiers() & Qt::KeypadModifier)) {
        // A field passes Enter on after it has clicked "Sign in" itself;
        // only a key that no field took starts the exchange here.
        if (focus != mAccountEdit && focus != mPasswordEdit && !mSigningIn) {
            mSigningIn = true;
            signIn();
            mSigningIn = false;
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void LoginView::focusFirstEmptyField()
{
    if (mAccountEdit->text().isEmpty())
        mAccountEdit->setFocus(Qt::OtherFocusReason);
    else
        mPasswordEdit->setFocus(Qt::OtherFocusReason);
}
