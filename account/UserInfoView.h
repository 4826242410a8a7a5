#pragma once

#include <QString>
#include <QWidget>

class FXViewPager;
class FXWidget;
class QLabel;
class QPushButton;
class UserInfoEditView;
class UserInfoNormalView;

// The "User Information" page: the profile read-only or as a form, and one
// button that switches to the form ("Edit") or saves it ("Confirm").
class UserInfoView : public QWidget
{
    Q_OBJECT
public:
    static const char *const PageId; // "USERINFO"

    enum State { NeverShown = -1, Opening = 0, Showing = 1, Editing = 2 };

    explicit UserInfoView(QWidget *parent = nullptr);

    int state() const { return mState; }
    QString token() const { return mToken; }
    long userId() const { return mUserId; }

    QPushButton *actionButton() const { return mButton; }
    FXViewPager *pager() const { return mPager; }
    UserInfoNormalView *normalView() const { return mNormal; }
    UserInfoEditView *editView() const { return mEdit; }

signals:
    void SignalBtnClicked(QString id, bool checked);
    void SignalClicked(QString viewId, QString token, long userId);

public slots:
    void OnUpdateView(QString viewId, QString token, long userId);
    void OnBtnEditOrSubmitClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showReadOnly();
    void handleAction();

    QString mToken;
    long mUserId = 0;
    int mState = NeverShown;
    bool mBusy = false;

    QLabel *mTitle = nullptr;
    QPushButton *mButton = nullptr;
    FXWidget *mTopLine = nullptr;
    FXWidget *mBottomLine = nullptr;
    FXViewPager *mPager = nullptr;
    UserInfoNormalView *mNormal = nullptr;
    UserInfoEditView *mEdit = nullptr;
};
