#include "Application.h"

#include "AppPaths.h"
#include "FXGlobalInfo.h"

#include <QApplication>
#include <QFile>
#include <QLabel>

int Application::run(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ostrel"));
    AppPaths::enterDataDir();

    QFile qss(QStringLiteral(":/qss/Resources/qss/style.qss"));
    if (qss.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(qss.readAll()));

    QLabel window(QStringLiteral("Ostrel"));
    window.setAlignment(Qt::AlignCenter);
    window.setFixedSize(FXGlobalInfo::instance()->windowSize());
    window.show();
    return app.exec();
}
