#pragma once

#include "TranslationContext.h"

#include <QWidget>

class FXCheckBox;
class LoadingDialog;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

// The sign-in page of the login dialog: account and password, "Stay signed
// in" with the remembered sign-in, and the way to the registration page.
class LoginView : public QWidget
{
    Q_OBJECT
    OSTREL_TRANSLATION_CONTEXT(Login)
public:
    // How long the busy indicator may stay up during a sign-in.
    static constexpr int LoadingTimeout = 10000;
    static constexpr int ToastTime = 3000;

    explicit LoginView(QWidget *parent = nullptr);
    // Puts the cursor where the user types next: the account field, or the
    // password field when the account is already filled in.
    void focusFirstEmptyField();
    ~LoginView() override;

    QString accountValue() const { return mAccount; }
    QString passwordValue() const { return mPassword; }
    QString rememberedDigest() const { return mRememberedDigest; }

signals:
    void SignalClicked(const QString &id, const QString &arg, long userId);

public slots:
    void OnShowMinimized();
    void OnClose();
    void OnStaySigninChecked(bool checked);
    void OnForgetPasswordClicked();
    void OnSigninClicked();
    void OnRegisterClicked();
    void OnUsernameEditingFinished();
    void OnPasswordEditingFinished();
    void OnUsernameTextChanged(const QString &content);
    void OnPasswordTextChanged(const QString &content);
    void OnBtnGroupChecked(int id);
    void OnBtnGroupChangedChecked(int index, const QString &pageId);

protected:
    void keyPressEvent(QKeyEvent *event) override;

public:
    // The dialog is closing: a sign-in still waiting ends now, without a
    // second try or a message.
    void abortSignIn();

private:
    void buildUi();
    void readRememberFile();
    void writeRememberFile();
    bool signIn();

    QString mAccount;
    QString mPassword;
    QString mRememberedDigest;
    // A sign-in waits in a local event loop; clicks and keys that arrive
    // meanwhile must not start a second one.
    bool mSigningIn = false;
    // The page was closed while a sign-in waited: nothing more is tried.
    bool mClosing = false;
    // What the last exchange ended in: the HTTP status when no answer came
    // through, else the service's code.
    int mLastOutcome = 0;
    LoadingDialog *mLoading = nullptr;

    QLabel *mPicture = nullptr;
    QPushButton *mMinButton = nullptr;
    QPushButton *mCloseButton = nullptr;
    QLineEdit *mAccountEdit = nullptr;
    QLineEdit *mPasswordEdit = nullptr;
    FXCheckBox *mStaySignedIn = nullptr;
    QPushButton *mRetrieveButton = nullptr;
    QPushButton *mSigninButton = nullptr;
    QPushButton *mRegisterButton = nullptr;
    QButtonGroup *mButtonGroup = nullptr;
};
