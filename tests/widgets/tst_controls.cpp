#include "FXCheckBox.h"
#include "FXGlobalInfo.h"
#include "FXHeader.h"
#include "FXProgressBar.h"
#include "FXRadioButton.h"
#include "FXTableView.h"
#include "FXTableViewDelegate.h"
#include "FXViewPager.h"
#include "FXWidget.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyProgressBar.h"
#include "QCircularProgressBar.h"

#include <QListView>
#include <QScroller>
#include <QStandardItemModel>
#include <QtTest>

namespace {
bool isRed(const QColor &c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

QPoint sectionCentre(QHeaderView *header, int section)
{
    return QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                  header->height() / 2);
}
}

class TestControls : public QObject
{
    Q_OBJECT
private slots:
    void fxWidgetFollowsEnabledState();
    void fxWidgetPictureFollowsSize();

    void radioButtonRelease_data();
    void radioButtonRelease();

    void pagerRefusesUnknownAndCurrent();
    void pagerSlides_data();
    void pagerSlides();
    void pagerFollowsResize();

    void circularClampsAndSpans_data();
    void circularClampsAndSpans();
    void circularPaintsItsSpan_data();
    void circularPaintsItsSpan();

    void headerToggles();
    void myHeaderReportsReleases();

    void tableViewPresets();
    void pluginVariants();
    void checkBoxesLookDisabled_data();
    void checkBoxesLookDisabled();
};

void TestControls::fxWidgetFollowsEnabledState()
{
    QWidget parent;
    FXWidget panel(&parent);
    panel.resize(40, 20);
    parent.show();
    const auto painted = [&panel] { return panel.grab().toImage().pixelColor(20, 10); };

    QCOMPARE(panel.state(), 1);
    QCOMPARE(painted(), QColor(225, 225, 225));

    // Disabling the parent disables the panel as well.
    parent.setEnabled(false);
    QCOMPARE(panel.state(), 4);
    QCOMPARE(painted(), QColor(204, 204, 204));

    panel.setBackgroundColor(QColor(0x36, 0x3C, 0x4B), 4);
    QCOMPARE(painted(), QColor(0x36, 0x3C, 0x4B));

    parent.setEnabled(true);
    QCOMPARE(panel.state(), 1);
    QCOMPARE(painted(), QColor(225, 225, 225));

    QCOMPARE(FXWidget::defaultBrush(2).color(), QColor(229, 241, 251));
    QCOMPARE(FXWidget::defaultBrush(3).color(), QColor(204, 228, 246));
    QCOMPARE(FXWidget::defaultBrush(7).color(), QColor(255, 255, 255));
}

void TestControls::fxWidgetPictureFollowsSize()
{
    QPixmap picture(2, 2);
    picture.fill(Qt::red);
    FXWidget panel;
    panel.resize(10, 10);
    panel.setBackgroundImage(picture);
    // Resized without moving: the picture must still cover the whole panel.
    panel.resize(60, 30);
    const QImage shot = panel.grab().toImage();
    QVERIFY(isRed(shot.pixelColor(1, 1)));
    QVERIFY(isRed(shot.pixelColor(58, 28)));
}

void TestControls::radioButtonRelease_data()
{
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<bool>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("checkedAfter");
    QTest::addColumn<int>("toggles");

    QTest::newRow("inside") << false << true << QPoint(10, 10) << true << 1;
    QTest::newRow("on the far corner") << false << true << QPoint(199, 49) << true << 1;
    QTest::newRow("outside") << false << true << QPoint(260, 10) << false << 0;
    QTest::newRow("just past the edge") << false << true << QPoint(200, 10) << false << 0;
    QTest::newRow("release without press") << false << false << QPoint(10, 10) << false << 0;
    QTest::newRow("already checked") << true << true << QPoint(10, 10) << true << 0;
}

void TestControls::radioButtonRelease()
{
    QFETCH(bool, checkedBefore);
    QFETCH(bool, press);
    QFETCH(QPoint, release);
    QFETCH(bool, checkedAfter);
    QFETCH(int, toggles);

    FXRadioButton button;
    button.setId(QStringLiteral("DOWNLOAD"));
    button.setFixedSize(200, 50);
    button.setChecked(checkedBefore);
    button.show();
    QSignalSpy toggled(&button, &QAbstractButton::toggled);

    if (press) {
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.isChecked(), checkedBefore);
        QVERIFY(button.isPressed());
    }
    QTest::mouseRelease(&button, Qt::LeftButton, {}, release);
    QCOMPARE(button.isChecked(), checkedAfter);
    QCOMPARE(toggled.count(), toggles);
    QVERIFY(!button.isPressed());
    QCOMPARE(button.id(), QStringLiteral("DOWNLOAD"));
}

void TestControls::pagerRefusesUnknownAndCurrent()
{
    FXViewPager pager;
    pager.resize(400, 300);
    auto *login = new QWidget;
    auto *reg = new QWidget;
    pager.addPage(QStringLiteral("LOGIN"), login);
    pager.addPage(QStringLiteral("REGISTER"), reg);
    pager.show();

    QCOMPARE(pager.currentPageId(), QStringLiteral("LOGIN"));
    QCOMPARE(login->geometry(), QRect(0, 0, 400, 300));

    QVERIFY(!pager.showPage(QStringLiteral("NOPE")));
    QCOMPARE(pager.currentPageId(), QStringLiteral("LOGIN"));
    QVERIFY(!pager.isAnimating());

    QVERIFY(pager.showPage(QStringLiteral("LOGIN")));
    QVERIFY(!pager.isAnimating());
    QCOMPARE(login->geometry(), QRect(0, 0, 400, 300));
}

void TestControls::pagerSlides_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("enterX"); // where the new page starts its slide
    QTest::addColumn<int>("leaveX"); // where the old page is heading

    QTest::newRow("forward") << "A" << "C" << 400 << -400;
    QTest::newRow("backward") << "C" << "A" << -400 << 400;
    QTest::newRow("neighbour back") << "C" << "B" << -400 << 400;
}

void TestControls::pagerSlides()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, enterX);
    QFETCH(int, leaveX);

    FXViewPager pager;
    pager.resize(400, 300);
    pager.setAnimationDuration(0);
    for (const QString &id : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        pager.addPage(id, new QWidget);
    pager.show();
    QVERIFY(pager.showPage(from));
    QTRY_VERIFY(!pager.isAnimating());

    pager.setAnimationDuration(200);
    QWidget *entering = pager.page(to);
    QWidget *leaving = pager.page(from);
    QVERIFY(pager.showPage(to));
    QVERIFY(pager.isAnimating());
    QCOMPARE(pager.currentPageId(), to);
    QCOMPARE(entering->geometry(), QRect(enterX, 0, 400, 300));
    QCOMPARE(leaving->x(), 0);
    // Both move towards the side the old page leaves by.
    QTRY_VERIFY(entering->x() != enterX);
    QVERIFY(leaveX < 0 ? leaving->x() < 0 : leaving->x() > 0);

    QTRY_VERIFY(!pager.isAnimating());
    QCOMPARE(entering->geometry(), QRect(0, 0, 400, 300));
    QVERIFY(leaveX < 0 ? leaving->x() <= -400 : leaving->x() >= 400);
    QCOMPARE(leaving->size(), QSize(400, 300));
}

void TestControls::pagerFollowsResize()
{
    FXViewPager pager;
    pager.resize(400, 300);
    pager.setAnimationDuration(0);
    auto *first = new QWidget;
    auto *second = new QWidget;
    pager.addPage(QStringLiteral("LOGIN"), first);
    pager.addPage(QStringLiteral("REGISTER"), second);
    pager.show();
    pager.showPage(QStringLiteral("REGISTER"));
    QTRY_VERIFY(!pager.isAnimating());

    pager.resize(500, 200);
    QCOMPARE(second->geometry(), QRect(0, 0, 500, 200));
    QCOMPARE(first->size(), QSize(500, 200));
    // The page before the current one lies off to the left, not under it.
    QCOMPARE(first->x(), -500);
}

void TestControls::circularClampsAndSpans_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<qreal>("input");
    QTest::addColumn<qreal>("value");
    QTest::addColumn<int>("span");

    QTest::newRow("ring below 0") << 0 << -5.0 << 0.0 << 0;
    QTest::newRow("ring 0") << 0 << 0.0 << 0.0 << 0;
    QTest::newRow("ring 25") << 0 << 25.0 << 25.0 << 1440;
    QTest::newRow("ring 100") << 0 << 100.0 << 100.0 << 5760;
    QTest::newRow("ring above 100") << 0 << 250.0 << 100.0 << 5760;
    QTest::newRow("ring not a number") << 0 << qQNaN() << 0.0 << 0;
    QTest::newRow("gauge 50") << 1 << 50.0 << 50.0 << 2560;
    QTest::newRow("gauge above 100") << 1 << 101.0 << 100.0 << 5120;
}

void TestControls::circularClampsAndSpans()
{
    QFETCH(int, mode);
    QFETCH(qreal, input);
    QFETCH(qreal, value);
    QFETCH(int, span);

    QCircularProgressBar bar(mode, 0);
    QCOMPARE(bar.startAngle(), mode == 1 ? 4000 : 1440);
    QCOMPARE(bar.spanAngle(), mode == 1 ? 5120 : 5760);
    QCOMPARE(bar.endAngle(), mode == 1 ? -1120 : -4320);
    QVERIFY(bar.minimumSize() == QSize(40, 40));

    QSignalSpy changed(&bar, &QCircularProgressBar::valueChanged);
    bar.setValue(input);
    QCOMPARE(bar.value(), value);
    QCOMPARE(bar.progressSpan(), span);
    QCOMPARE(changed.count(), value == 0 ? 0 : 1);
    bar.setValue(input);
    QCOMPARE(changed.count(), value == 0 ? 0 : 1);
}

void TestControls::circularPaintsItsSpan_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<qreal>("value");
    QTest::addColumn<QList<QPoint>>("filled");
    QTest::addColumn<QList<QPoint>>("empty");

    // A 100 x 100 ring: centre (50, 50), the ring between radius 37 and 49.
    const QPoint top(50, 7), right(93, 50), bottom(50, 93), left(7, 50);
    const QPoint upperRight(80, 20), centre(50, 50);
    QTest::newRow("ring 0: track only")
        << 0 << 0.0 << QList<QPoint>{} << QList<QPoint>{top, right, bottom, left, upperRight};
    QTest::newRow("ring 25: clockwise from twelve")
        << 0 << 25.0 << QList<QPoint>{upperRight} << QList<QPoint>{bottom, left, centre};
    QTest::newRow("ring 100: whole ring")
        << 0 << 100.0 << QList<QPoint>{top, right, bottom, left} << QList<QPoint>{centre};
    QTest::newRow("gauge 100: open at the bottom")
        << 1 << 100.0 << QList<QPoint>{top, right, left} << QList<QPoint>{bottom, centre};
}

void TestControls::circularPaintsItsSpan()
{
    QFETCH(int, mode);
    QFETCH(qreal, value);
    QFETCH(QList<QPoint>, filled);
    QFETCH(QList<QPoint>, empty);

    QCircularProgressBar bar(mode, value);
    QVERIFY(bar.usesGradient());
    bar.setProgressColor(Qt::red);
    QVERIFY(!bar.usesGradient());
    bar.resize(100, 100);
    const QImage shot = bar.grab().toImage();
    for (const QPoint &point : filled)
        QVERIFY2(isRed(shot.pixelColor(point)), qPrintable(QStringLiteral("(%1, %2) not filled")
                                                              .arg(point.x()).arg(point.y())));
    for (const QPoint &point : empty)
        QVERIFY2(!isRed(shot.pixelColor(point)), qPrintable(QStringLiteral("(%1, %2) filled")
                                                               .arg(point.x()).arg(point.y())));
}

void TestControls::headerToggles()
{
    QStandardItemModel model(2, 3);
    QTableView table;
    auto *header = new FXHeader(Qt::Horizontal, &table);
    header->setCheckBoxText(QStringLiteral("Name"));
    table.setHorizontalHeader(header);
    table.setModel(&model);
    table.resize(600, 300);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QSignalSpy spy(header, &FXHeader::SignalCheckChange);
    const QImage before = header->grab(header->checkBoxRect()).toImage();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, 0));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->checkBoxRect().center());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, 1));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
    QVERIFY(!header->isChecked());

    // Setting the state from code reports only real changes.
    header->setChecked(true);
    header->setChecked(true);
    QCOMPARE(spy.count(), 3);
    QVERIFY(header->isChecked());
    QVERIFY(header->grab(header->checkBoxRect()).toImage() != before);

    // Partly checked is shown, not told; a click then ticks every row.
    header->setChecked(false);
    const QImage unchecked = header->grab(header->checkBoxRect()).toImage();
    spy.clear();
    header->setCheckState(Qt::PartiallyChecked);
    QCOMPARE(spy.count(), 0);
    QVERIFY(!header->isChecked());
    const QImage partly = header->grab(header->checkBoxRect()).toImage();
    QVERIFY(partly != unchecked);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->checkBoxRect().center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(header->checkState(), Qt::Checked);
    QVERIFY(header->grab(header->checkBoxRect()).toImage() != partly);
    spy.clear();

    // A disabled box ignores clicks.
    header->setEnabled(false);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, 0));
    QCOMPARE(spy.count(), 0);

    // Dragging a section edge resizes nothing.
    header->setEnabled(true);
    const int width = header->sectionSize(0);
    const QPoint edge(header->sectionViewportPosition(1) - 1, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
    QMouseEvent move(QEvent::MouseMove, edge + QPoint(60, 0), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(header->viewport(), &move);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge + QPoint(60, 0));
    QCOMPARE(header->sectionSize(0), width);
}

void TestControls::myHeaderReportsReleases()
{
    QStandardItemModel model(1, 2);
    QTableView table;
    auto *header = new MyHeader(&table);
    QCOMPARE(header->orientation(), Qt::Horizontal);
    table.setHorizontalHeader(header);
    table.setModel(&model);
    table.setColumnWidth(0, 100);
    table.setColumnWidth(1, 100);
    table.resize(600, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QSignalSpy released(header, &MyHeader::released);
    QSignalSpy toggled(header, &MyHeader::toggled);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, 1));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, 0));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(450, header->height() / 2));
    QCOMPARE(released.count(), 3);
    QCOMPARE(released.at(0).at(0).toInt(), 1);
    QCOMPARE(released.at(1).at(0).toInt(), 0);
    QCOMPARE(released.at(2).at(0).toInt(), -1);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), true);
}

void TestControls::tableViewPresets()
{
    FXTableView table;
    QVERIFY(!table.showGrid());
    QCOMPARE(table.frameShape(), QFrame::NoFrame);
    QVERIFY(!table.alternatingRowColors());
    QCOMPARE(table.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(table.horizontalHeader()->isHidden());
    QCOMPARE(table.verticalHeader()->defaultSectionSize(), 50);
    QCOMPARE(table.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(table.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(table.verticalScrollMode(), QAbstractItemView::ScrollPerItem);
    QVERIFY(QScroller::hasScroller(table.viewport()));
    QCOMPARE(table.itemDelegate(), table.delegate());
    QCOMPARE(table.delegate()->gridPen().color(), QColor(0xD8, 0xD8, 0xD8));
    QCOMPARE(table.delegate()->gridPen().widthF(), 1.0);
    for (int state = FXTableView::Normal; state < FXTableView::RowStateCount; ++state)
        QVERIFY(!table.stateColor(FXTableView::RowState(state)).isValid());

    // A configured selection colour replaces the style's highlight.
    QStandardItemModel model(2, 1);
    table.setModel(&model);
    table.resize(200, 120);
    table.setStateColor(FXTableView::Selected, QColor(0xD8, 0xD8, 0xD8));
    table.selectRow(0);
    const QImage shot = table.viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(50, 20), QColor(0xD8, 0xD8, 0xD8));
    QCOMPARE(shot.pixelColor(50, 48), QColor(0xD8, 0xD8, 0xD8));
}

void TestControls::pluginVariants()
{
    // The plug-in's drop-down: fixed size, items 30 pixels high.
    MyComboBox combo;
    combo.addItems({QStringLiteral("V1.00"), QStringLiteral("V1.01")});
    combo.show();
    QCOMPARE(combo.size(), QSize(136, 30));
    QVERIFY(qobject_cast<QListView *>(combo.view()));
    combo.showPopup();
    QTRY_COMPARE(combo.view()->visualRect(combo.model()->index(0, 0)).height(), 30);
    combo.hidePopup();

    // The plug-in's progress bar looks like the program's, half full as empty.
    const auto look = [](QProgressBar &&bar, int value) {
        bar.resize(100, 4);
        bar.setValue(value);
        return bar.grab().toImage();
    };
    QCOMPARE(look(MyProgressBar(), 50), look(FXProgressBar(), 50));
    QCOMPARE(look(MyProgressBar(), 0), look(FXProgressBar(), 0));
    QVERIFY(look(MyProgressBar(), 50) != look(MyProgressBar(), 0));
}

void TestControls::checkBoxesLookDisabled_data()
{
    QTest::addColumn<bool>("plugin");
    QTest::addColumn<bool>("checked");
    QTest::newRow("program, unchecked") << false << false;
    QTest::newRow("program, checked") << false << true;
    QTest::newRow("plug-in, unchecked") << true << false;
    QTest::newRow("plug-in, checked") << true << true;
}

// A required package's box is ticked and disabled; it must not look live.
void TestControls::checkBoxesLookDisabled()
{
    QFETCH(bool, plugin);
    QFETCH(bool, checked);

    QScopedPointer<QCheckBox> box(plugin ? new MyCheckBox(QStringLiteral("HOME"))
                                         : new FXCheckBox(QStringLiteral("HOME")));
    box->setChecked(checked);
    box->resize(200, 50);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.data()));
    QStyleOptionButton option;
    option.initFrom(box.data());
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box.data());
    QVERIFY(!indicator.isEmpty());
    const QImage live = box->grab(indicator).toImage();
    box->setEnabled(false);
    const QImage disabled = box->grab(indicator).toImage();
    QVERIFY(disabled != live);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
