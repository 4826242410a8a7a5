#pragma once

#include <QString>
#include <QWidget>

class FXTableView;
class UserInfoModel;

// The read-only profile table of the user-information page.
class UserInfoNormalView : public QWidget
{
    Q_OBJECT
public:
    static const char *const PageId; // "USERINFO_NORMAL"

    explicit UserInfoNormalView(QWidget *parent = nullptr);

    void setUser(const QString &token, long userId);
    QString token() const { return mToken; }
    long userId() const { return mUserId; }

    // Fetches the profile and shows it; on failure the table keeps what it
    // showed. True when the service delivered the profile.
    bool loadUserInfo();

    UserInfoModel *model() const { return mModel; }
    FXTableView *table() const { return mTable; }

signals:
    void SignalBtnClicked(QString id);

public slots:
    void OnUpdateView(QString viewId, QString token, long userId);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitColumns();

    QString mToken;
    long mUserId = 0;
    FXTableView *mTable = nullptr;
    UserInfoModel *mModel = nullptr;
};
