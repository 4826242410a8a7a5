#include "ComplaintView.h"

#include "DeploymentSettings.h"
#include "FXGlobalInfo.h"
#include "FXWidget.h"
#include "UserPagesLog.h"

#include <Sornet/NetworkSetup.h>

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

const char *const ComplaintView::PageId = "COMPLAINT";

ComplaintView::ComplaintView(QWidget *parent, const QSize &pageSize)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ComplaintView"));
    setFixedSize(pageSize);
    FXGlobalInfo *info = FXGlobalInfo::instance();
    const int bottomGap = info->size(FXGlobalInfo::spacer10).height();
    const int titleGap = info->size(FXGlobalInfo::spacer25).height();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const int lineHeight = qMax(1, info->size(FXGlobalInfo::spacer1).height());
    mTitle = new QLabel(QCoreApplication::translate("Complaint", "Complaint"), this);
    mTitle->setStyleSheet(QStringLiteral(
        "QLabel{background:transparent;font-size:22px;font-weight:bold;font-family:Helvetica;color:#000000;}"));
    // Title and line take the upper gap, so the view fills the rest exactly.
    mTitle->setFixedHeight(qMax(0, titleGap - lineHeight));
    layout->addWidget(mTitle);

    auto *line = new FXWidget(this);
    line->setFixedSize(pageSize.width(), lineHeight);
    line->setBackgroundColor(info->color(FXGlobalInfo::Sub_title));
    layout->addWidget(line);

    mWebView = new QWebEngineView(this);
    mWebView->setAccessibleName(QCoreApplication::translate("Complaint", "Complaint form"));
    // The form's address carries the sign-in token: an off-the-record
    // profile keeps its cache, cookies and history in memory only, so
    // nothing of it stays on disk after the program ends. Made after the
    // view, so that it goes after the view's page.
    auto *profile = new QWebEngineProfile(this);
    mWebView->setPage(new QWebEnginePage(profile, mWebView));
    mWebView->setFixedSize(pageSize.width(), pageSize.height() - titleGap - bottomGap);
    layout->addWidget(mWebView);
    layout->addSpacing(bottomGap);
    layout->addStretch(1);
}

QUrl ComplaintView::formUrl(const QString &token, int userId)
{
    // Passed as the tolerant parser takes it; the web site owns the format.
    const QString address = DeploymentSettings::webUrl().toString() + QStringLiteral("complain-add")
        + QStringLiteral("?token=") + token + QStringLiteral("&user_id=") + QString::number(userId);
    return QUrl(address, QUrl::TolerantMode);
}

void ComplaintView::OnUpdateView(QString viewId, QString token, int userId)
{
    if (viewId != QLatin1String(PageId))
        return;
    mToken = token;
    mUserId = userId;
    // Loaded anew on every visit, so the form always starts fresh.
    qCDebug(lcUserPages) << "complaint form for user " << userId;
    const QUrl url = formUrl(token, userId);
    if (!NetworkSetup::isAllowed(url)) {
        // The token would travel in clear.
        qCDebug(lcUserPages) << "complaint form refused, not https";
        mWebView->setHtml(QStringLiteral("<p>%1</p>")
                              .arg(QCoreApplication::translate(
                                       "Complaint", "The complaint form is not available: its address is not secure "
                                                    "(https).")
                                       .toHtmlEscaped()));
        return;
    }
    mWebView->load(url);
}
