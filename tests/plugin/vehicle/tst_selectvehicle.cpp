// The vehicle selection page against the stand-in service: the language it
// asks in and preselects, what a submission sends, the single choice, the
// service's answers, and answers that come too late to act. The software
// list page opens it for a generated single-vehicle card.
#include "AccessibilityAudit.h"
#include "AppSettings.h"
#include "FXTableView.h"
#include "LoadingDialog.h"
#include "MyCheckBox.h"
#include "PluginPageFixture.h"
#include "ReplaceEmptyCarConfigurationThread.h"
#include "SampleCardGenerator.h"
#include "SelectVehicleTableModel.h"
#include "SelectVehicleWidget.h"
#include "SoftwareInfoWidget.h"
#include "Toast.h"

#include <Sornet/Code.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const QString Single = QStringLiteral("SINGLEVEH0001");
const QString CarsPath = QStringLiteral("/KvaApi/tools/get_allCarsAndLanguages");
const QString SubmitPath = QStringLiteral("/KvaApi/tools/replaceEmptyCar");
const QString Marker = QStringLiteral("nothing new");

QJsonObject rule(const QString &path, const char *key, const QJsonValue &value, bool once = false)
{
    QJsonObject o{{QStringLiteral("path"), path}, {QLatin1String(key), value}};
    if (once)
        o.insert(QStringLiteral("once"), true);
    return o;
}

// Fully decoded fields of a request's query or form body.
QMap<QString, QString> fieldsOf(const QJsonValue &request, const char *part)
{
    QMap<QString, QString> fields;
    const QUrlQuery query(request.toObject().value(QLatin1String(part)).toString());
    for (const auto &item : query.queryItems(QUrl::FullyDecoded))
        fields.insert(item.first, item.second);
    return fields;
}
} // namespace

class TestSelectVehicle : public QObject
{
    Q_OBJECT

    PluginPageFixture mFx;
    QPointer<QStackedWidget> mContainer;
    QPointer<SoftwareInfoWidget> mList;
    QPointer<SelectVehicleWidget> mPage;
    QString mCard;

    bool activate(QWidget *window)
    {
        window->resize(912, 766);
        window->show();
        QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowActive(window);
    }

    bool waitIdle()
    {
        return QTest::qWaitFor([this] { return mPage && !mPage->isBusy(); }, 20000);
    }

    // A page of its own, outside the plug-in's container.
    void openAlone()
    {
        mPage = new SelectVehicleWidget(nullptr, Single);
        if (!activate(mPage) || !waitIdle())
            qWarning("page not active or still asking");
    }

    // The software list in a container with the single-vehicle card; its
    // message, confirmed, opens the selection page.
    bool openFromList()
    {
        mCard = mFx.env().makeDir(QStringLiteral("cards/single")) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = Single;
        options.vehicles = 0;
        if (!SampleCardGenerator(options).generate(mCard))
            return false;
        mFx.platform().fakeVolumes().add(mCard);
        mContainer = new QStackedWidget;
        mList = new SoftwareInfoWidget(mContainer);
        mList->setVehiclePageFactory(&SelectVehicleWidget::create);
        mContainer->addWidget(mList);
        if (!activate(mContainer) || !QTest::qWaitFor([this] { return mList->vehiclePage(); }, 20000))
            return false;
        mPage = qobject_cast<SelectVehicleWidget *>(mList->vehiclePage());
        // Active again once the confirmed box is gone, as with a window manager.
        QApplication::setActiveWindow(mContainer);
        return waitIdle() && mContainer->currentWidget() == mPage;
    }

    QPushButton *submit() const { return mPage->findChild<QPushButton *>(QStringLiteral("submit")); }
    int submissions() const { return mFx.service().requestsTo(SubmitPath).size(); }

private slots:
    // Every message box is read and confirmed with its first button.
    void initTestCase() { QVERIFY(mFx.start()); }

    void init()
    {
        QVERIFY(mFx.reset(2)); // de
        Toast::instance()->setMessageVDuration(Marker);
    }

    void cleanup()
    {
        delete mPage.data();
        delete mContainer.data();
        mFx.release();
    }

    void asksAndSubmitsInTheInterfaceLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<QString>("firstCarId");
        QTest::addColumn<QString>("submitted");
        // Names in plain string order: "Volvo" (502) sorts before "奥迪" (501).
        QTest::newRow("cn") << 0 << "zh" << "Chinese Simplified" << "502" << "zh,en";
        QTest::newRow("hk") << 1 << "zh_tw" << "Chinese Traditional(TW)" << "501" << "zh_tw,en";
        // The table lists Korean as "kr", so "ko" finds no entry: the first stays.
        QTest::newRow("kr") << 9 << "ko" << "Chinese Simplified" << "501" << "zh,en";
        QTest::newRow("de") << 2 << "de" << "German" << "501" << "de,en";
        QTest::newRow("en") << 4 << "en" << "English" << "501" << "en";
    }

    void asksAndSubmitsInTheInterfaceLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, asked);
        QFETCH(QString, preselected);
        QFETCH(QString, firstCarId);
        QFETCH(QString, submitted);
        AppSettings::setLanguage(language);
        openAlone();
        const QJsonArray queries = mFx.service().requestsTo(CarsPath);
        QCOMPARE(queries.size(), 1);
        QCOMPARE(fieldsOf(queries.first(), "query").value(QStringLiteral("lang_name")), asked);
        QCOMPARE(fieldsOf(queries.first(), "query").value(QStringLiteral("serial_number")), Single);

        // Offered languages in table order; "ar" is not in the table.
        auto *languages = mPage->findChild<QComboBox *>(QStringLiteral("languages"));
        QStringList names;
        for (int i = 0; i < languages->count(); ++i)
            names << languages->itemText(i);
        QCOMPARE(names, QStringList({QStringLiteral("Chinese Simplified"), QStringLiteral("Chinese Traditional(TW)"),
                                     QStringLiteral("German"), QStringLiteral("English"), QStringLiteral("Korean")}));
        QCOMPARE(languages->currentText(), preselected);
        QCOMPARE(mPage->model()->rowCount(), 2);

        mPage->checkBox(0)->click();
        submit()->click();
        QVERIFY(waitIdle());
        const QJsonArray sent = mFx.service().requestsTo(SubmitPath);
        QCOMPARE(sent.size(), 1);
        const auto body = fieldsOf(sent.first(), "body");
        QCOMPARE(body.value(QStringLiteral("languages")), submitted);
        QCOMPARE(body.value(QStringLiteral("carId")), firstCarId);
        QCOMPARE(body.value(QStringLiteral("serial_number")), Single);
        QCOMPARE(Toast::instance()->text(), QStringLiteral("Configurate Successfully！"));
    }

    void oneVehicleAtATime()
    {
        openAlone();
        MyCheckBox *first = mPage->checkBox(0);
        MyCheckBox *second = mPage->checkBox(1);
        first->click();
        second->click();
        QVERIFY(!first->isChecked() && second->isChecked());
        auto *table = mPage->findChild<QTableView *>(QStringLiteral("tableView"));
        const QPoint firstName = table->visualRect(mPage->model()->index(0, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstName);
        QVERIFY(first->isChecked() && !second->isChecked());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstName);
        QVERIFY(!first->isChecked() && !second->isChecked());

        // Nothing ticked: nothing is sent.
        submit()->click();
        QVERIFY(!mPage->isBusy());
        QTest::qWait(200);
        QCOMPARE(submissions(), 0);
    }

    // The keyboard picks a vehicle and submits; a screen reader finds each
    // control named, the pick as the row's check state, each text readable.
    void keysPickAndSubmit()
    {
        openAlone();
        QCOMPARE(AccessibilityAudit::report(mPage), QString());
        auto *table = mPage->findChild<FXTableView *>(QStringLiteral("tableView"));
        table->setFocus(Qt::TabFocusReason);
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(!mPage->checkBox(0)->isChecked() && mPage->checkBox(1)->isChecked());
        QAccessibleInterface *cell = QAccessible::queryAccessibleInterface(table)->tableInterface()->cellAt(
            1, SelectVehicleWidget::OperationColumn);
        QVERIFY(cell->state().checkable && cell->state().checked);
        QCOMPARE(cell->text(QAccessible::Name), mPage->model()->value(1, 0).toString());
        QTest::keyClick(table, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(submissions(), 1, 20000);
        QCOMPARE(fieldsOf(mFx.service().requestsTo(SubmitPath).first(), "body").value(QStringLiteral("carId")),
                 QString::number(mPage->carList().at(1).getId()));
    }

    void withoutUserNothingIsSent_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("userId");
        QTest::newRow("no token") << QString() << 1001;
        QTest::newRow("no user id") << QStringLiteral("token-alice") << 0;
    }

    void withoutUserNothingIsSent()
    {
        QFETCH(QString, token);
        QFETCH(int, userId);
        // Signed in while the list is asked for, signed out at submission.
        openAlone();
        AppSettings::setSignedInUser(token, userId);
        mPage->checkBox(0)->click();
        submit()->click();
        QVERIFY(!mPage->isBusy());
        QTest::qWait(200);
        QCOMPARE(submissions(), 0);
        delete mPage.data();

        // Asked without a user, the request carries no parameter.
        QVERIFY(mFx.service().setFault(rule(CarsPath, "code", -1001)));
        QVERIFY(mFx.service().clearLog());
        openAlone();
        const QJsonArray queries = mFx.service().requestsTo(CarsPath);
        QCOMPARE(queries.size(), 1);
        const auto query = fieldsOf(queries.first(), "query");
        QVERIFY(query.value(QStringLiteral("token")).isEmpty() && query.value(QStringLiteral("serial_number")).isEmpty());
    }

    void transportFailureIsSilent()
    {
        QVERIFY(mFx.service().setFault(rule(CarsPath, "status", 500)));
        openAlone();
        QCOMPARE(mPage->model()->rowCount(), 0);
        QCOMPARE(Toast::instance()->text(), Marker);
        QVERIFY(mFx.boxTexts.isEmpty());
        for (const LoadingDialog *busy : mPage->findChildren<LoadingDialog *>())
            QVERIFY(!busy->isVisible());
    }

    void answersToASubmission_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("back");
        QTest::newRow("configured") << 0 << "Configurate Successfully！" << true;
        QTest::newRow("no need") << -1418 << "The product does not need to be reconfigured！" << true;
        QTest::newRow("refused") << -1404 << Code().getMessageByCode(-1404) << false;
    }

    // End to end: the list's message, the selection page, a submission,
    // and the list that follows.
    void answersToASubmission()
    {
        QFETCH(int, code);
        QFETCH(QString, toast);
        QFETCH(bool, back);
        if (code != 0)
            QVERIFY(mFx.service().setFault(rule(SubmitPath, "code", code)));
        QVERIFY(openFromList());
        QCOMPARE(mFx.boxTexts.size(), 1);
        QVERIFY(mFx.boxTexts.first().startsWith(QStringLiteral("This product is a single-vehicle software product")));
        QCOMPARE(mPage->serialNumber(), Single);

        const int products = mFx.service().requestsTo(QStringLiteral("/KvaApi/user/pro_search")).size();
        mPage->checkBox(1)->click(); // Volvo
        submit()->click();
        QVERIFY(waitIdle());
        QTRY_COMPARE(Toast::instance()->text(), toast);
        QCOMPARE(mContainer->currentIndex() == 0, back);
        if (!back)
            return;
        // The list asks the service again.
        QTRY_COMPARE_WITH_TIMEOUT(mFx.service().requestsTo(QStringLiteral("/KvaApi/user/pro_search")).size(),
                                  products + 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!mList->isQuerying(), 20000);
        if (code == 0) {
            QStringList softIds;
            for (const SoftwareDataWrap &row : mList->rows())
                softIds << row.getSoft_id();
            QCOMPARE(softIds, QStringList({QStringLiteral("HOME"), QStringLiteral("VOLVO")}));
            QCOMPARE(mFx.boxTexts.size(), 1);
        } else {
            // Still without a vehicle: the message again, but the page is
            // offered once only.
            QTRY_COMPARE(mFx.boxTexts.size(), 2);
            QTest::qWait(100);
            QCOMPARE(mContainer->currentIndex(), 0);
            QCOMPARE(mContainer->count(), 2);
        }
    }

    void doubleSubmissionSendsOne()
    {
        QVERIFY(openFromList());
        mPage->checkBox(0)->click();
        submit()->click();
        submit()->click();
        // The worker is done, its answer not yet handled: a click now is
        // still the same submission.
        mPage->findChild<ReplaceEmptyCarConfigurationThread *>()->wait();
        submit()->click();
        QVERIFY(waitIdle());
        QCOMPARE(submissions(), 1);
        QTRY_COMPARE(mContainer->currentIndex(), 0);
        QCOMPARE(Toast::instance()->text(), QStringLiteral("Configurate Successfully！"));
    }

    void lateAnswerDoesNotAct_data()
    {
        QTest::addColumn<bool>("pullCard");
        QTest::newRow("card pulled") << true;
        QTest::newRow("another page on top") << false;
    }

    void lateAnswerDoesNotAct()
    {
        QFETCH(bool, pullCard);
        QVERIFY(mFx.service().setFault(rule(SubmitPath, "delay_ms", 1500, true)));
        QVERIFY(openFromList());
        mPage->checkBox(0)->click();
        submit()->click();
        QTRY_COMPARE_WITH_TIMEOUT(submissions(), 1, 10000);
        auto *other = new QWidget;
        if (pullCard) {
            mFx.platform().fakeVolumes().remove(mCard);
        } else {
            mContainer->addWidget(other);
            mContainer->setCurrentWidget(other);
        }
        Toast::instance()->setMessageVDuration(Marker);
        QVERIFY(waitIdle());
        QTest::qWait(100);
        QCOMPARE(mContainer->currentWidget(), pullCard ? static_cast<QWidget *>(mPage.data()) : other);
        QCOMPARE(Toast::instance()->text(), Marker);
    }
};

QTEST_MAIN(TestSelectVehicle)
#include "tst_selectvehicle.moc"
