#pragma once

#include "TranslationContext.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

// The registration page of the login dialog: e-mail, e-mailed verification
// code and password twice; each field checked locally before the service
// is asked.
class RegisterView : public QWidget
{
    Q_OBJECT
    OSTREL_TRANSLATION_CONTEXT(Register)
public:
    static constexpr int CountdownStart = 60;
    static constexpr int CountdownInterval = 1000;
    static constexpr int ToastTime = 3000;
    static constexpr int SentToastTime = 5000;
    // The prefix of every message in an error label.
    static const char *const ErrorPrefix;

    explicit RegisterView(QWidget *parent = nullptr);
    ~RegisterView() override;

    int countdownTimerId() const { return mTimerId; }
    int countdown() const { return mCountdown; }
    // Where the terms page is copied before the browser is asked to show it.
    static QString termsCopyPath();
    // Puts the cursor into the e-mail field.
    void focusFirstField();

signals:
    void SignalClicked(const QString &id, const QString &name, long userId);
    // Declared for symmetry with the three-argument form; nothing connects them.
    void SignalClicked(const QString &id, const QString &name);
    void SignalClicked(const QString &id);

public slots:
    void OnShowMinimized();
    void OnClose();
    void OnSendVerificationClicked();
    void OnSubmitClicked();
    void OnCancelClicked();
    void OnUsernameTextChanged(const QString &content);
    void OnVerificationTextChanged(const QString &content);
    void OnPasswordTextChanged(const QString &content);
    void OnConfirmPasswordTextChanged(const QString &content);
    void OnUsernameEditingFinished();
    void OnVerificationEditingFinished();
    void OnPasswordEditingFinished();
    void OnConfirmPasswordEditingFinished();
    void OnBtnGroupChecked(int id);
    void openURL(const QString &url);
    void OnBtnGroupChangedChecked(int index, const QString &pageId);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    enum EmailCheck { ForSubmit, ForSendCode };

    void buildUi();
    QLabel *errorLabel(const QString &objectName, const char *initialText);
    void showError(QLabel *label, QLineEdit *field, const QString &text);
    void keepFocusIn(QLineEdit *field);
    bool checkEmail(EmailCheck flavour);
    bool isEmailTaken();
    bool validateForSubmit();
    void setSendCodeText();

    QString mEmail;
    QString mCode;
    QString mPassword;
    QString mConfirm;
    int mTimerId = -1;
    int mCountdown = CountdownStart;
    // Service calls wait in a local event loop; a click that arrives
    // meanwhile must not send a second code or register twice.
    bool mBusy = false;
    // Whether the dialog shows this page; a page on its own counts as shown.
    bool mOnShow = true;

    QPushButton *mMinButton = nullptr;
    QPushButton *mCloseButton = nullptr;
    QLineEdit *mEmailEdit = nullptr;
    QLineEdit *mCodeEdit = nullptr;
    QPushButton *mSendCodeButton = nullptr;
    QLineEdit *mPasswordEdit = nullptr;
    QLineEdit *mConfirmEdit = nullptr;
    QLabel *mEmailLabel = nullptr;
    QLabel *mCodeLabel = nullptr;
    QLabel *mPasswordLabel = nullptr;
    QLabel *mConfirmLabel = nullptr;
    QPushButton *mSubmitButton = nullptr;
    QPushButton *mCancelButton = nullptr;
    QButtonGroup *mButtonGroup = nullptr;
    QLabel *mTermsLabel = nullptr;
};
