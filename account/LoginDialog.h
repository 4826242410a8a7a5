#pragma once

#include <QDialog>
#include <QPoint>

class FXViewPager;
class LoginView;
class RegisterView;
class QScrollArea;

// The frameless sign-in window the program runs before its main window:
// the login page and the registration page in a sliding pager. Accepted
// once a sign-in succeeded; token() and userId() then hold what it got.
class LoginDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LoginDialog(QWidget *parent = nullptr);

    QString token() const { return mToken; }
    long userId() const { return mUserId; }

    FXViewPager *pager() const { return mPager; }
    LoginView *loginView() const { return mLoginView; }
    RegisterView *registerView() const { return mRegisterView; }

signals:
    void SignLoginClicked(const QString &token, long userId);
    void SignalClicked(int index, const QString &id);

public slots:
    void OnButtonClickWithId(const QString &id, const QString &token, long userId);
    // However the dialog is closed, calls still waiting for the service end
    // at once: the program must not linger invisibly until they answer.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QScrollArea *wrapPage(QWidget *page, const QString &background);
    void focusCurrentPage();

    QScrollArea *mArea = nullptr; // scrolls where the screen is smaller than designed
    FXViewPager *mPager = nullptr;
    LoginView *mLoginView = nullptr;
    RegisterView *mRegisterView = nullptr;
    QString mToken;
    long mUserId = 0;
    bool mExitRequested = false;

    bool mDragging = false;
    QPoint mPressPos;
    QPoint mPressTopLeft;
};
