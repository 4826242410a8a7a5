#include "Application.h"

#include "AppLog.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CrashHandler.h"
#include "DesktopIdentity.h"
#include "DetachedStart.h"
#include "FocusRing.h"
#include "InterfaceLanguage.h"
#include "LocalTimeZone.h"
#include "LoginDialog.h"
#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "Platform.h"
#include "ProcessSignals.h"
#include "SingleApplication.h"

#include <QFile>
#include <QFontDatabase>
#include <QTextCodec>

#include <memory>

namespace {
const char *const kWakeUp = "Wake up!";
const int kWakeUpTimeoutMs = 5000;

// The interface language chosen on the settings page, Qt's own dialogs and
// the formats of dates and numbers with it.
void installTranslations(QObject *owner)
{
    const QString language = AppSettings::interfaceLanguage();
    const QStringList files =
        InterfaceLanguage::install(QStringLiteral("ostrel"), language, owner, InterfaceLanguage::Scope::Program);
    qCDebug(lcApp) << "interfaceLanguage: " << language << files;
}
} // namespace

void Application::setUpScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

int Application::run(int argc, char *argv[])
{
    ProcessSignals::ignoreBrokenPipe();
    LocalTimeZone::pin();
    // Must precede the application object; the complaint page's web view
    // shares its GL context with the rest of the program.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    setUpScaling();
    SingleApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ostrel"));
    // Lets the desktop match the windows with the launcher and its icon.
    QGuiApplication::setDesktopFileName(DesktopIdentity::applicationId());
    if (app.lockFailed()) {
        // Without its lock nothing keeps a second copy off the same card.
        installTranslations(&app);
        MessageBoxDialog::showMessageBox(
            nullptr, QCoreApplication::translate("Application", "Ostrel"),
            QCoreApplication::translate("Application",
                                        "Ostrel cannot make sure that it runs only once, so it does not start. "
                                        "Check that your home folder can be written to."),
            QMessageBox::Ok);
        return 1;
    }
    if (app.isRunning()) {
        // A copy of another session (ssh, sudo) listens where this one
        // cannot reach: say why nothing comes up instead of ending unseen.
        if (!app.sendMessage(QString::fromLatin1(kWakeUp), kWakeUpTimeoutMs)) {
            installTranslations(&app);
            MessageBoxDialog::showMessageBox(
                nullptr, QCoreApplication::translate("Application", "Ostrel"),
                QCoreApplication::translate("Application",
                                            "Ostrel is already running for this user, perhaps in another session. "
                                            "Close it before you start Ostrel again."),
                QMessageBox::Ok);
        }
        return 0;
    }
    AppPaths::enterDataDir();

    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QFile qss(QStringLiteral(":/qss/Resources/qss/style.qss"));
    if (qss.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(qss.readAll()));

    installTranslations(&app);

    FocusRing::install();

    if (Platform *platform = Platform::instance())
        platform->crashHandler()->install(AppPaths::dataDir());

    const int fontId = QFontDatabase::addApplicationFont(QStringLiteral(":/font/Resources/font/Helvetica.ttf"));
    qCDebug(lcApp) << "fontId = " << fontId;
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    if (!families.isEmpty()) {
        qCDebug(lcApp) << "fontFamily = " << families.first();
        QApplication::setFont(QFont(families.first()));
    }

    auto login = std::make_unique<LoginDialog>();
    if (login->exec() != QDialog::Accepted)
        return 0;

    AppSettings::resetBusyFlags();

    auto window = std::make_unique<MainWindow>(login->token(), int(login->userId()));
    window->show();
    app.setActivationWindow(window.get());
    QObject::connect(&app, &SingleApplication::messageReceived, window.get(), &MainWindow::append);

    const int code = app.exec();
    window.reset();
    login.reset();
    if (code == RestartCode) {
        // Let the new copy take the instance lock instead of waking us.
        app.releaseInstance();
        DetachedStart::start(QCoreApplication::applicationFilePath(), QStringList());
        return 0;
    }
    return code;
}
