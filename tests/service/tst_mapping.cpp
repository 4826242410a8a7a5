// The generic JSON mapper, the hand-written list parsers and the value
// semantics of the data classes: everything that turns an answer body into
// response objects, without a network.
#include "tst_mapping.h"

#include <Sornet/Sornet.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

void TestMapping::genericEnvelope_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("success");

    QTest::newRow("empty object") << "{}" << true << 0 << QString() << false;
    QTest::newRow("array root") << "[1]" << true << 0 << QString() << false;
    QTest::newRow("syntax error") << "{" << false << 0 << QString() << false;
    QTest::newRow("not json") << "<html>502</html>" << false << 0 << QString() << false;
    QTest::newRow("full") << R"({"code":1,"message":"ok","success":true})" << true << 1 << "ok" << true;
    QTest::newRow("code as string") << R"({"code":"-1311","success":false})" << true << -1311 << QString() << false;
    QTest::newRow("code with fraction") << R"({"code":-100.0})" << true << -100 << QString() << false;
    QTest::newRow("code not numeric") << R"({"code":"x"})" << true << 0 << QString() << false;
    QTest::newRow("code beyond int") << R"({"code":3e9,"success":true})" << true << 0 << QString() << true;
    QTest::newRow("non-ascii message") << R"({"message":"密码错误"})" << true << 0
                                       << QString::fromUtf8("密码错误") << false;
}

void TestMapping::genericEnvelope()
{
    QFETCH(QString, json);
    QFETCH(bool, ok);
    CAPTCHAResponse response;
    QCOMPARE(BaseAction::parse(&response, json), ok);
    QTEST(response.getCode(), "code");
    QTEST(response.getMessage(), "message");
    QTEST(response.isSuccess(), "success");
    QVERIFY(response.getData().isEmpty());
}

void TestMapping::nestedDataChild()
{
    LoginResponse login;
    QVERIFY(BaseAction::parse(&login, QStringLiteral(
        R"({"code":1,"success":true,"data":{"user_id":42,"user_name":"ann","type":2,)"
        R"("token":"t0k","token_outtime":"2030-01-01","extra":"kept"}})")));
    const LoginData data = login.getData();
    QCOMPARE(data.getUser_id(), 42L);
    QCOMPARE(data.getUser_name(), QStringLiteral("ann"));
    QCOMPARE(data.getType(), 2);
    QCOMPARE(data.getToken(), QStringLiteral("t0k"));
    QCOMPARE(data.getToken_outtime(), QStringLiteral("2030-01-01"));
    // Unknown keys land as dynamic properties of the child, not of a copy.
    QCOMPARE(login.findChild<LoginData *>(QStringLiteral("data"))->property("extra").toString(),
             QStringLiteral("kept"));
    // A number the field cannot hold leaves the earlier value.
    QVERIFY(BaseAction::parse(&login, QStringLiteral(R"({"data":{"user_id":1e30,"type":-3e9}})")));
    QCOMPARE(login.getData().getUser_id(), 42L);
    QCOMPARE(login.getData().getType(), 2);

    // Scalar payloads go to the "data" property; a failure verdict leaves
    // the profile child empty.
    CheckUserResponse check;
    QVERIFY(BaseAction::parse(&check, QStringLiteral(R"({"code":1,"data":true})")));
    QVERIFY(check.isData());
    GetUserInfoResponse info;
    QVERIFY(BaseAction::parse(&info, QStringLiteral(
        R"({"code":-101,"success":false,"message":"timeout","data":{}})")));
    QCOMPARE(info.getCode(), -101);
    QVERIFY(info.getData() == UserInfoData());
    QVERIFY(BaseAction::parse(&info, QStringLiteral(
        R"({"code":1,"data":{"telphone":"555","country_id":49,"email":"a@b.c"}})")));
    QCOMPARE(info.getData().getTelephone(), QStringLiteral("555"));
    QCOMPARE(info.getData().getCountry_id(), 49);
}

void TestMapping::childLookupByObjectName()
{
    QObject root;
    auto *outer = new QObject(&root);
    outer->setObjectName(QStringLiteral("outer"));
    auto *deep = new LanguageData(outer);
    deep->setObjectName(QStringLiteral("lang"));
    auto *plain = new LanguageData(&root);
    plain->setObjectName(QStringLiteral("LanguageData"));

    // With "objectName" the search goes through all levels and checks the class.
    BaseAction::fillObjectFromMap(&root, QJsonDocument::fromJson(
        R"({"LanguageData":{"objectName":"lang","name":"Deutsch","code":"DE"}})").object().toVariantMap());
    QCOMPARE(deep->getName(), QStringLiteral("Deutsch"));
    QVERIFY(plain->getName().isEmpty());
    // Without it, only a direct child named like the key.
    BaseAction::fillObjectFromMap(&root, QJsonDocument::fromJson(
        R"({"LanguageData":{"name":"English"},"missing":{"name":"x"}})").object().toVariantMap());
    QCOMPARE(plain->getName(), QStringLiteral("English"));
    QCOMPARE(deep->getName(), QStringLiteral("Deutsch"));
    // "QObject" grows plain children when there is none to fill.
    BaseAction::fillObjectFromMap(&root, QJsonDocument::fromJson(
        R"({"QObject":{"level":1,"QObject":{"level":2}}})").object().toVariantMap());
    auto *made = root.findChild<QObject *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(made);
    QCOMPARE(root.children().size(), 3);
    QCOMPARE(root.children().last()->property("level").toInt(), 1);
    QCOMPARE(root.children().last()->children().value(0)->property("level").toInt(), 2);
}

void TestMapping::arraysFillChildrenOfThatClass()
{
    QObject root;
    auto *first = new CarData(&root);
    auto *named = new CarData(&root);
    named->setObjectName(QStringLiteral("bmw"));
    auto *second = new CarData(&root);

    BaseAction::fillObjectFromMap(&root, QJsonDocument::fromJson(
        R"({"CarData":[{"id":1},{"objectName":"bmw","id":2},{"id":3},{"id":4}],)"
        R"("tags":["a",{"x":1},"b"]})").object().toVariantMap());
    QCOMPARE(first->getId(), 1L);
    QCOMPARE(named->getId(), 2L);
    QCOMPARE(second->getId(), 3L);
    QCOMPARE(root.children().size(), 3); // the fourth element has no child left
    // Non-object elements set the property; the last one wins.
    QCOMPARE(root.property("tags").toString(), QStringLiteral("b"));

    QObject bag;
    BaseAction::fillObjectFromMap(&bag, QJsonDocument::fromJson(
        R"({"QObject":[{"n":1},{"n":2}]})").object().toVariantMap());
    QCOMPARE(bag.children().size(), 2);
    QCOMPARE(bag.children().at(1)->property("n").toInt(), 2);
}

void TestMapping::serializeMirrorsObjectTree()
{
    LoginResponse login;
    login.setCode(1);
    login.setProperty("note", QStringLiteral("dyn"));
    LoginData data;
    data.setUser_id(7);
    data.setToken(QStringLiteral("abc"));
    login.setData(data);
    auto *extra = new LoginData(&login);
    extra->setUser_id(8);

    const QJsonObject json = QJsonDocument::fromJson(BaseAction::serialize(login).toUtf8()).object();
    QCOMPARE(json.value(QStringLiteral("code")).toInt(), 1);
    QCOMPARE(json.value(QStringLiteral("note")).toString(), QStringLiteral("dyn"));
    QCOMPARE(json.value(QStringLiteral("objectName")).toString(), QString());
    // Two children of one class: the key turns into an array of both.
    const QJsonArray children = json.value(QStringLiteral("LoginData")).toArray();
    QCOMPARE(children.size(), 2);
    QCOMPARE(children.at(0).toObject().value(QStringLiteral("user_id")).toInt(), 7);
    QCOMPARE(children.at(0).toObject().value(QStringLiteral("objectName")).toString(), QStringLiteral("data"));
    QCOMPARE(children.at(1).toObject().value(QStringLiteral("user_id")).toInt(), 8);

    // Value lists of data records become lists of maps.
    QuerySoftwareResponse software;
    SoftwareData package;
    package.setId(5);
    package.getLanguages() << QStringLiteral("EN");
    SoftwareData patch;
    patch.setVersion(QStringLiteral("V1.01"));
    package.getPatch_version() << patch;
    software.getData() << package;
    const QJsonObject list = QJsonDocument::fromJson(BaseAction::serialize(software).toUtf8()).object();
    const QJsonObject first = list.value(QStringLiteral("data")).toArray().at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("id")).toInt(), 5);
    QCOMPARE(first.value(QStringLiteral("languages")).toArray().at(0).toString(), QStringLiteral("EN"));
    QCOMPARE(first.value(QStringLiteral("patch_version")).toArray().at(0).toObject()
                 .value(QStringLiteral("version")).toString(), QStringLiteral("V1.01"));
}

void TestMapping::md5_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digest");
    QTest::newRow("empty") << QString() << "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("abc") << "abc" << "900150983cd24fb0d6963f7d28e17f72";
    QTest::newRow("utf-8") << QString::fromUtf8("ü€") << "692010ce814aec196e81dfdd38d997ba";
    // Hashing never passes a digest-shaped text through; that is the login's rule.
    QTest::newRow("32 characters") << QString(32, QLatin1Char('a')) << "5eca9bd3eb07c006cd43ae48dfde7fd3";
}

void TestMapping::md5()
{
    QFETCH(QString, text);
    QTEST(BaseAction::MD5(text), "digest");
}

void TestMapping::softwareListTypeRules()
{
    QuerySoftwareResponse response;
    const int status = ProductAction::parseQuerySoftware(response, QStringLiteral(R"({
        "code": "1", "message": 7, "success": true,
        "data": [
          {"id": "12", "soft_name": "BMW", "languages": ["EN", 3, "DE", null], "version": 2,
           "patch_version": [{"id": 13, "version": "V1.01", "languages": ["EN"],
                              "version_history": [{"id": 99}]}, "junk"],
           "version_history": [{"id": 11, "version": "V0.9"}]},
          5,
          {"id": 20.0, "soft_id": "AUDI", "lang_code": "EN", "package_type": "full",
           "release_date": "2024-01-02", "soft_size": "1024", "soft_type": "car",
           "update_tips": "tips", "version": "V2.00"}
        ]})"));
    QCOMPARE(status, 200);
    // Envelope members of the wrong type are skipped, not converted.
    QCOMPARE(response.getCode(), 0);
    QVERIFY(response.getMessage().isEmpty());
    QVERIFY(response.isSuccess());

    QCOMPARE(response.getData().size(), 2);
    const SoftwareData &bmw = response.getData().at(0);
    QCOMPARE(bmw.getId(), 0L);
    QCOMPARE(bmw.getSoft_name(), QStringLiteral("BMW"));
    QCOMPARE(bmw.getLanguages(), QStringList({QStringLiteral("EN"), QStringLiteral("DE")}));
    QVERIFY(bmw.getVersion().isEmpty());
    QCOMPARE(bmw.getPatch_version().size(), 1);
    const SoftwareData &patch = bmw.getPatch_version().at(0);
    QCOMPARE(patch.getId(), 13L);
    QCOMPARE(patch.getVersion(), QStringLiteral("V1.01"));
    QCOMPARE(patch.getLanguages(), QStringList{QStringLiteral("EN")});
    QVERIFY(patch.getVersion_history().isEmpty());
    QCOMPARE(bmw.getVersion_history().size(), 1);
    QCOMPARE(bmw.getVersion_history().at(0).getVersion(), QStringLiteral("V0.9"));

    const SoftwareData &audi = response.getData().at(1);
    QCOMPARE(audi.getId(), 20L);
    QCOMPARE(audi.getSoft_id(), QStringLiteral("AUDI"));
    QCOMPARE(audi.getLang_code(), QStringLiteral("EN"));
    QCOMPARE(audi.getPackage_type(), QStringLiteral("full"));
    QCOMPARE(audi.getRelease_date(), QStringLiteral("2024-01-02"));
    QCOMPARE(audi.getSoft_size(), QStringLiteral("1024"));
    QCOMPARE(audi.getSoft_type(), QStringLiteral("car"));
    QCOMPARE(audi.getUpdate_tips(), QStringLiteral("tips"));
    QCOMPARE(audi.getVersion(), QStringLiteral("V2.00"));
}

void TestMapping::softwareListKeepsEarlierEntries()
{
    const QString body = QStringLiteral(R"({"code":1,"data":[{"id":1},{"id":2}]})");
    QuerySoftwareResponse response;
    QCOMPARE(ProductAction::parseQuerySoftware(response, body), 200);
    QCOMPARE(ProductAction::parseQuerySoftware(response, body), 200);
    QCOMPARE(response.getData().size(), 4);
    QCOMPARE(response.getData().at(2).getId(), 1L);
    response.clear();
    QVERIFY(response.getData().isEmpty());
    QCOMPARE(response.getCode(), 0);
}

void TestMapping::listParsersRejectBrokenJson_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("truncated") << R"({"code":1,"data":[)";
    QTest::newRow("empty body") << QString();
    QTest::newRow("html") << "<html>oops</html>";
}

void TestMapping::listParsersRejectBrokenJson()
{
    QFETCH(QString, body);
    QueryProductResponse products;
    QuerySoftwareResponse software;
    GetAllCarListAndLanguageListResponse cars;
    ReplaceEmptyCarConfigurationResponse replace;
    CountryListResponse countries;
    QCOMPARE(ProductAction::parseQueryProduct(products, body), -1);
    QCOMPARE(ProductAction::parseQuerySoftware(software, body), -1);
    QCOMPARE(ProductAction::parseAllCarListAndLanguageList(cars, body), -1);
    QCOMPARE(ProductAction::parseReplaceEmptyCarConfiguration(replace, body), -1);
    QCOMPARE(UserAction::parseCountryList(countries, body), -1);
}

void TestMapping::listParsersIgnoreWrongShapes_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("array root") << R"([{"code":1}])";
    QTest::newRow("data is a string") << R"({"data":"none"})";
    QTest::newRow("data is an object") << R"({"data":{"lists":[{"pro_id":1}]}})";
    QTest::newRow("data is null") << R"({"data":null})";
    QTest::newRow("huge numbers") << R"({"code":1e300,"data":[{"id":-1e300}]})";
}

void TestMapping::listParsersIgnoreWrongShapes()
{
    QFETCH(QString, body);
    QuerySoftwareResponse software;
    CountryListResponse countries;
    QCOMPARE(ProductAction::parseQuerySoftware(software, body), 200);
    QCOMPARE(UserAction::parseCountryList(countries, body), 200);
    QCOMPARE(software.getCode(), 0);
    QCOMPARE(countries.getCode(), 0);
    for (const SoftwareData &entry : qAsConst(software.getData()))
        QCOMPARE(entry.getId(), 0L);
    QVERIFY(countries.getData().size() <= 1);
}

void TestMapping::productList()
{
    QueryProductResponse response;
    QCOMPARE(ProductAction::parseQueryProduct(response, QStringLiteral(R"({
        "code": 1, "message": "ok", "success": true,
        "data": {"page_index": 1, "page_nums": "3", "lists": [
            {"img_url": "http://x/a.png", "languages": ["EN", "CN", 1], "pro_code": "P1",
             "pro_id": 77, "pro_name": "Scanner", "pro_type": "1", "reg_date": "2024-05-06",
             "serial_number": "9876543210123"},
            [],
            {"pro_id": "78", "serial_number": 5}]}})")), 200);
    QCOMPARE(response.getCode(), 1);
    QCOMPARE(response.getMessage(), QStringLiteral("ok"));
    const ProductData &data = response.getData();
    QCOMPARE(data.getPage_index(), 1);
    QCOMPARE(data.getPage_nums(), 0);
    QCOMPARE(data.getLists().size(), 2);
    const ProductBean &bean = data.getLists().at(0);
    QCOMPARE(bean.getImg_url(), QStringLiteral("http://x/a.png"));
    QCOMPARE(bean.getLanguages(), QStringList({QStringLiteral("EN"), QStringLiteral("CN")}));
    QCOMPARE(bean.getPro_code(), QStringLiteral("P1"));
    QCOMPARE(bean.getPro_id(), 77L);
    QCOMPARE(bean.getPro_name(), QStringLiteral("Scanner"));
    QCOMPARE(bean.getPro_type(), QStringLiteral("1"));
    QCOMPARE(bean.getReg_date(), QStringLiteral("2024-05-06"));
    QCOMPARE(bean.getSerial_number(), QStringLiteral("9876543210123"));
    QCOMPARE(data.getLists().at(1).getPro_id(), 0L);
    QVERIFY(data.getLists().at(1).getSerial_number().isEmpty());

    response.clear();
    QCOMPARE(response.getCode(), 0);
    QVERIFY(response.getMessage().isEmpty());
    QVERIFY(!response.isSuccess());
    QCOMPARE(response.getData().getPage_index(), 0);
    QVERIFY(response.getData().getLists().isEmpty());
}

void TestMapping::carAndLanguageLists()
{
    GetAllCarListAndLanguageListResponse response;
    QCOMPARE(ProductAction::parseAllCarListAndLanguageList(response, QStringLiteral(R"({
        "code": -1418, "success": false,
        "data": {"carList": [{"id": 3, "softId": "BMW", "langName": "English"}, "x", {"id": "4"}],
                 "languageList": [{"name": "Deutsch", "code": "DE"}, {"name": 1, "code": "FR"}]}})")), 200);
    QCOMPARE(response.getCode(), -1418);
    QVERIFY(!response.isSuccess());
    const AllCarListAndLanguageListData &data = response.getData();
    QCOMPARE(data.getCarList().size(), 2);
    QCOMPARE(data.getCarList().at(0).getId(), 3L);
    QCOMPARE(data.getCarList().at(0).getSoftId(), QStringLiteral("BMW"));
    QCOMPARE(data.getCarList().at(0).getLangName(), QStringLiteral("English"));
    QCOMPARE(data.getCarList().at(1).getId(), 0L);
    QCOMPARE(data.getLanguageList().size(), 2);
    QCOMPARE(data.getLanguageList().at(0).getName(), QStringLiteral("Deutsch"));
    QVERIFY(data.getLanguageList().at(1).getName().isEmpty());
    QCOMPARE(data.getLanguageList().at(1).getCode(), QStringLiteral("FR"));

    ReplaceEmptyCarConfigurationResponse replace;
    QCOMPARE(ProductAction::parseReplaceEmptyCarConfiguration(replace, QStringLiteral(
        R"({"code":1,"message":"done","success":true,"data":{"ignored":1}})")), 200);
    QCOMPARE(replace.getCode(), 1);
    QCOMPARE(replace.getMessage(), QStringLiteral("done"));
    QVERIFY(replace.isSuccess());
}

void TestMapping::countryListAppends()
{
    const QString body = QStringLiteral(
        R"({"code":1,"data":[{"id":49,"name":"Germany"},{"id":"1","name":"China"},"France"]})");
    CountryListResponse response;
    QCOMPARE(UserAction::parseCountryList(response, body), 200);
    QCOMPARE(UserAction::parseCountryList(response, body), 200);
    QCOMPARE(response.getData().size(), 4);
    CountryData germany;
    germany.setId(49);
    germany.setName(QStringLiteral("Germany"));
    QCOMPARE(response.getData().at(0), germany);
    QCOMPARE(response.getData().at(2), germany);
    QCOMPARE(response.getData().at(1).getId(), 0);
    QCOMPARE(response.getData().at(1).getName(), QStringLiteral("China"));
    QCOMPARE(response.getData().at(0).objectName(), QStringLiteral("CountryData"));
}

void TestMapping::copiesCarryValuesNotIdentity()
{
    QObject owner;
    SoftwareData original(&owner);
    original.setObjectName(QStringLiteral("renamed"));
    original.setId(9);
    original.getLanguages() << QStringLiteral("EN");
    SoftwareData patch;
    patch.setVersion(QStringLiteral("V1"));
    original.getPatch_version() << patch;

    const SoftwareData copy(original);
    QVERIFY(copy == original);
    QCOMPARE(copy.parent(), nullptr);
    QCOMPARE(copy.objectName(), QStringLiteral("data"));
    SoftwareData changed = copy;
    changed.getPatch_version()[0].setVersion(QStringLiteral("V2"));
    QVERIFY(changed != original);
    QCOMPARE(original.getPatch_version().at(0).getVersion(), QStringLiteral("V1"));

    // A response copy keeps its payload child in place, so the copy can be
    // parsed into again.
    QueryProductResponse response;
    QVERIFY(ProductAction::parseQueryProduct(response, QStringLiteral(
        R"({"code":1,"data":{"page_nums":2,"lists":[{"pro_id":5}]}})")) == 200);
    QueryProductResponse copied(response);
    QCOMPARE(copied.getCode(), 1);
    QCOMPARE(copied.getData().getPage_nums(), 2);
    QCOMPARE(copied.getData().getLists().at(0).getPro_id(), 5L);
    QCOMPARE(copied.findChild<ProductData *>(QStringLiteral("data")), &copied.getData());

    GetDownloadURLResponse url;
    QVERIFY(BaseAction::parse(&url, QStringLiteral(R"({"code":1,"data":{"url":"http://h/f.zip","out_time":"1"}})")));
    GetDownloadURLResponse assigned;
    assigned = url;
    QCOMPARE(assigned.getData().getUrl(), QStringLiteral("http://h/f.zip"));
    QVERIFY(BaseAction::parse(&assigned, QStringLiteral(R"({"data":{"url":"http://h/g.zip"}})")));
    QCOMPARE(assigned.getData().getUrl(), QStringLiteral("http://h/g.zip"));
    QCOMPARE(url.getData().getUrl(), QStringLiteral("http://h/f.zip"));
}

void TestMapping::responsesCrossThreadsByValue()
{
    // Workers hand results to the GUI thread through queued signals.
    Courier courier;
    QList<SoftwareData> received;
    QVariant receivedResponse;
    QObject sink;
    connect(&courier, &Courier::software, &sink, [&](const SoftwareData &d) { received << d; },
            Qt::QueuedConnection);
    connect(&courier, &Courier::products, &sink, [&](int, const QVariant &r) { receivedResponse = r; },
            Qt::QueuedConnection);
    QThread *worker = QThread::create([&courier] {
        QuerySoftwareResponse software;
        ProductAction::parseQuerySoftware(software, QStringLiteral(
            R"({"data":[{"id":3,"patch_version":[{"id":4}]}]})"));
        emit courier.software(software.getData().at(0));
        QueryProductResponse products;
        ProductAction::parseQueryProduct(products, QStringLiteral(
            R"({"code":-100,"data":{"lists":[{"serial_number":"S1"}]}})"));
        emit courier.products(200, QVariant::fromValue(products));
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.at(0).getPatch_version().at(0).getId(), 4L);
    QTRY_VERIFY(receivedResponse.isValid());
    const auto products = receivedResponse.value<QueryProductResponse>();
    QCOMPARE(products.getCode(), -100);
    QCOMPARE(products.getData().getLists().at(0).getSerial_number(), QStringLiteral("S1"));
}

QTEST_GUILESS_MAIN(TestMapping)
