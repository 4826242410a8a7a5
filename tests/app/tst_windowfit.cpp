// The main window and the sign-in window on scaled screens: each on an X
// server of its own size and density (144 dpi is a desktop at 150 %), with
// the program's scaling as it starts. A window larger than the screen's available area
// shrinks to it, its content scrolls, and its title bar (with the close
// button) stays on screen.
#include "Application.h"
#include "FakePlatform.h"
#include "LoginDialog.h"
#include "MainWindow.h"
#include "TestEnv.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {
const char *const ChildMode = "OSTREL_WINDOWFIT_CHILD";

QJsonObject rectObject(const QRect &r)
{
    return {{QStringLiteral("x"), r.x()},
            {QStringLiteral("y"), r.y()},
            {QStringLiteral("w"), r.width()},
            {QStringLiteral("h"), r.height()}};
}

QRect rectOf(const QJsonValue &value)
{
    const QJsonObject o = value.toObject();
    return QRect(o.value(QStringLiteral("x")).toInt(), o.value(QStringLiteral("y")).toInt(),
                 o.value(QStringLiteral("w")).toInt(), o.value(QStringLiteral("h")).toInt());
}

QRect globalRect(const QWidget *w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// In the child: both windows shown on the screen it was started on, and
// where they landed, as one line of JSON.
int measure(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QUICK_BACKEND", "software");
    Application::setUpScaling();
    QApplication app(argc, argv);
    TestEnv env;
    FakePlatform platform;
    QJsonObject out{{QStringLiteral("available"), rectObject(QGuiApplication::primaryScreen()->availableGeometry())}};
    {
        LoginDialog login;
        login.show();
        if (!QTest::qWaitForWindowExposed(&login))
            return 2;
        out.insert(QStringLiteral("login"), rectObject(login.frameGeometry()));
    }
    MainWindow window(QStringLiteral("token"), 1);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    QTest::qWait(200); // the window manager's (or the server's) last word
    out.insert(QStringLiteral("window"), rectObject(window.frameGeometry()));
    out.insert(QStringLiteral("close"),
               rectObject(globalRect(window.findChild<QPushButton *>(QStringLiteral("close")))));
    out.insert(QStringLiteral("scrolls"), window.body()->verticalScrollBar()->maximum() > 0
                                              || window.body()->horizontalScrollBar()->maximum() > 0);
    out.insert(QStringLiteral("across"), window.body()->horizontalScrollBar()->maximum() > 0);
    // With the body scrolled to its far corner, the lowest control of the
    // navigation, given the keyboard, scrolls back into view.
    QWidget *lowest = nullptr;
    for (QWidget *w : window.body()->widget()->findChildren<QWidget *>()) {
        const int bottom = w->mapTo(window.body()->widget(), QPoint(0, w->height())).y();
        if (w->focusPolicy() != Qt::NoFocus && w->isVisible()
            && (!lowest || bottom > lowest->mapTo(window.body()->widget(), QPoint(0, lowest->height())).y()))
            lowest = w;
    }
    if (!lowest)
        return 3;
    window.body()->horizontalScrollBar()->setValue(window.body()->horizontalScrollBar()->maximum());
    window.body()->verticalScrollBar()->setValue(window.body()->verticalScrollBar()->maximum());
    lowest->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QWidget *viewport = window.body()->viewport();
    out.insert(QStringLiteral("focusShown"),
               viewport->rect().contains(QRect(lowest->mapTo(viewport, QPoint(0, 0)), lowest->size())));
    QTextStream(stdout) << QJsonDocument(out).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}
} // namespace

class TestWindowFit : public QObject
{
    Q_OBJECT

    // Runs this executable as the measuring child on an X server of
    // `screen` at `dpi`.
    QJsonObject measureOn(const QSize &screen, int dpi)
    {
        QProcess server;
        server.setProgram(QStringLiteral("Xvfb"));
        server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                             QStringLiteral("-dpi"), QString::number(dpi), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp")});
        server.start();
        if (!server.waitForReadyRead(20000))
            return {};
        const QByteArray display = server.readLine().trimmed();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(ChildMode), QStringLiteral("1"));
        environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
        environment.remove(QStringLiteral("QT_AUTO_SCREEN_SCALE_FACTOR"));
        environment.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
        // The child only measures: a sanitized build's leak report (one
        // small allocation at start that no library symbol names) must not
        // hide its answer.
        const QString leaks = environment.value(QStringLiteral("LSAN_OPTIONS"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           leaks + (leaks.isEmpty() ? QString() : QStringLiteral(":")) + QStringLiteral("exitcode=0"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        const bool ended = child.waitForFinished(60000);
        server.terminate();
        server.waitForFinished(5000);
        if (!ended || child.exitCode() != 0) {
            qWarning("%s", child.readAllStandardError().constData());
            return {};
        }
        const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        return QJsonDocument::fromJson(lines.last()).object();
    }

private slots:
    void fitsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("shrinks");
        // Only a window too narrow scrolls across: one only too low is
        // widened by its scroll bar.
        QTest::addColumn<bool>("across");
        QTest::newRow("1920x1080 at 1") << QSize(1920, 1080) << 96 << false << false;
        QTest::newRow("1920x1080 at 1.5") << QSize(1920, 1080) << 144 << true << false;
        QTest::newRow("1920x1080 at 2") << QSize(1920, 1080) << 192 << true << true;
        QTest::newRow("1366x768 at 1.25") << QSize(1366, 768) << 120 << true << true;
    }
    void fitsTheScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(int, dpi);
        QFETCH(bool, shrinks);
        QFETCH(bool, across);
        const QJsonObject seen = measureOn(screen, dpi);
        QVERIFY2(!seen.isEmpty(), "the window was not measured");
        const QRect available = rectOf(seen.value(QStringLiteral("available")));
        // The logical screen is the physical one over the desktop's scale,
        // as it is: 1.5 stays 1.5 (not 2), 1.25 stays 1.25 (not 1). The
        // server rounds the screen's size in millimetres a little.
        const double expected = screen.width() * 96.0 / dpi;
        QVERIFY2(qAbs(available.width() - expected) < expected / 100, qPrintable(QString::number(available.width())));
        const QRect window = rectOf(seen.value(QStringLiteral("window")));
        QVERIFY2(available.contains(window), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                            .arg(window.x())
                                                            .arg(window.y())
                                                            .arg(window.width())
                                                            .arg(window.height())));
        QVERIFY(available.contains(rectOf(seen.value(QStringLiteral("close")))));
        QCOMPARE(window.height(), qMin(800, available.height()));
        QCOMPARE(window.width() >= qMin(1200, available.width()), true);
        QCOMPARE(seen.value(QStringLiteral("scrolls")).toBool(), shrinks);
        QCOMPARE(seen.value(QStringLiteral("across")).toBool(), across);
        QVERIFY(seen.value(QStringLiteral("focusShown")).toBool());
        QVERIFY(available.contains(rectOf(seen.value(QStringLiteral("login")))));
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(ChildMode))
        return measure(argc, argv);
    QCoreApplication app(argc, argv);
    TestWindowFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowfit.moc"
