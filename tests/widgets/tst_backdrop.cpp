#include "DisplayBlending.h"
#include "FXGlobalInfo.h"
#include "MessageBoxDialog.h"

#include <QMainWindow>
#include <QtTest>

// Runs on a plain X display without a compositing manager, where a
// translucent window cannot show what lies beneath it.
class TestBackdrop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void boxShowsTheDimmedMainWindow();
    void boxWithoutMainWindowIsOnlyItsPanel();
};

void TestBackdrop::initTestCase()
{
    if (DisplayBlending::available())
        QSKIP("a compositing manager blends the dimmed layer itself");
}

void TestBackdrop::boxShowsTheDimmedMainWindow()
{
    QMainWindow main;
    main.setWindowFlags(Qt::FramelessWindowHint);
    main.setStyleSheet(QStringLiteral("QMainWindow{background:#FF0000;}"));
    main.setFixedSize(FXGlobalInfo::instance()->windowSize());
    main.move(20, 30);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    MessageBoxDialog box(&main);
    box.configure(QStringLiteral("Tips"), QStringLiteral("Over red"), QMessageBox::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(!box.backdrop().isNull());
    QVERIFY(box.mask().isEmpty());

    // Outside the panel: the window beneath, dimmed, not black.
    const QColor corner = box.grab().toImage().pixelColor(5, 5);
    QCOMPARE(corner.alpha(), 255);
    QVERIFY2(corner.red() > 150 && corner.red() < 200 && corner.green() < 30,
             qPrintable(corner.name()));
}

void TestBackdrop::boxWithoutMainWindowIsOnlyItsPanel()
{
    QWidget owner;
    owner.show();
    MessageBoxDialog box(&owner);
    box.configure(QStringLiteral("Tips"), QStringLiteral("Alone"), QMessageBox::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.backdrop().isNull());
    QCOMPARE(box.mask(), QRegion(box.panel()->geometry()));
}

QTEST_MAIN(TestBackdrop)
#include "tst_backdrop.moc"
