#pragma once

#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QWebEngineView;

// The maker's complaint form in a web view, opened as the signed-in user.
class ComplaintView : public QWidget
{
    Q_OBJECT
public:
    static const char *const PageId; // "COMPLAINT"

    ComplaintView(QWidget *parent, const QSize &pageSize);

    // The form's address on the deployment's web host, signed in as that user.
    static QUrl formUrl(const QString &token, int userId);

    QString token() const { return mToken; }
    int userId() const { return mUserId; }
    QWebEngineView *webView() const { return mWebView; }

public slots:
    void OnUpdateView(QString viewId, QString token, int userId);

private:
    QLabel *mTitle = nullptr;
    QWebEngineView *mWebView = nullptr;
    QString mToken;
    int mUserId = 0;
};
