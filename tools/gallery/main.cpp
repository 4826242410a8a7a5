#include "GalleryWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ostrel-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the controls of the widget kit."));
    parser.addHelpOption();
    const QCommandLineOption page(QStringLiteral("page"),
                                  QStringLiteral("Tab to show: controls, navigation, progress, "
                                                 "table, dialogs."),
                                  QStringLiteral("name"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Box to open: msg-okno, msg-ok, msg-yesok, "
                                                 "msg-cancel, msg-none, toast, loading."),
                                  QStringLiteral("name"));
    const QCommandLineOption shot(QStringLiteral("shot"),
                                  QStringLiteral("Save a screenshot to the file and quit."),
                                  QStringLiteral("file.png"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Milliseconds before the screenshot."),
                                   QStringLiteral("ms"), QStringLiteral("800"));
    parser.addOptions({page, open, shot, delay});
    parser.process(app);

    GalleryWindow window;
    window.move(0, 0);
    window.show();
    if (parser.isSet(page) && !window.selectPage(parser.value(page))) {
        std::fprintf(stderr, "unknown page\n");
        return 2;
    }
    if (parser.isSet(open) && !window.openPreview(parser.value(open))) {
        std::fprintf(stderr, "unknown preview\n");
        return 2;
    }
    if (parser.isSet(shot)) {
        const QString file = parser.value(shot);
        QTimer::singleShot(parser.value(delay).toInt(), &app, [&window, file] {
            // The whole screen shows the top-level boxes too; the offscreen
            // platform has no screen contents, so there the window is grabbed.
            QPixmap picture;
            if (QGuiApplication::platformName() != QLatin1String("offscreen"))
                picture = QGuiApplication::primaryScreen()->grabWindow(0);
            if (picture.isNull())
                picture = window.grab();
            const bool saved = picture.save(file);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
