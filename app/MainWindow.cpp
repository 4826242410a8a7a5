#include "MainWindow.h"

#include "AppLog.h"
#include "AppPaths.h"
#include "Autostart.h"
#include "ButtonBar.h"
#include "ComplaintView.h"
#include "DesktopIdentity.h"
#include "DesktopShortcut.h"
#include "ExitRequest.h"
#include "FXGlobalInfo.h"
#include "FXRadioButton.h"
#include "GlobalMutex.h"
#include "MissingPluginPage.h"
#include "Platform.h"
#include "PluginBinder.h"
#include "RemovableDisk.h"
#include "SettingView.h"
#include "SharedWindowRect.h"
#include "TitleBar.h"
#include "UninstallView.h"
#include "UserInfoView.h"
#include "WindowActivator.h"
#include "WindowFit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

QSize MainWindow::pageSize()
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    const QMargins client = info->margins(FXGlobalInfo::clientView);
    // The pages sit below the title bar and the spacer under it; a page as
    // high as everything below the title bar would lose its bottom (its
    // buttons included) below the window's edge.
    return QSize(info->windowSize().width() - info->size(FXGlobalInfo::Button_bar).width() - client.left()
                     - client.right(),
                 info->windowSize().height() - qRound(info->titleBarHeight())
                     - info->size(FXGlobalInfo::spacer15).height());
}

MainWindow::MainWindow(const QString &token, int userId, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindowClass"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    setWindowTitle(QString());
    setObjectName(QStringLiteral("OstrelMainWindow"));
    mToken = token;
    mUserId = userId;

    const FXGlobalInfo *info = FXGlobalInfo::instance();
    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    Platform *platform = Platform::instance();
    // An installed copy is started the way its menu launcher starts it,
    // through its link in bin/.
    const QString executable = DesktopIdentity::launcherExecutable();
    if (platform) {
        platform->autostart()->setEnabled(info->layoutMode() != 1, executable, Autostart::defaultFolder());
        platform->desktopShortcut()->ensure(executable, DesktopShortcut::defaultFolder());
    }
    setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 255)"));
    buildUi();
    // The designed size, or the screen's available area where that is
    // smaller (a laptop at 150 %): the body then scrolls.
    setFixedSize(WindowFit::place(info->windowSize(), mBody->verticalScrollBar()->sizeHint().width()).size());

    mRemovableDisk = new RemovableDisk(this);
    mRemovableDisk->hide();
    QCoreApplication::instance()->installNativeEventFilter(mRemovableDisk);
    connect(mRemovableDisk, &RemovableDisk::SignalRemoveDiskChanged, this, &MainWindow::OnSDChanged);
    mRemovableDisk->RefreshDisks();

    centre();
}

MainWindow::~MainWindow()
{
    GlobalMutex::close();
}

void MainWindow::buildUi()
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    setWindowIcon(QIcon(QStringLiteral(":/icon/Resources/ic_launcher.ico")));
    QWidget *central = centralWidget();

    mOuter = new QVBoxLayout(central);
    mOuter->setSpacing(0);
    mOuter->setContentsMargins(0, 0, 0, 0);
    mRow = new QHBoxLayout;
    mRow->setSpacing(0);
    mRow->setContentsMargins(0, 0, 0, 0);
    mColumn = new QVBoxLayout;
    mColumn->setSpacing(0);
    mColumn->setContentsMargins(info->margins(FXGlobalInfo::clientView));

    mTitleBar = new TitleBar(central);
    connect(mTitleBar, &TitleBar::SignalBtnClicked, this, &MainWindow::OnBtnClicked);

    // The designed window below the title bar, whole, in an area that
    // scrolls only when the window had to be made smaller than designed.
    mBody = new QScrollArea(central);
    mBody->setObjectName(QStringLiteral("body"));
    mBody->setFrameShape(QFrame::NoFrame);
    mBody->setWidgetResizable(false);
    mBody->setFocusPolicy(Qt::NoFocus); // Tab goes through it to what it holds
    auto *bodyPage = new QWidget;
    bodyPage->setObjectName(QStringLiteral("bodyPage"));
    bodyPage->setFixedSize(info->windowSize().width(), info->windowSize().height() - qRound(info->titleBarHeight()));
    auto *bodyLayout = new QVBoxLayout(bodyPage);
    bodyLayout->setSpacing(0);
    bodyLayout->setContentsMargins(0, 0, 0, 0);

    mButtonBar = new ButtonBar(bodyPage);
    connect(mButtonBar, &ButtonBar::SignalBtnClicked, this, &MainWindow::OnBtnClicked);

    mStack = new QStackedWidget(bodyPage);
    mStack->setObjectName(QStringLiteral("FunctionContainer"));
    mStack->setFixedSize(pageSize());

    QWidget *pluginPage = PluginBinder::createDownloadPage(AppPaths::installFile(QStringLiteral("plugins")));
    mHasPlugin = pluginPage != nullptr;
    mDownloadPage = pluginPage ? pluginPage : new MissingPluginPage;
    mDownloadPage->setParent(mStack);
    mDownloadPage->setFixedSize(pageSize());

    mComplaintView = new ComplaintView(mStack, pageSize());
    mComplaintView->setFixedSize(pageSize());
    mSettingView = new SettingView(mStack);
    mSettingView->setFixedSize(pageSize());
    mUninstallView = new UninstallView(mStack);
    mUninstallView->setFixedSize(pageSize());
    mUserInfoView = new UserInfoView(mStack);
    mUserInfoView->setFixedSize(pageSize());

    connect(this, &MainWindow::SignalBtnClicked, mComplaintView, &ComplaintView::OnUpdateView);
    connect(this, &MainWindow::SignalBtnClicked, mUserInfoView,
            [this](const QString &id, const QString &token, int userId) {
                mUserInfoView->OnUpdateView(id, token, userId);
            });
    connect(this, &MainWindow::SignalBtnClicked, mUninstallView,
            [this](const QString &id) { mUninstallView->OnUpdateView(id); });

    mStack->addWidget(mDownloadPage);
    mStack->addWidget(mComplaintView);
    mStack->addWidget(mUninstallView);
    mStack->addWidget(mSettingView);
    mStack->addWidget(mUserInfoView);

    mColumn->addWidget(mStack, 0, Qt::AlignTop | Qt::AlignHCenter);
    mRow->addWidget(mButtonBar);
    mRow->addLayout(mColumn);
    bodyLayout->addSpacing(info->size(FXGlobalInfo::spacer15).height());
    bodyLayout->addLayout(mRow, 1);
    bodyLayout->addStretch();
    mBody->setWidget(bodyPage);
    // Whatever takes the keyboard comes into view, by Tab from the title
    // bar or by a page that hands on its focus.
    connect(qApp, &QApplication::focusChanged, mBody, [this](QWidget *, QWidget *now) {
        if (now && mBody->widget()->isAncestorOf(now))
            mBody->ensureWidgetVisible(now, 8, 8); // room for the focus ring
    });
    mOuter->addWidget(mTitleBar, 0, Qt::AlignTop);
    mOuter->addWidget(mBody, 1);

    mButtonBar->selectById(QStringLiteral("DOWNLOAD"));
    // The keyboard starts where the window's pages are chosen, not on its
    // minimise button.
    mButtonBar->entry(QStringLiteral("DOWNLOAD"))->setFocus(Qt::OtherFocusReason);
}

void MainWindow::centre()
{
    // On the screen's available area, so no panel covers the title bar.
    const QRect placed = WindowFit::place(size());
    move(placed.topLeft());
    SharedWindowRect::set(QRect(placed.topLeft(), size()));
}

QWidget *MainWindow::pageFor(const QString &id) const
{
    if (id == QLatin1String("DOWNLOAD"))
        return mDownloadPage;
    if (id == QLatin1String("COMPLAINT"))
        return mComplaintView;
    if (id == QLatin1String("UNISTALL"))
        return mUninstallView;
    if (id == QLatin1String("SETTING"))
        return mSettingView;
    if (id == QLatin1String("USERINFO"))
        return mUserInfoView;
    return nullptr;
}

void MainWindow::OnBtnClicked(QString id, int)
{
    if (id == QLatin1String("MIN")) {
        showMinimized();
        return;
    }
    if (id == QLatin1String("EXIT")) {
        if (ExitRequest::mayExit(this, mUninstallView))
            QCoreApplication::exit(0);
        return;
    }
    if (QWidget *page = pageFor(id))
        mStack->setCurrentWidget(page);
    emit SignalBtnClicked(id, mToken, mUserId);
}

void MainWindow::append(const QString &message)
{
    qCDebug(lcApp) << "append: " << message;
    WindowActivator::bringToFront(this);
}

void MainWindow::OnSDChanged()
{
    qCDebug(lcApp) << "append: ";
    WindowActivator::bringToFront(this);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (FXGlobalInfo::instance()->windowFillsScreen())
        return;
    if (event->button() == Qt::LeftButton) {
        mPressed = true;
        mPressGlobal = event->globalPos();
        mPressTopLeft = frameGeometry().topLeft();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (FXGlobalInfo::instance()->windowFillsScreen())
        return;
    if (mPressed && (event->buttons() & Qt::LeftButton)) {
        const QPoint to = mPressTopLeft + (event->globalPos() - mPressGlobal);
        move(to);
        QRect shared = SharedWindowRect::get();
        shared.moveTopLeft(to);
        shared.setSize(size());
        SharedWindowRect::set(shared);
    }
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (FXGlobalInfo::instance()->windowFillsScreen())
        return;
    if (event->button() == Qt::LeftButton)
        mPressed = false;
}
