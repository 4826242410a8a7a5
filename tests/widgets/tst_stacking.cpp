// A question box on a real X display stays over the window it belongs to
// when that window is brought to the front (as the main window does when a
// card comes or goes), and gives the keyboard back to it once answered:
// with no window manager, where nothing but the program does either, and
// under openbox.
#include "MessageBoxDialog.h"
#include "OpenMessageBox.h"
#include "WindowActivator.h"

#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
struct XcbDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T> using Reply = std::unique_ptr<T, XcbDeleter>;

class Display
{
public:
    Display() { mConnection = xcb_connect(nullptr, nullptr); }
    ~Display() { xcb_disconnect(mConnection); }
    bool ok() const { return !xcb_connection_has_error(mConnection); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data->root; }

    // The children of the root, bottom first, as the server stacks them.
    QVector<xcb_window_t> stack() const { return children(root()); }

    // The child of the root that holds `window` (its frame under a window manager).
    xcb_window_t topOf(xcb_window_t window) const
    {
        for (;;) {
            Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, window), nullptr));
            if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
                return window;
            window = tree->parent;
        }
    }

    bool windowManagerRunning() const
    {
        static const char name[] = "_NET_SUPPORTING_WM_CHECK";
        Reply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(mConnection, xcb_intern_atom(mConnection, 1, sizeof name - 1, name), nullptr));
        if (!atom || atom->atom == XCB_ATOM_NONE)
            return false;
        Reply<xcb_get_property_reply_t> value(xcb_get_property_reply(
            mConnection, xcb_get_property(mConnection, 0, root(), atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
        return value && xcb_get_property_value_length(value.get()) > 0;
    }

private:
    QVector<xcb_window_t> children(xcb_window_t window) const
    {
        QVector<xcb_window_t> result;
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, window), nullptr));
        if (!tree)
            return result;
        const xcb_window_t *list = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            result << list[i];
        return result;
    }

    xcb_connection_t *mConnection = nullptr;
};
} // namespace

class TestStacking : public QObject
{
    Q_OBJECT
private slots:
    void boxStaysOverItsWindow_data();
    void boxStaysOverItsWindow();
};

void TestStacking::boxStaysOverItsWindow_data()
{
    QTest::addColumn<bool>("windowManager");
    QTest::newRow("no window manager") << false;
    QTest::newRow("openbox") << true;
}

void TestStacking::boxStaysOverItsWindow()
{
    QFETCH(bool, windowManager);
    Display display;
    QVERIFY(display.ok());
    QProcess openbox;
    if (windowManager) {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (program.isEmpty())
            QSKIP("openbox is not installed (tools/debian-packages.txt lists it)");
        openbox.start(program, {QStringLiteral("--sm-disable")});
        QVERIFY(openbox.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(display.windowManagerRunning(), 10000);
    }

    QMainWindow main;
    main.setWindowFlags(Qt::FramelessWindowHint);
    main.resize(600, 400);
    // A window manager that has only just started may miss the first map
    // of a window (about one start in six): shown again, it is mapped.
    bool exposed = false;
    for (int attempt = 0; attempt < 4 && !exposed; ++attempt) {
        main.hide();
        main.show();
        exposed = QTest::qWaitForWindowExposed(&main, 5000);
    }
    QVERIFY(exposed);

    bool above = false;
    bool active = false;
    bool asked = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        MessageBoxDialog *box = openMessageBox();
        if (!box || !QTest::qWaitForWindowExposed(box) || asked)
            return;
        asked = true;
        QTest::qWait(200);
        WindowActivator::bringToFront(&main);
        // The server has stacked both windows once a round trip is through.
        QTest::qWait(500);
        const QVector<xcb_window_t> stack = display.stack();
        above = stack.indexOf(display.topOf(xcb_window_t(box->winId())))
                > stack.indexOf(display.topOf(xcb_window_t(main.winId())));
        active = QApplication::activeWindow() == box;
        box->firstButton()->click();
    });
    poll.start();
    MessageBoxDialog::showMessageBox(&main, QStringLiteral("Update"),
                                     QStringLiteral("No SD card was found. Please check and try again."),
                                     QMessageBox::Ok);
    poll.stop();
    QVERIFY(asked);
    QVERIFY2(above, "the box went behind its window");
    QVERIFY2(active, "the box lost the keyboard to the window it blocks");
    // Once answered, the keyboard is the window's again (its focused
    // button takes a key press), not nobody's.
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(&main));

    if (windowManager) {
        openbox.terminate();
        QVERIFY(openbox.waitForFinished(5000));
    }
}

QTEST_MAIN(TestStacking)
#include "tst_stacking.moc"
