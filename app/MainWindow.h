#pragma once

#include <QMainWindow>
#include <QPoint>

class ButtonBar;
class ComplaintView;
class QHBoxLayout;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;
class RemovableDisk;
class SettingView;
class TitleBar;
class UninstallView;
class UserInfoView;

// The frameless, fixed-size window the user works in after signing in.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(const QString &token, int userId, QWidget *parent = nullptr);
    ~MainWindow() override;

    QString token() const { return mToken; }
    int userId() const { return mUserId; }
    ButtonBar *buttonBar() const { return mButtonBar; }
    TitleBar *titleBar() const { return mTitleBar; }
    QStackedWidget *pages() const { return mStack; }
    // Everything below the title bar: it scrolls when the screen is too
    // small for the designed window.
    QScrollArea *body() const { return mBody; }
    QWidget *downloadPage() const { return mDownloadPage; }
    UninstallView *uninstallPage() const { return mUninstallView; }
    QWidget *pageFor(const QString &id) const;
    // The page width and height every page of the stack gets.
    static QSize pageSize();

signals:
    void SignalBtnClicked(QString id, QString token, int userId);

public slots:
    void OnBtnClicked(QString id, int idx = 0);
    void append(const QString &message);
    void OnSDChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void buildUi();
    void centre();

    bool mPressed = false;
    QPoint mPressGlobal;
    QPoint mPressTopLeft;

    QVBoxLayout *mOuter = nullptr;
    QHBoxLayout *mRow = nullptr;
    QVBoxLayout *mColumn = nullptr;
    TitleBar *mTitleBar = nullptr;
    QScrollArea *mBody = nullptr;
    ButtonBar *mButtonBar = nullptr;
    QStackedWidget *mStack = nullptr;

    QWidget *mDownloadPage = nullptr;   // the plug-in's page, or the "not installed" page
    bool mHasPlugin = false;
    UninstallView *mUninstallView = nullptr;
    ComplaintView *mComplaintView = nullptr;
    SettingView *mSettingView = nullptr;
    UserInfoView *mUserInfoView = nullptr;
    RemovableDisk *mRemovableDisk = nullptr;

    QString mToken;
    int mUserId = -1;
};
