#pragma once

#include <QApplication>
#include <QtTest>

// main() of a test that builds the main window: its complaint page holds a
// web view, which needs both settings before the application exists.
template <typename Test>
int runWebViewTest(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
