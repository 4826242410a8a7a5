#include "RegisterView.h"

#include "AppPaths.h"
#include "DeploymentSettings.h"
#include "FXGlobalInfo.h"
#include "PageControls.h"
#include "SigninLog.h"

#include <Sornet/Code.h>
#include <Sornet/NetworkSetup.h>
#include <Sornet/UserAction.h>

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QTimerEvent>
#include <QUrl>
#include <QVBoxLayout>

const char *const RegisterView::ErrorPrefix = "*| ";

namespace {

QString trRegister(const char *text)
{
    return QCoreApplication::translate("Register", text);
}

bool isEmailFormat(const QString &email)
{
    static const QRegularExpression format(QStringLiteral("^[\\w]+(\\.[\\w]+)*@[\\w]+(\\.[\\w]+)+$"));
    return format.match(email).hasMatch();
}

// Neither the service's text nor its code reaches the user on this page;
// both go to the log.
void logFailure(const char *call, int status, const BaseResponse &response)
{
    const int value = status != 200 ? status : response.getCode();
    qCDebug(lcSignin) << call << " message: " << Code().getMessageByCode(value) << " Code: " << value;
}

const char *const TermsResource = ":/files/Resources/files/Terms and conditions.htm";

// The browser reads the copy after openURL has returned, so it stays until
// the program ends.
void removeTermsCopy()
{
    QFile::remove(RegisterView::termsCopyPath());
}

} // namespace

RegisterView::RegisterView(QWidget *parent)
    : QWidget(parent)
{
    PageControls::setUpPage(this, QStringLiteral("RegisterView"));
    // The form stands on the dark picture: the focus ring is drawn light.
    setProperty("darkBackground", true);
    buildUi();
}

QString RegisterView::termsCopyPath()
{
    return AppPaths::dataFile(QStringLiteral("/Terms and conditions.htm"));
}

QLabel *RegisterView::errorLabel(const QString &objectName, const char *initialText)
{
    auto *label = new QLabel(QLatin1String(ErrorPrefix) + trRegister(initialText), this);
    label->setObjectName(objectName);
    // The service's messages land here: never markup.
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color:#FF8C8C;background:transparent;font-family:Helvetica;font-size:13px;"));
    label->setWordWrap(true);
    label->setFixedWidth(260);
    label->hide();
    // The grid keeps the label's room while it is hidden, so showing one
    // never shifts the fields.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    return label;
}

RegisterView::~RegisterView()
{
    // Hiding a shown page on destruction takes the focus from its field,
    // which then finishes editing into a page that is half gone.
    const QList<QLineEdit *> fields = findChildren<QLineEdit *>();
    for (QLineEdit *field : fields)
        field->disconnect(this);
}

void RegisterView::buildUi()
{
    FXGlobalInfo *info = FXGlobalInfo::instance();
    const QSize editSize = info->size(FXGlobalInfo::Edit2);
    const QSize buttonSize = info->size(FXGlobalInfo::Button1);

    mMinButton = PageControls::titleButton(this, QStringLiteral("min"));
    mCloseButton = PageControls::titleButton(this, QStringLiteral("close"));
    // The login page is on show first and owns Escape until a switch.
    PageControls::setPageShortcut(mCloseButton, QKeySequence(Qt::Key_Escape), false);

    mEmailEdit = PageControls::field(this, QStringLiteral("email"), trRegister("Email"), editSize);
    mCodeEdit = PageControls::field(this, QStringLiteral("verificationCode"), trRegister("Verification Code"),
                                    editSize);
    mCodeEdit->setMaxLength(4);
    mPasswordEdit = PageControls::field(this, QStringLiteral("password"), trRegister("Password"), editSize);
    mConfirmEdit = PageControls::field(this, QStringLiteral("confirmPassword"), trRegister("Confirm Password"),
                                       editSize);
    for (QLineEdit *edit : {mPasswordEdit, mConfirmEdit}) {
        edit->setMaxLength(16);
        edit->setEchoMode(QLineEdit::Password);
    }

    // "Send Code" sits inside the code field, at its right end. While it
    // counts down it shows seconds; its name stays.
    mSendCodeButton = new QPushButton(trRegister("Send Code"), mCodeEdit);
    mSendCodeButton->setObjectName(QStringLiteral("sendCode"));
    mSendCodeButton->setAccessibleName(mSendCodeButton->text());
    mSendCodeButton->setFixedSize(120, editSize.height() - 8);
    mSendCodeButton->setCursor(Qt::PointingHandCursor);
    mSendCodeButton->setStyleSheet(QStringLiteral("QPushButton{padding:0px;font-size:14px;}"));
    auto *codeRow = new QHBoxLayout(mCodeEdit);
    codeRow->setContentsMargins(0, 0, 4, 0);
    codeRow->addStretch();
    codeRow->addWidget(mSendCodeButton);
    mCodeEdit->setTextMargins(0, 0, mSendCodeButton->width() + 4, 0);

    mEmailLabel = errorLabel(QStringLiteral("emailError"), QT_TRANSLATE_NOOP("Register", "Email format error"));
    mCodeLabel = errorLabel(QStringLiteral("verificationCodeError"),
                            QT_TRANSLATE_NOOP("Register", "Verification Code format error"));
    mPasswordLabel =
        errorLabel(QStringLiteral("passwordError"), QT_TRANSLATE_NOOP("Register", "Password format error"));
    mConfirmLabel = errorLabel(QStringLiteral("confirmPasswordError"),
                               QT_TRANSLATE_NOOP("Register", "Confirm Password format error"));

    mSubmitButton = new QPushButton(trRegister("Free Registration"), this);
    mSubmitButton->setObjectName(QStringLiteral("submit"));
    mCancelButton = new QPushButton(trRegister("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("_cancel"));
    mButtonGroup = PageControls::actionPair(this, mSubmitButton, mCancelButton, buttonSize);

    const QUrl agreement = DeploymentSettings::registrationAgreementUrl();
    mTermsLabel = new QLabel(this);
    mTermsLabel->setObjectName(QStringLiteral("terms"));
    mTermsLabel->setTextFormat(Qt::RichText);
    mTermsLabel->setWordWrap(true);
    mTermsLabel->setOpenExternalLinks(false);
    // Tab reaches the link and Return opens it, as a click does.
    mTermsLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    mTermsLabel->setFocusPolicy(Qt::StrongFocus);
    mTermsLabel->setFixedSize(buttonSize.width(), 2 * buttonSize.height());
    mTermsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mTermsLabel->setStyleSheet(QStringLiteral("background:transparent;font-family:Helvetica;font-size:14px;"));
    mTermsLabel->setText(
        QStringLiteral("<span style=\"color:#FFFFFF;\">")
        + trRegister("By creating an account, you agree to").toHtmlEscaped() + QStringLiteral("</span><br/><a href=\"")
        + agreement.toString(QUrl::FullyEncoded).toHtmlEscaped()
        + QStringLiteral("\" style=\"color:#FF8C8C;text-decoration:underline;\">")
        + trRegister("Kestavo's Conditions of Use and Privacy Notice.").toHtmlEscaped() + QStringLiteral("</a>"));

    QHBoxLayout *titleRow = PageControls::titleRow(mMinButton, mCloseButton);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(info->size(FXGlobalInfo::spacer15).height());
    grid->setVerticalSpacing(info->size(FXGlobalInfo::spacer15).height());
    const QList<QPair<QLineEdit *, QLabel *>> rows = {
        {mEmailEdit, mEmailLabel}, {mCodeEdit, mCodeLabel}, {mPasswordEdit, mPasswordLabel},
        {mConfirmEdit, mConfirmLabel}};
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows.at(row).first, row, 0);
        grid->addWidget(rows.at(row).second, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    grid->addWidget(mSubmitButton, 4, 0);
    grid->addWidget(mCancelButton, 5, 0);
    grid->addWidget(mTermsLabel, 6, 0);

    // The form's field column stands centred on the page; the label column
    // hangs to its right.
    auto *formRow = new QHBoxLayout;
    formRow->addSpacing(width() / 2 - editSize.width() / 2);
    formRow->addLayout(grid);
    formRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(titleRow);
    layout->addStretch();
    layout->addLayout(formRow);
    layout->addStretch();

    setTabOrder(mEmailEdit, mCodeEdit);
    setTabOrder(mCodeEdit, mSendCodeButton);
    setTabOrder(mSendCodeButton, mPasswordEdit);
    setTabOrder(mPasswordEdit, mConfirmEdit);
    setTabOrder(mConfirmEdit, mSubmitButton);
    setTabOrder(mSubmitButton, mCancelButton);
    setTabOrder(mCancelButton, mTermsLabel);

    connect(mMinButton, &QPushButton::clicked, this, &RegisterView::OnShowMinimized);
    connect(mCloseButton, &QPushButton::clicked, this, &RegisterView::OnClose);
    connect(mEmailEdit, &QLineEdit::textChanged, this, &RegisterView::OnUsernameTextChanged);
    connect(mCodeEdit, &QLineEdit::textChanged, this, &RegisterView::OnVerificationTextChanged);
    connect(mCodeEdit, &QLineEdit::editingFinished, this, &RegisterView::OnVerificationEditingFinished);
    connect(mSendCodeButton, &QPushButton::clicked, this, &RegisterView::OnSendVerificationClicked);
    connect(mPasswordEdit, &QLineEdit::textChanged, this, &RegisterView::OnPasswordTextChanged);
    connect(mPasswordEdit, &QLineEdit::editingFinished, this, &RegisterView::OnPasswordEditingFinished);
    connect(mConfirmEdit, &QLineEdit::textChanged, this, &RegisterView::OnConfirmPasswordTextChanged);
    connect(mConfirmEdit, &QLineEdit::editingFinished, this, &RegisterView::OnConfirmPasswordEditingFinished);
    connect(mSubmitButton, &QPushButton::clicked, this, &RegisterView::OnSubmitClicked);
    connect(mCancelButton, &QPushButton::clicked, this, &RegisterView::OnCancelClicked);
    connect(mButtonGroup, QOverload<int>::of(&QButtonGroup::buttonClicked), this, &RegisterView::OnBtnGroupChecked);
    connect(mTermsLabel, &QLabel::linkActivated, this, &RegisterView::openURL);
}

void RegisterView::showError(QLabel *label, QLineEdit *field, const QString &text)
{
    label->setText(QLatin1String(ErrorPrefix) + text);
    label->show();
    keepFocusIn(field);
}

void RegisterView::keepFocusIn(QLineEdit *field)
{
    // A field left by switching to the sign-in page finishes its edit on
    // the way out; pulling the focus back would leave it in a page that is
    // no longer on show.
    if (mOnShow)
        field->setFocus(Qt::OtherFocusReason);
}

void RegisterView::focusFirstField()
{
    mEmailEdit->setFocus(Qt::OtherFocusReason);
}

bool RegisterView::isEmailTaken()
{
    UserAction action;
    CheckUserParam param;
    param.setUser_name(mEmail);
    CheckUserResponse response;
    const int status = action.checkUser(response, param);
    if (status != 200 || response.getCode() != Code::CODE_SUCCESS)
        logFailure("checkUser", status, response);
    return response.isData();
}

bool RegisterView::checkEmail(EmailCheck flavour)
{
    if (mEmail.isEmpty()) {
        showError(mEmailLabel, mEmailEdit, trRegister("Please enter your valid email address!"));
        return false;
    }
    if (!isEmailFormat(mEmail)) {
        showError(mEmailLabel, mEmailEdit,
                  flavour == ForSubmit ? trRegister("Something's wrong with your email address. Please try again!")
                                       : trRegister("Please enter your valid email address!"));
        return false;
    }
    if (isEmailTaken()) {
        const QString text = flavour == ForSubmit
            ? trRegister("An account already exists with the email address ")
            : trRegister("An account already exists with the email address");
        showError(mEmailLabel, mEmailEdit, text + mEmail + QLatin1Char('!'));
        return false;
    }
    return true;
}

void RegisterView::OnShowMinimized()
{
    emit SignalClicked(QStringLiteral("MIN"), QString(), 0);
}

void RegisterView::OnClose()
{
    emit SignalClicked(QStringLiteral("EXIT"), QString(), 0);
}

void RegisterView::OnSendVerificationClicked()
{
    if (mBusy)
        return;
    const QScopedValueRollback<bool> busy(mBusy, true);
    if (!checkEmail(ForSendCode))
        return;
    mSendCodeButton->setEnabled(false);

    UserAction action;
    CAPTCHAParam param;
    param.setEmail(mEmail);
    CAPTCHAResponse response;
    const int status = action.sendCAPTCHA(response, param);
    if (status == 200 && response.getCode() == Code::CODE_SUCCESS) {
        // A send during a running countdown (the address was edited) starts
        // it afresh instead of leaving a second timer behind.
        if (mTimerId >= 0)
            killTimer(mTimerId);
        mCountdown = CountdownStart;
        mTimerId = startTimer(CountdownInterval);
        PageControls::showToast(
            this, trRegister("We have sent the verification code to your email, please use it within 10 minutes!"),
            SentToastTime);
        return;
    }
    logFailure("sendCAPTCHA", status, response);
    PageControls::showToast(this, trRegister("Verification code is sent fail!"), ToastTime);
}

void RegisterView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != mTimerId || mTimerId < 0) {
        QWidget::timerEvent(event);
        return;
    }
    mSendCodeButton->setText(QStringLiteral("%1").arg(mCountdown));
    --mCountdown;
    if (mCountdown < 1) {
        killTimer(mTimerId);
        mTimerId = -1;
        mSendCodeButton->setEnabled(true);
        mSendCodeButton->setText(trRegister("Send Code"));
    }
}

bool RegisterView::validateForSubmit()
{
    if (!checkEmail(ForSubmit))
        return false;

    if (mCode.isEmpty()) {
        showError(mCodeLabel, mCodeEdit, trRegister("Verification code is empty!"));
        return false;
    }
    if (mCode.size() != 4) {
        showError(mCodeLabel, mCodeEdit, trRegister("Verification code error!"));
        return false;
    }

    mCode = mCodeEdit->text();
    if (mPassword.isEmpty()) {
        showError(mPasswordLabel, mPasswordEdit, trRegister("Password is empty!"));
        return false;
    }
    if (!PageControls::hasPasswordLength(mPassword)) {
        mPasswordLabel->setText(QLatin1String(ErrorPrefix)
                                + trRegister("Make sure it contains 6-16 characters or symbols!"));
        keepFocusIn(mPasswordEdit);
        return false;
    }

    mConfirm = mConfirmEdit->text();
    if (mConfirm.isEmpty()) {
        showError(mConfirmLabel, mConfirmEdit, trRegister("Passwords does not match!"));
        return false;
    }
    if (mConfirm != mPassword) {
        showError(mConfirmLabel, mConfirmEdit, trRegister("The password entered twice is different!"));
        return false;
    }
    return true;
}

void RegisterView::OnSubmitClicked()
{
    if (mBusy)
        return;
    const QScopedValueRollback<bool> busy(mBusy, true);
    if (!validateForSubmit())
        return;

    UserAction action;
    RegisterUserParam param;
    param.setUser_name(mEmail);
    param.setEmail(mEmail);
    param.setCAPTCHA(mCode);
    param.setPassword(mPassword);
    RegisterUserResponse response;
    const int status = action.registerUser(response, param);
    if (status == 200 && response.getCode() == Code::CODE_SUCCESS) {
        PageControls::showToast(this, trRegister("Registered account is successful!"), ToastTime);
        emit SignalClicked(QStringLiteral("LOGIN"), QString(), 0);
        mEmail.clear();
        mCode.clear();
        mPassword.clear();
        mConfirm.clear();
        for (QLineEdit *edit : {mEmailEdit, mCodeEdit, mPasswordEdit, mConfirmEdit})
            edit->clear();
        return;
    }
    logFailure("registerUser", status, response);
    PageControls::showToast(this, trRegister("Failed to create the account."), ToastTime);
}

void RegisterView::OnCancelClicked()
{
    emit SignalClicked(QStringLiteral("LOGIN"), QString(), 0);
}

void RegisterView::OnUsernameTextChanged(const QString &content)
{
    mEmail = content;
    if (mEmail.isEmpty())
        return;
    if (isEmailFormat(mEmail)) {
        mEmailLabel->hide();
        mSendCodeButton->setEnabled(true);
    } else {
        keepFocusIn(mEmailEdit);
    }
}

void RegisterView::OnVerificationTextChanged(const QString &content)
{
    mCode = content;
    if (!mEmail.isEmpty() && !isEmailFormat(mEmail))
        showError(mEmailLabel, mEmailEdit, trRegister("Please enter your valid email address!"));
    if (!mCode.isEmpty())
        mCodeLabel->hide();
}

void RegisterView::OnPasswordTextChanged(const QString &content)
{
    mPassword = content;
}

void RegisterView::OnConfirmPasswordTextChanged(const QString &content)
{
    mConfirm = content;
}

void RegisterView::OnUsernameEditingFinished()
{
    if (!checkEmail(ForSubmit))
        return;
    mEmailLabel->hide();
    mSendCodeButton->setEnabled(true);
}

void RegisterView::OnVerificationEditingFinished()
{
    if (mCode.isEmpty()) {
        showError(mCodeLabel, mCodeEdit, trRegister("Verification code is empty!"));
    } else if (mCode.size() != 4) {
        showError(mCodeLabel, mCodeEdit, trRegister("Verification code error!"));
    } else {
        mCodeLabel->hide();
    }
}

void RegisterView::OnPasswordEditingFinished()
{
    mPassword = mPasswordEdit->text();
    if (mPassword.isEmpty()) {
        showError(mPasswordLabel, mPasswordEdit, trRegister("Password is empty!"));
    } else if (PageControls::hasPasswordLength(mPassword)) {
        mPasswordLabel->hide();
    } else {
        mPasswordLabel->setText(QLatin1String(ErrorPrefix)
                                + trRegister("Make sure it contains 6-16 characters or symbols!"));
        keepFocusIn(mPasswordEdit);
    }
}

void RegisterView::OnConfirmPasswordEditingFinished()
{
    mConfirm = mConfirmEdit->text();
    if (mConfirm == mPassword)
        mConfirmLabel->hide();
    else
        showError(mConfirmLabel, mConfirmEdit, trRegister("The password entered twice is different!"));
}

void RegisterView::OnBtnGroupChecked(int id)
{
    if (id != 1 && mButtonGroup->checkedButton())
        mButtonGroup->checkedButton()->setChecked(true);
}

void RegisterView::openURL(const QString &url)
{
    const QString copy = termsCopyPath();
    if (!QFile::exists(copy)) {
        if (QFile::copy(QString::fromUtf8(TermsResource), copy))
            // The resource is read-only; its copy must be removable.
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    static bool cleanupRegistered = false;
    if (!cleanupRegistered) {
        qAddPostRoutine(removeTermsCopy);
        cleanupRegistered = true;
    }

    // The desktop accepts a file address whether or not the file is there,
    // and the browser would then show an error page: a copy that could not
    // be made, or a missing PDF, counts as refused.
    if (QFileInfo(copy).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(copy)))
        return;
    const QString pdf = AppPaths::installFile(QStringLiteral("/Terms and conditions.pdf"));
    if (QFileInfo(pdf).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(pdf)))
        return;
    QDesktopServices::openUrl(NetworkSetup::secured(QUrl(url)));
}

void RegisterView::OnBtnGroupChangedChecked(int index, const QString &pageId)
{
    Q_UNUSED(index)
    const bool shown = pageId == QLatin1String("REGISTER");
    mOnShow = shown;
    PageControls::setPageShortcut(mCloseButton, QKeySequence(Qt::Key_Escape), shown);
    if (!shown)
        mSubmitButton->setChecked(true);
    else if (mButtonGroup->checkedButton())
        mButtonGroup->checkedButton()->setChecked(true);
}
