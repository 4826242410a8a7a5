#include "FXGlobalInfo.h"
#include "Toast.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QtTest>

namespace {
int visibleToasts()
{
    int count = 0;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *widget : tops) {
        if (qobject_cast<Toast *>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

// Opacity samples taken every few milliseconds until the toast has closed.
QList<qreal> followToast(Toast *toast)
{
    QList<qreal> samples;
    QElapsedTimer guard;
    guard.start();
    while (toast->isVisible() && guard.elapsed() < 10000) {
        samples.append(toast->windowOpacity());
        QTest::qWait(3);
    }
    samples.append(toast->windowOpacity());
    return samples;
}
}

class TestToast : public QObject
{
    Q_OBJECT
private slots:
    void fadesInHoldsAndFadesOut();
    void secondMessageReusesTheWindow();
    void onlyTheLabelIsShown();
    void labelWrapsOnlyWhatDoesNotFit_data();
    void labelWrapsOnlyWhatDoesNotFit();
    void messageDuringFadeOutStays();
    void centredOverMainWindow();
    void rebuiltAfterItsParentIsGone();
    void replacesTheOtherCopysToast();
};

void TestToast::fadesInHoldsAndFadesOut()
{
    QWidget owner;
    Toast *toast = Toast::instance(&owner);
    toast->setFadeDuration(60);
    toast->setMessageVDuration(QStringLiteral("U Disk Inserted!"), 250);
    QCOMPARE(toast->text(), QStringLiteral("U Disk Inserted!"));
    QCOMPARE(toast->displayTime(), 250);
    QVERIFY(toast->isVisible());

    const QList<qreal> samples = followToast(toast);
    QVERIFY(!toast->isVisible());
    QCOMPARE(samples.last(), 0.0);

    // Rises to the peak, stays there, then only falls.
    const int peak = samples.indexOf(Toast::PeakOpacity);
    QVERIFY2(peak > 0, "never reached full opacity");
    QVERIFY(samples.count(Toast::PeakOpacity) > 1);
    for (int i = 1; i < samples.size(); ++i) {
        QVERIFY(samples.at(i) <= Toast::PeakOpacity + 1e-9);
        if (i <= peak)
            QVERIFY(samples.at(i) >= samples.at(i - 1));
        else
            QVERIFY(samples.at(i) <= samples.at(i - 1));
    }
}

void TestToast::secondMessageReusesTheWindow()
{
    QWidget owner;
    Toast *first = Toast::instance(&owner);
    first->setFadeDuration(30);
    first->setMessageVDuration(QStringLiteral("first"), 10000);
    Toast *second = Toast::instance(&owner);
    QCOMPARE(second, first);
    second->setMessageVDuration(QStringLiteral("second"), 80);
    QCOMPARE(visibleToasts(), 1);
    QCOMPARE(second->text(), QStringLiteral("second"));
    QCOMPARE(second->displayTime(), 80);
    // The short second display time governs, not the first one's.
    QTRY_VERIFY_WITH_TIMEOUT(!second->isVisible(), 5000);
}

void TestToast::onlyTheLabelIsShown()
{
    // Without a compositor the transparent part of the window would show black.
    QWidget owner;
    Toast *toast = Toast::instance(&owner);
    toast->setMessageVDuration(QStringLiteral("short"), 60000);
    auto *label = toast->findChild<QLabel *>(QStringLiteral("message"));
    QVERIFY(label);
    QTRY_COMPARE(toast->mask(), QRegion(label->geometry()));
    const QRect small = label->geometry();
    toast->setMessageVDuration(QStringLiteral("a much longer message that needs far more room than before"), 60000);
    QTRY_VERIFY(label->geometry().width() > small.width());
    QTRY_COMPARE(toast->mask(), QRegion(label->geometry()));
    QVERIFY(toast->mask().boundingRect().width() < toast->width());
    toast->hide();
}

void TestToast::labelWrapsOnlyWhatDoesNotFit_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("oneLine");
    QTest::newRow("short sentence") << QStringLiteral("User information obtained successfully")
                                    << true;
    QTest::newRow("longer than the window")
        << QStringLiteral("The vehicle software could not be written to the card because the "
                          "card is full or write-protected; free some space and try again.")
        << false;
}

void TestToast::labelWrapsOnlyWhatDoesNotFit()
{
    QFETCH(QString, message);
    QFETCH(bool, oneLine);

    QWidget owner;
    Toast *toast = Toast::instance(&owner);
    toast->setMessageVDuration(message, 60000);
    auto *label = toast->findChild<QLabel *>(QStringLiteral("message"));
    QVERIFY(label);
    const int lineSpacing = QFontMetrics(label->font()).lineSpacing();
    // Laid out once the label has taken the new text.
    QTRY_COMPARE(toast->mask(), QRegion(label->geometry()));
    QVERIFY(label->width() <= toast->width());
    if (oneLine) {
        QVERIFY2(label->height() < 2 * lineSpacing, "a short message was broken in two");
        QVERIFY(label->width() > QFontMetrics(label->font()).horizontalAdvance(message));
    } else {
        QTRY_VERIFY(label->height() >= 2 * lineSpacing);
        // Wrapped across the toast's width, not into a narrow column.
        QVERIFY(label->width() > toast->width() * 3 / 4);
    }
    toast->hide();
}

void TestToast::messageDuringFadeOutStays()
{
    QWidget owner;
    Toast *toast = Toast::instance(&owner);
    toast->setFadeDuration(150);
    toast->setMessageVDuration(QStringLiteral("going"), 200);
    // Wait until the fade-out is under way, then bring a new message.
    QTRY_COMPARE(toast->windowOpacity(), Toast::PeakOpacity);
    QTRY_VERIFY(toast->windowOpacity() < Toast::PeakOpacity);
    QVERIFY(toast->isVisible());
    toast->setMessageVDuration(QStringLiteral("staying"), 60000);
    QTRY_COMPARE(toast->windowOpacity(), Toast::PeakOpacity);
    // The old fade-out's end must not close the new message.
    QTest::qWait(400);
    QVERIFY(toast->isVisible());
    QCOMPARE(toast->text(), QStringLiteral("staying"));
    toast->close();
}

void TestToast::centredOverMainWindow()
{
    QMainWindow main;
    main.setWindowFlags(Qt::FramelessWindowHint);
    main.setFixedSize(1200, 800);
    main.move(100, 50);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    Toast *toast = Toast::instance(&main);
    toast->setFadeDuration(10);
    toast->setMessageVDuration(QStringLiteral("centred"), 60000);
    QCOMPARE(toast->size(), QSize(700, 300));
    // x = 100 + (1200 - 700) / 2, y = 50 + (800 - 300) * 0.618 truncated.
    QCOMPARE(toast->pos(), QPoint(350, 359));
    toast->close();
}

void TestToast::rebuiltAfterItsParentIsGone()
{
    {
        QWidget loginDialog;
        Toast::instance(&loginDialog)->setMessageVDuration(QStringLiteral("on login"), 60000);
    }
    // The toast died with its parent; the next caller gets a working one.
    Toast *toast = Toast::instance();
    QVERIFY(toast);
    toast->setFadeDuration(10);
    toast->setMessageVDuration(QStringLiteral("after login"), 40);
    QCOMPARE(toast->text(), QStringLiteral("after login"));
    QTRY_VERIFY(!toast->isVisible());
    delete toast;
}

// The plug-in's copy of the class is a different type at run time; all it
// shares with this one is the window's name.
void TestToast::replacesTheOtherCopysToast()
{
    QWidget pluginToast;
    pluginToast.setObjectName(QStringLiteral("Toast"));
    pluginToast.show();
    QWidget unrelated;
    unrelated.show();

    Toast *toast = Toast::instance();
    toast->setMessageVDuration(QStringLiteral("U Disk Inserted!"), 60000);
    QVERIFY(toast->isVisible());
    QVERIFY(!pluginToast.isVisible());
    QVERIFY(unrelated.isVisible());
    toast->hide();
}

QTEST_MAIN(TestToast)
#include "tst_toast.moc"
