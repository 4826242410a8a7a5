#include "FXGlobalInfo.h"
#include "LoadingDialog.h"
#include "MessageBoxDialog.h"
#include "OpenMessageBox.h"
#include "Toast.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(QMessageBox::StandardButtons)

namespace {
// Runs `inspect` on the box once the modal loop shows it.
void whenBoxOpens(std::function<void(MessageBoxDialog *)> inspect)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        if (MessageBoxDialog *box = openMessageBox()) {
            poll->stop();
            poll->deleteLater();
            // A failed check returns early; never leave the modal loop waiting.
            QPointer<MessageBoxDialog> guard(box);
            inspect(box);
            QTimer::singleShot(0, [guard] {
                if (guard && guard->isVisible())
                    guard->done(QDialog::Rejected);
            });
        }
    });
    poll->start();
}
}

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void serviceWordsShownAsWritten();
    void messageBoxButtons_data();
    void messageBoxButtons();
    void messageBoxCoversMainWindow();
    void messageBoxOutlivedByItsParent();
    void loadingClosesItself();
    void loadingCoversMainWindowBelowTitleBar();
    void loadingWithoutMainWindow();
    void loadingReopenedIgnoresEarlierLimit();
    void loadingHoldsTheKeyboard_data();
    void loadingHoldsTheKeyboard();
};

void TestDialogs::messageBoxButtons_data()
{
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QString>("first");   // caption, empty when hidden
    QTest::addColumn<QString>("second");
    QTest::addColumn<QSize>("buttonSize");
    QTest::addColumn<QString>("press");   // "first", "second" or "escape"
    QTest::addColumn<int>("result");

    const QSize pair(215, 40);
    const QSize single(480, 40);
    QTest::newRow("ok+no, No") << (QMessageBox::Ok | QMessageBox::No) << "OK"
                               << "No" << pair << "second" << int(QMessageBox::No);
    QTest::newRow("ok+no, OK") << (QMessageBox::Ok | QMessageBox::No) << "OK"
                               << "No" << pair << "first" << int(QMessageBox::Ok);
    QTest::newRow("ok+cancel, Cancel") << (QMessageBox::Ok | QMessageBox::Cancel) << "OK"
                                       << "Cancel" << pair << "second"
                                       << int(QMessageBox::Cancel);
    QTest::newRow("ok alone") << QMessageBox::StandardButtons(QMessageBox::Ok) << "OK" << ""
                              << single << "first" << int(QMessageBox::Ok);
    QTest::newRow("yes+ok, Yes first") << (QMessageBox::Ok | QMessageBox::Yes) << "Yes"
                                       << "" << single << "first" << int(QMessageBox::Yes);
    QTest::newRow("cancel alone") << QMessageBox::StandardButtons(QMessageBox::Cancel) << ""
                                  << "Cancel" << single << "second"
                                  << int(QMessageBox::Cancel);
    // Backing out with Escape must not read as consent to the first button.
    QTest::newRow("ok+no, Escape") << (QMessageBox::Ok | QMessageBox::No) << "OK"
                                   << "No" << pair << "escape" << int(QMessageBox::No);
    QTest::newRow("ok alone, Escape") << QMessageBox::StandardButtons(QMessageBox::Ok) << "OK"
                                      << "" << single << "escape" << int(QMessageBox::Ok);
    QTest::newRow("none") << QMessageBox::StandardButtons(QMessageBox::NoButton) << ""
                          << "" << QSize() << "escape" << int(QMessageBox::Ok);
}

void TestDialogs::messageBoxButtons()
{
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QSize, buttonSize);
    QFETCH(QString, press);
    QFETCH(int, result);

    bool inspected = false;
    whenBoxOpens([&](MessageBoxDialog *box) {
        inspected = true;
        QCOMPARE(box->title(), QStringLiteral("Tips"));
        QCOMPARE(box->textLabel()->text(), QStringLiteral("Really?"));
        const QPair<QPushButton *, QString> expected[] = {{box->firstButton(), first},
                                                         {box->secondButton(), second}};
        for (const auto &pair : expected) {
            QCOMPARE(pair.first->isVisible(), !pair.second.isEmpty());
            QCOMPARE(pair.first->isEnabled(), !pair.second.isEmpty());
            if (!pair.second.isEmpty()) {
                QCOMPARE(pair.first->text(), pair.second);
                QCOMPARE(pair.first->size(), buttonSize);
            }
        }
        if (press == QLatin1String("first"))
            QTest::mouseClick(box->firstButton(), Qt::LeftButton);
        else if (press == QLatin1String("second"))
            QTest::mouseClick(box->secondButton(), Qt::LeftButton);
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    const QMessageBox::StandardButton answer = MessageBoxDialog::showMessageBox(
        nullptr, QStringLiteral("Tips"), QStringLiteral("Really?"), buttons);
    QVERIFY(inspected);
    QCOMPARE(int(answer), result);
    QTRY_VERIFY(!openMessageBox());
}

void TestDialogs::messageBoxCoversMainWindow()
{
    QMainWindow main;
    main.setWindowFlags(Qt::FramelessWindowHint);
    main.setFixedSize(FXGlobalInfo::instance()->windowSize());
    main.move(37, 61);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QRect boxGeometry;
    whenBoxOpens([&](MessageBoxDialog *box) {
        boxGeometry = box->geometry();
        QCOMPARE(box->panel()->width(), 500);
        QVERIFY(box->panel()->height() >= 300);
        // The panel sits in the middle of the dimmed layer.
        QCOMPARE(box->panel()->geometry().center().x(), box->rect().center().x());
        box->firstButton()->click();
    });
    MessageBoxDialog::showMessageBox(&main, QStringLiteral("Update"), QStringLiteral("Text"),
                                     QMessageBox::Ok);
    QCOMPARE(boxGeometry, main.geometry());
}

void TestDialogs::messageBoxOutlivedByItsParent()
{
    auto *page = new QWidget;
    page->show();
    whenBoxOpens([page](MessageBoxDialog *) { delete page; });
    const QMessageBox::StandardButton answer = MessageBoxDialog::showMessageBox(
        page, QStringLiteral("Tips"), QStringLiteral("Quit?"), QMessageBox::Ok | QMessageBox::No);
    QCOMPARE(answer, QMessageBox::No);
}

void TestDialogs::loadingClosesItself()
{
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    LoadingDialog *busy = LoadingDialog::showLoading(&owner, 50);
    QVERIFY(busy->isVisible());
    QTRY_VERIFY(!busy->isVisible());
}

void TestDialogs::loadingCoversMainWindowBelowTitleBar()
{
    QMainWindow main;
    main.resize(FXGlobalInfo::instance()->windowSize());
    main.show();
    QWidget page(&main);
    LoadingDialog *busy = LoadingDialog::showLoading(&page, 60000);
    QCOMPARE(busy->parentWidget(), &main);
    QCOMPARE(busy->size(), main.size());
    QCOMPARE(busy->pos(), QPoint(0, int(FXGlobalInfo::instance()->titleBarHeight())));
    QVERIFY(busy->isVisible());
    busy->close();
}

void TestDialogs::loadingWithoutMainWindow()
{
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    LoadingDialog *busy = LoadingDialog::showLoading(&owner, 60000);
    QCOMPARE(busy->parentWidget(), &owner);
    QCOMPARE(busy->size(), QSize(80, 80));
    busy->close();
}

void TestDialogs::loadingReopenedIgnoresEarlierLimit()
{
    QWidget owner;
    owner.show();
    LoadingDialog *busy = LoadingDialog::showLoading(&owner, 100);
    busy->close();
    busy->showAgain(60000);
    // Well past the first limit: only the second one counts.
    QTest::qWait(400);
    QVERIFY(busy->isVisible());
    QVERIFY(busy->isTimerActive());
    busy->showAgain(30);
    QTRY_VERIFY(!busy->isVisible());
}

void TestDialogs::loadingHoldsTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("tab") << int(Qt::Key_Tab);
    QTest::newRow("escape") << int(Qt::Key_Escape);
}

// While the work runs the page's focused button must not take a key press,
// nor may the keyboard walk on to another control or dismiss the indicator.
void TestDialogs::loadingHoldsTheKeyboard()
{
    QFETCH(int, key);

    QMainWindow main;
    auto *page = new QWidget;
    auto *signIn = new QPushButton(QStringLiteral("Sign in"), page);
    auto *other = new QPushButton(QStringLiteral("Register"), page);
    other->move(0, 60);
    main.setCentralWidget(page);
    main.resize(FXGlobalInfo::instance()->windowSize());
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    signIn->setFocus();
    QVERIFY(signIn->hasFocus());
    QSignalSpy clicked(signIn, &QPushButton::clicked);

    LoadingDialog *busy = LoadingDialog::showLoading(page, 60000);
    QVERIFY(!signIn->hasFocus());
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(busy->isVisible());
    QVERIFY(!signIn->hasFocus());
    QVERIFY(!other->hasFocus());

    // Done: the keyboard goes back to where it was.
    busy->onTimeout();
    QVERIFY(signIn->hasFocus());
    delete busy;
}

// A message from the service or a package name that looks like markup is
// shown as written, in the toast and in the message box.
void TestDialogs::serviceWordsShownAsWritten()
{
    const QString text = QStringLiteral("<font color=red size=6><u>EVIL");
    Toast *toast = Toast::instance();
    toast->setMessageVDuration(text, 1000);
    auto *message = toast->findChild<QLabel *>(QStringLiteral("message"));
    QCOMPARE(QAccessible::queryAccessibleInterface(message)->text(QAccessible::Name), text);

    QString shown;
    QTimer::singleShot(0, this, [&shown] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<MessageBoxDialog *>(w)) {
                shown = QAccessible::queryAccessibleInterface(box->findChild<QLabel *>(QStringLiteral("text")))
                            ->text(QAccessible::Name);
                box->reject();
            }
        }
    });
    MessageBoxDialog::showMessageBox(nullptr, QStringLiteral("Update"), text, QMessageBox::Ok);
    QCOMPARE(shown, text);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
