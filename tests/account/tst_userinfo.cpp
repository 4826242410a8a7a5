#include "FXViewPager.h"
#include "StandInService.h"
#include "TestEnv.h"
#include "Toast.h"
#include "UserInfoEditView.h"
#include "UserInfoModel.h"
#include "UserInfoNormalView.h"
#include "UserInfoView.h"
#include "UserProfileFields.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const QString kGetInfo = QStringLiteral("/KvaApi/user/get_info");
const QString kModify = QStringLiteral("/KvaApi/user/info");
const QString kCountries = QStringLiteral("/KvaApi/tools/country_lists");

QString toastText()
{
    return Toast::instance()->text();
}

QString cell(const UserInfoView &view, int rowId)
{
    const UserInfoModel *model = view.normalView()->model();
    const int row = model->rowOf(rowId);
    return row < 0 ? QStringLiteral("<none>")
                   : model->item(row, UserInfoModel::ValueColumn)->text();
}

QUrlQuery lastForm(const StandInService &service, const QString &path)
{
    const QJsonArray log = service.requestsTo(path);
    if (log.isEmpty())
        return QUrlQuery();
    return QUrlQuery(log.last().toObject().value(QStringLiteral("body")).toString());
}
} // namespace

class TestUserInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void modelReplacesRowsById();
    void firstVisitLoadsOnce();
    void editConfirmEditKeepsOneCountryList();
    void unknownCountrySavesFirstEntry();
    void failedSaveKeepsForm_data();
    void failedSaveKeepsForm();
    void failedLoads_data();
    void failedLoads();
    void countryListFailureKeepsCountry();
    void unfilledFormIsNeverSaved();
    void clickDuringCallIsDropped_data();
    void clickDuringCallIsDropped();

private:
    // Signed in as the fixture's first user, on the read-only page.
    void openAsAlice();
    void clickAction();

    std::unique_ptr<TestEnv> mEnv;
    StandInService mService;
    std::unique_ptr<UserInfoView> mView;
};

void TestUserInfo::initTestCase()
{
    mEnv = std::make_unique<TestEnv>();
    QVERIFY(mService.start());
    mService.exportEnvironment();
}

void TestUserInfo::init()
{
    QVERIFY(mService.reset());
    mView = std::make_unique<UserInfoView>();
    mView->resize(930, 760);
    mView->pager()->setAnimationDuration(1);
    mView->show();
}

void TestUserInfo::cleanup()
{
    mView.reset();
    // A test may have pointed the pages at a service of its own.
    mService.exportEnvironment();
}

void TestUserInfo::openAsAlice()
{
    mView->OnUpdateView(QStringLiteral("USERINFO"), QStringLiteral("token-alice"), 1001);
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
}

void TestUserInfo::clickAction()
{
    QTest::mouseClick(mView->actionButton(), Qt::LeftButton);
}

void TestUserInfo::modelReplacesRowsById()
{
    UserInfoModel model;
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QCOMPARE(model.setRecord({3, QStringLiteral("Company"), QStringLiteral("A")}), 0);
    QCOMPARE(model.setRecord({1, QStringLiteral("Middle Name"), QStringLiteral("B")}), 1);
    changed.clear();
    // Same id again: the row is rewritten in place, not appended.
    QCOMPARE(model.setRecord({3, QStringLiteral("Firma"), QStringLiteral("C")}), 0);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 3);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(model.item(0, UserInfoModel::LabelColumn)->text(), QStringLiteral("Firma"));
    QCOMPARE(model.item(0, UserInfoModel::ValueColumn)->text(), QStringLiteral("C"));
}

void TestUserInfo::firstVisitLoadsOnce()
{
    // Other pages' ids leave the page unvisited.
    mView->OnUpdateView(QStringLiteral("DOWNLOAD"), QStringLiteral("token-alice"), 1001);
    QCOMPARE(mView->state(), int(UserInfoView::NeverShown));
    QCOMPARE(mService.requestsTo(kGetInfo).size(), 0);

    openAsAlice();
    QCOMPARE(mService.requestsTo(kGetInfo).size(), 1);
    const QUrlQuery sent = lastForm(mService, kGetInfo);
    QCOMPARE(sent.queryItemValue(QStringLiteral("token")), QStringLiteral("token-alice"));
    QCOMPARE(sent.queryItemValue(QStringLiteral("user_id")), QStringLiteral("1001"));

    QCOMPARE(mView->normalView()->model()->rowCount(), int(UserProfileFields::Count));
    QCOMPARE(cell(*mView, UserProfileFields::FirstName), QStringLiteral("Alice"));
    QCOMPARE(cell(*mView, UserProfileFields::Telephone), QStringLiteral("+49 30 1234567"));
    QCOMPARE(cell(*mView, UserProfileFields::Country), QStringLiteral("Germany"));
    QCOMPARE(mView->normalView()->model()->item(UserProfileFields::Zip, 0)->text(),
             QStringLiteral("Zip Code"));
    QCOMPARE(mView->actionButton()->text(), QStringLiteral("Edit"));
    QCOMPARE(mView->pager()->currentPageId(), QStringLiteral("USERINFO_NORMAL"));
    QCOMPARE(toastText(), QStringLiteral("User information obtained successfully"));

    // A later visit only takes the new credentials.
    mView->OnUpdateView(QStringLiteral("USERINFO"), QStringLiteral("token-new"), 1001);
    QCOMPARE(mService.requestsTo(kGetInfo).size(), 1);
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(mView->editView()->token(), QStringLiteral("token-new"));
    QCOMPARE(mView->normalView()->token(), QStringLiteral("token-new"));
}

void TestUserInfo::editConfirmEditKeepsOneCountryList()
{
    openAsAlice();
    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Editing));
    QCOMPARE(mView->actionButton()->text(), QStringLiteral("Confirm"));
    QCOMPARE(mView->pager()->currentPageId(), QStringLiteral("USERINFO_EDIT"));
    UserInfoEditView *form = mView->editView();
    QComboBox *country = form->countryBox();
    QCOMPARE(country->count(), 5);
    QCOMPARE(country->currentText(), QStringLiteral("Germany"));
    QCOMPARE(form->edit(UserProfileFields::City)->text(), QStringLiteral("Berlin"));

    form->edit(UserProfileFields::City)->setText(QStringLiteral("Lyon"));
    country->setCurrentIndex(country->findText(QStringLiteral("France")));
    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(mView->actionButton()->text(), QStringLiteral("Edit"));
    QCOMPARE(mView->pager()->currentPageId(), QStringLiteral("USERINFO_NORMAL"));

    const QUrlQuery sent = lastForm(mService, kModify);
    QCOMPARE(sent.queryItems().size(), 15);
    QCOMPARE(sent.queryItemValue(QStringLiteral("city")), QStringLiteral("Lyon"));
    QCOMPARE(sent.queryItemValue(QStringLiteral("country_id")), QStringLiteral("4"));
    QCOMPARE(sent.queryItemValue(QStringLiteral("first_name")), QStringLiteral("Alice"));
    QVERIFY(sent.hasQueryItem(QStringLiteral("email")));
    QVERIFY(sent.queryItemValue(QStringLiteral("email")).isEmpty());
    QVERIFY(sent.hasQueryItem(QStringLiteral("nick_name")));
    QVERIFY(sent.queryItemValue(QStringLiteral("nick_name")).isEmpty());

    // The table shows the saved profile, read back from the service.
    QCOMPARE(mService.requestsTo(kGetInfo).size(), 3);
    QCOMPARE(cell(*mView, UserProfileFields::City), QStringLiteral("Lyon"));
    QCOMPARE(cell(*mView, UserProfileFields::Country), QStringLiteral("France"));

    clickAction();
    QCOMPARE(country->count(), 5);
    QCOMPARE(country->currentText(), QStringLiteral("France"));
    QCOMPARE(country->currentData().toInt(), 4);
    QCOMPARE(mService.requestsTo(kCountries).size(), 1);
    for (int i = 0; i < country->count(); ++i)
        QCOMPARE(country->itemData(i).toInt(), i + 1); // ascending ids, each once
}

void TestUserInfo::unknownCountrySavesFirstEntry()
{
    // A profile whose country the list does not know.
    const QString fixture = mEnv->root() + QStringLiteral("/unknown-country.json");
    const QByteArray json = R"({
        "countries": [{"id": 7, "name": "Norway"}, {"id": 3, "name": "Chile"}],
        "users": [{"user_id": 42, "user_name": "far@ostrel.test", "password": "far12345",
                   "token": "token-far", "profile": {"first_name": "Far", "country_id": 99}}]
    })";
    QVERIFY(TestEnv::writeFile(fixture, json));
    StandInService other(fixture);
    QVERIFY(other.start());
    other.exportEnvironment();

    mView->OnUpdateView(QStringLiteral("USERINFO"), QStringLiteral("token-far"), 42);
    clickAction();
    QComboBox *country = mView->editView()->countryBox();
    // Listed by ascending id, not in the service's order.
    QCOMPARE(country->count(), 2);
    QCOMPARE(country->itemText(0), QStringLiteral("Chile"));
    QCOMPARE(country->itemText(1), QStringLiteral("Norway"));
    QCOMPARE(country->currentIndex(), 0);

    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(lastForm(other, kModify).queryItemValue(QStringLiteral("country_id")), QStringLiteral("3"));
}

void TestUserInfo::failedSaveKeepsForm_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("service refuses")
        << QByteArray(R"({"path": "/KvaApi/user/info", "code": -1350, "message": "no", "once": true})");
    QTest::newRow("HTTP error")
        << QByteArray(R"({"path": "/KvaApi/user/info", "status": 500, "once": true})");
    QTest::newRow("unreadable answer")
        << QByteArray(R"({"path": "/KvaApi/user/info", "malformed": true, "once": true})");
}

void TestUserInfo::failedSaveKeepsForm()
{
    QFETCH(QByteArray, fault);
    openAsAlice();
    clickAction();
    UserInfoEditView *form = mView->editView();
    form->edit(UserProfileFields::Fax)->setText(QStringLiteral("+49 30 7654321"));
    QVERIFY(mService.setFault(QJsonDocument::fromJson(fault).object()));
    const int reads = mService.requestsTo(kGetInfo).size();

    clickAction();
    QCOMPARE(toastText(), QStringLiteral("Failed to modify user information"));
    QCOMPARE(mView->state(), int(UserInfoView::Editing));
    QCOMPARE(mView->actionButton()->text(), QStringLiteral("Confirm"));
    QCOMPARE(mView->pager()->currentPageId(), QStringLiteral("USERINFO_EDIT"));
    QCOMPARE(form->edit(UserProfileFields::Fax)->text(), QStringLiteral("+49 30 7654321"));
    QCOMPARE(mService.requestsTo(kGetInfo).size(), reads);

    // The next attempt goes through.
    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(cell(*mView, UserProfileFields::Fax), QStringLiteral("+49 30 7654321"));
}

void TestUserInfo::failedLoads_data()
{
    QTest::addColumn<QString>("stage"); // "first visit", "after save" or "form"
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("message");

    const QString failed = QStringLiteral("Failed to get user information");
    const QByteArray expired = R"({"path": "/KvaApi/user/get_info", "code": -101, "message": "x"})";
    const QByteArray down = R"({"path": "/KvaApi/user/get_info", "status": 503})";
    QTest::newRow("first visit, refused") << "first visit" << expired << failed;
    QTest::newRow("first visit, HTTP error") << "first visit" << down << failed;
    QTest::newRow("after save, HTTP error") << "after save" << down << failed;
    // The form names the service's reason.
    QTest::newRow("form, refused") << "form" << expired
                                   << QStringLiteral("Session Timeout!Please log in again!");
    QTest::newRow("form, HTTP error") << "form" << down << failed;
    QTest::newRow("form, countries refused")
        << "form" << QByteArray(R"({"path": "/KvaApi/tools/country_lists", "code": -1003, "message": "x"})")
        << QStringLiteral("User information obtained successfully");
}

void TestUserInfo::failedLoads()
{
    QFETCH(QString, stage);
    QFETCH(QByteArray, fault);
    QFETCH(QString, message);
    const QJsonObject rule = QJsonDocument::fromJson(fault).object();

    if (stage == QLatin1String("first visit")) {
        QVERIFY(mService.setFault(rule));
        openAsAlice();
        QCOMPARE(mView->normalView()->model()->rowCount(), 0);
    } else if (stage == QLatin1String("after save")) {
        openAsAlice();
        clickAction();
        QVERIFY(mService.setFault(rule));
        clickAction();
        QCOMPARE(mView->state(), int(UserInfoView::Showing));
        // The table keeps the profile it showed.
        QCOMPARE(cell(*mView, UserProfileFields::FirstName), QStringLiteral("Alice"));
    } else {
        openAsAlice();
        QVERIFY(mService.setFault(rule));
        clickAction();
        QCOMPARE(mView->state(), int(UserInfoView::Editing));
        UserInfoEditView *form = mView->editView();
        if (rule.value(QStringLiteral("path")).toString() == kGetInfo) {
            QVERIFY(form->edit(UserProfileFields::FirstName)->text().isEmpty());
        } else {
            // The profile still fills the form; the list stays empty for the next try.
            QCOMPARE(form->edit(UserProfileFields::FirstName)->text(), QStringLiteral("Alice"));
            QCOMPARE(form->countryBox()->count(), 0);
            QVERIFY(form->countries().isEmpty());
        }
    }
    QCOMPARE(toastText(), message);
}

void TestUserInfo::countryListFailureKeepsCountry()
{
    openAsAlice();
    QVERIFY(mService.setFault(QJsonDocument::fromJson(
        R"({"path": "/KvaApi/tools/country_lists", "status": 500, "once": true})").object()));
    clickAction();
    QCOMPARE(toastText(), QStringLiteral("User information obtained successfully"));
    QCOMPARE(mView->editView()->countryBox()->count(), 0);
    QCOMPARE(mView->editView()->edit(UserProfileFields::FirstName)->text(), QStringLiteral("Alice"));

    // Without a list the user's own country goes back, not an empty one.
    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(lastForm(mService, kModify).queryItemValue(QStringLiteral("country_id")), QStringLiteral("2"));
    QCOMPARE(cell(*mView, UserProfileFields::Country), QStringLiteral("Germany"));

    // The next edit fetches the list that was missing.
    clickAction();
    QCOMPARE(mService.requestsTo(kCountries).size(), 2);
    QCOMPARE(mView->editView()->countryBox()->currentText(), QStringLiteral("Germany"));
}

// The profile could not be read when the form opened: Confirm must not send
// the empty fields over the user's profile, but read it again.
void TestUserInfo::unfilledFormIsNeverSaved()
{
    openAsAlice();
    QVERIFY(mService.setFault(QJsonDocument::fromJson(
        R"({"path": "/KvaApi/user/get_info", "status": 503, "once": true})").object()));
    clickAction();
    QVERIFY(mView->editView()->edit(UserProfileFields::FirstName)->text().isEmpty());

    clickAction();
    QCOMPARE(mService.requestsTo(kModify).size(), 0);
    QCOMPARE(mView->state(), int(UserInfoView::Editing));
    QCOMPARE(mView->actionButton()->text(), QStringLiteral("Confirm"));
    QCOMPARE(mView->editView()->edit(UserProfileFields::FirstName)->text(), QStringLiteral("Alice"));
    QCOMPARE(toastText(), QStringLiteral("User information obtained successfully"));

    // Filled now: the next Confirm saves what the form shows.
    clickAction();
    QCOMPARE(mView->state(), int(UserInfoView::Showing));
    QCOMPARE(lastForm(mService, kModify).queryItemValue(QStringLiteral("first_name")), QStringLiteral("Alice"));
}

void TestUserInfo::clickDuringCallIsDropped_data()
{
    QTest::addColumn<QString>("slowPath");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<int>("state");
    QTest::newRow("opening the form") << kGetInfo << false << int(UserInfoView::Editing);
    QTest::newRow("saving") << kModify << true << int(UserInfoView::Showing);
}

void TestUserInfo::clickDuringCallIsDropped()
{
    QFETCH(QString, slowPath);
    QFETCH(bool, saving);
    QFETCH(int, state);

    openAsAlice();
    if (saving)
        clickAction();
    QJsonObject slow;
    slow.insert(QStringLiteral("path"), slowPath);
    slow.insert(QStringLiteral("delay_ms"), 800);
    QVERIFY(mService.setFault(slow));
    QVERIFY(mService.clearLog());

    // Delivered by the call's own event loop, while the call waits.
    QTimer::singleShot(0, mView.get(), [this] { clickAction(); });
    clickAction();

    QCOMPARE(mView->state(), state);
    QCOMPARE(mService.requestsTo(kModify).size(), saving ? 1 : 0);
    QCOMPARE(mService.requestsTo(kGetInfo).size(), 1);
    QCOMPARE(mService.requestsTo(kCountries).size(), saving ? 0 : 1);
}

QTEST_MAIN(TestUserInfo)
#include "tst_userinfo.moc"
