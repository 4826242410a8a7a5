#include "tst_requests.h"

#include <Sornet/Sornet.h>

#include <QJsonObject>
#include <QtTest>

namespace {

enum Endpoint {
    Login, RegisterUser, CheckUser, SendCaptcha, ResetPassword, ModifyPassword, GetUserInfo,
    ModifyUserInfo, GetCountryList, QueryProduct, QuerySoftware, GetAllCars, ReplaceEmptyCar,
    Feedback, GetDownloadUrl
};

template<typename P>
void signIn(P &param)
{
    param.setToken(QStringLiteral("tok"));
    param.setUser_id(1001);
}

// Issues one request with representative values; returns the status.
int call(Endpoint endpoint)
{
    UserAction user;
    ProductAction product;
    DownloadAction download;
    switch (endpoint) {
    case Login: {
        LoginParam p;
        p.setUser_name(QStringLiteral("alice@ostrel.test"));
        p.setPassword(QStringLiteral("alice123"));
        LoginResponse r;
        return user.login(r, p);
    }
    case RegisterUser: {
        RegisterUserParam p;
        p.setUser_name(QStringLiteral("new@ostrel.test"));
        p.setEmail(QStringLiteral("new@ostrel.test"));
        p.setPassword(QStringLiteral("secret1"));
        p.setCAPTCHA(QStringLiteral("1234"));
        p.setFirst_name(QStringLiteral("First"));
        p.setLast_name(QStringLiteral("Last"));
        p.setPhone(QStringLiteral("555"));
        RegisterUserResponse r;
        return user.registerUser(r, p);
    }
    case CheckUser: {
        CheckUserParam p;
        p.setUser_name(QStringLiteral("bob@ostrel.test"));
        CheckUserResponse r;
        return user.checkUser(r, p);
    }
    case SendCaptcha: {
        CAPTCHAParam p;
        p.setEmail(QStringLiteral("new@ostrel.test"));
        CAPTCHAResponse r;
        return user.sendCAPTCHA(r, p);
    }
    case ResetPassword: {
        ResetPasswordParam p;
        p.setEmail(QStringLiteral("bob@ostrel.test"));
        p.setPassword(QStringLiteral("newpass1"));
        p.setYzm(QStringLiteral("1234"));
        ResetPasswordResponse r;
        return user.resetPassword(r, p);
    }
    case ModifyPassword: {
        ModifyPasswordParam p;
        signIn(p);
        p.setPassword(QStringLiteral("n"));
        p.setOld_password(QStringLiteral("o"));
        ModifyPasswordResponse r;
        return user.modifyPassword(r, p);
    }
    case GetUserInfo: {
        GetUserInfoParam p;
        signIn(p);
        GetUserInfoResponse r;
        return user.getUserInfo(r, p);
    }
    case ModifyUserInfo: {
        ModifyUserInfoParam p;
        signIn(p);
        p.setTelephone(QStringLiteral("555"));
        p.setCountry_id(2);
        ModifyUserInfoResponse r;
        return user.modifyUserInfo(r, p);
    }
    case GetCountryList: {
        CountryListParam p;
        p.setLanguage_code(QStringLiteral("zh"));
        CountryListResponse r;
        return user.getCountryList(r, p);
    }
    case QueryProduct: {
        QueryProductParam p;
        signIn(p);
        QueryProductResponse r;
        return product.queryProduct(r, p);
    }
    case QuerySoftware: {
        QuerySoftwareParam p;
        signIn(p);
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        p.setLang_code(QStringLiteral("de"));
        p.setDefault_lang_code(QStringLiteral("en"));
        QuerySoftwareResponse r;
        return product.querySoftware(r, p);
    }
    case GetAllCars: {
        GetAllCarListAndLanguageListParam p;
        signIn(p);
        p.setLang_name(QStringLiteral("English"));
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        GetAllCarListAndLanguageListResponse r;
        return product.getAllCarListAndLanguageList(r, p);
    }
    case ReplaceEmptyCar: {
        ReplaceEmptyCarConfigurationParam p;
        signIn(p);
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        p.setCarId(QStringLiteral("3,4"));
        p.setLanguanges(QStringLiteral("en,de"));
        ReplaceEmptyCarConfigurationResponse r;
        return product.replaceEmptyCarConfiguration(r, p);
    }
    case Feedback: {
        FeedbackUpdateInfoParam p;
        signIn(p);
        p.setId(10);
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        p.setDown_time(1717000000);
        p.setStatus(-2);
        FeedbackUpdateInfoResponse r;
        return product.feedbackUpdateInfo(r, p);
    }
    case GetDownloadUrl: {
        GetDownloadURLParam p;
        signIn(p);
        p.setId(10);
        p.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
        GetDownloadURLResponse r;
        return download.getDownloadURL(&r, p);
    }
    }
    return 0;
}

} // namespace

void TestRequests::initTestCase()
{
    QVERIFY(mService.start());
    mService.exportEnvironment();
}

void TestRequests::init()
{
    QVERIFY(mService.reset());
}

void TestRequests::endpoints_data()
{
    QTest::addColumn<int>("endpoint");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("params");

    const QString s = QStringLiteral("token=tok&user_id=1001");
    QTest::newRow("login") << int(Login) << "POST" << "/KvaApi/user/login"
                           << QStringLiteral("user_name=alice%40ostrel.test&password=") + BaseAction::MD5(QStringLiteral("alice123"));
    // Names and phone stay home; an unset country goes as 0; the password is not hashed.
    QTest::newRow("registerUser") << int(RegisterUser) << "POST" << "/KvaApi/user/register"
                                  << "user_name=new%40ostrel.test&password=secret1&email=new%40ostrel.test"
                                     "&country_id=0&yzm=1234";
    QTest::newRow("checkUser") << int(CheckUser) << "POST" << "/KvaApi/user/check_name"
                               << "user_name=bob%40ostrel.test";
    QTest::newRow("sendCAPTCHA") << int(SendCaptcha) << "POST" << "/KvaApi/tools/send_yzm"
                                 << "email=new%40ostrel.test&type=1";
    QTest::newRow("resetPassword e-mail as user_name")
        << int(ResetPassword) << "POST" << "/KvaApi/user/forget_pwd"
        << "password=newpass1&user_name=bob%40ostrel.test&yzm=1234";
    QTest::newRow("modifyPassword") << int(ModifyPassword) << "POST" << "/KvaApi/user/update_pwd"
                                    << s + QStringLiteral("&password=n&old_password=o");
    QTest::newRow("getUserInfo") << int(GetUserInfo) << "POST" << "/KvaApi/user/get_info" << s;
    QTest::newRow("modifyUserInfo all fifteen keys")
        << int(ModifyUserInfo) << "POST" << "/KvaApi/user/info"
        << s + QStringLiteral("&address=&city=&company=&country_id=2&email=&fax=&first_name=&last_name=&middle_name="
               "&nick_name=&province=&telphone=555&zip=");
    QTest::newRow("getCountryList") << int(GetCountryList) << "POST" << "/KvaApi/tools/country_lists"
                                    << "language_code=zh";
    QTest::newRow("queryProduct") << int(QueryProduct) << "GET" << "/KvaApi/user/pro_search" << s;
    QTest::newRow("querySoftware") << int(QuerySoftware) << "GET" << "/KvaApi/user/soft_search"
                                   << s + QStringLiteral("&serial_number=ABCDEFGHIJKLM&lang_code=de&default_lang_code=en");
    QTest::newRow("getAllCarListAndLanguageList")
        << int(GetAllCars) << "GET" << "/KvaApi/tools/get_allCarsAndLanguages"
        << s + QStringLiteral("&lang_name=English&serial_number=ABCDEFGHIJKLM");
    QTest::newRow("replaceEmptyCarConfiguration")
        << int(ReplaceEmptyCar) << "POST" << "/KvaApi/tools/replaceEmptyCar"
        << s + QStringLiteral("&serial_number=ABCDEFGHIJKLM&carId=3%2C4&languages=en%2Cde");
    QTest::newRow("feedbackUpdateInfo") << int(Feedback) << "GET" << "/KvaApi/soft/download_feedback"
                                        << s + QStringLiteral("&id=10&serial_number=ABCDEFGHIJKLM&down_time=1717000000&status=-2");
    QTest::newRow("getDownloadURL") << int(GetDownloadUrl) << "GET" << "/KvaApi/soft/download"
                                    << s + QStringLiteral("&id=10&serial_number=ABCDEFGHIJKLM");
}

void TestRequests::endpoints()
{
    QFETCH(int, endpoint);
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(QString, params);

    QCOMPARE(call(Endpoint(endpoint)), 200);
    const QJsonArray log = mService.requestLog();
    QCOMPARE(log.size(), 1);
    const QJsonObject request = log.at(0).toObject();
    QCOMPARE(request.value(QStringLiteral("method")).toString(), method);
    QCOMPARE(request.value(QStringLiteral("path")).toString(), path);
    const QJsonObject headers = request.value(QStringLiteral("headers")).toObject();
    if (method == QLatin1String("GET")) {
        QCOMPARE(request.value(QStringLiteral("query")).toString(), params);
        QVERIFY(request.value(QStringLiteral("body")).toString().isEmpty());
        QCOMPARE(headers.value(QStringLiteral("Content-Type")).toString(), QStringLiteral("application/json"));
    } else {
        QCOMPARE(request.value(QStringLiteral("body")).toString(), params);
        QVERIFY(request.value(QStringLiteral("query")).toString().isEmpty());
        QCOMPARE(headers.value(QStringLiteral("Content-Type")).toString(),
                 QStringLiteral("application/x-www-form-urlencoded"));
    }
}

void TestRequests::loginPasswordRule_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("hashed");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("31 characters") << QString(31, QLatin1Char('x')) << true;
    // Taken for a stored digest, even when typed.
    QTest::newRow("32 characters") << QString(32, QLatin1Char('x')) << false;
    QTest::newRow("33 characters") << QString(33, QLatin1Char('x')) << true;
}

void TestRequests::loginPasswordRule()
{
    QFETCH(QString, password);
    QFETCH(bool, hashed);
    UserAction action;
    LoginParam param;
    param.setUser_name(QStringLiteral("bob"));
    param.setPassword(password);
    LoginResponse response;
    QCOMPARE(action.login(response, param), 200);
    const QJsonArray log = mService.requestsTo(QStringLiteral("/KvaApi/user/login"));
    QCOMPARE(log.size(), 1);
    const QString sent = hashed ? BaseAction::MD5(password) : password;
    QCOMPARE(log.at(0).toObject().value(QStringLiteral("body")).toString(),
             QStringLiteral("user_name=bob&password=") + sent);
}

void TestRequests::valuesArePercentEncoded_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("separators") << "a&b=c" << "a%26b%3Dc";
    QTest::newRow("plus and space") << "1 + 1" << "1%20%2B%201";
    QTest::newRow("unreserved kept") << "Az09-._~" << "Az09-._~";
    QTest::newRow("non-ascii") << QString::fromUtf8("Müller 中") << "M%C3%BCller%20%E4%B8%AD";
    QTest::newRow("percent and slash") << "50%/x?" << "50%25%2Fx%3F";
    QTest::newRow("empty") << QString() << QString();
}

void TestRequests::valuesArePercentEncoded()
{
    QFETCH(QString, value);
    QFETCH(QString, encoded);
    // Once in a form body, once in a query string.
    UserAction user;
    CheckUserParam check;
    check.setUser_name(value);
    CheckUserResponse checked;
    QCOMPARE(user.checkUser(checked, check), 200);
    ProductAction product;
    QuerySoftwareParam query;
    query.setToken(value);
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, query), 200);

    const QJsonArray log = mService.requestLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log.at(0).toObject().value(QStringLiteral("body")).toString(), QStringLiteral("user_name=") + encoded);
    QVERIFY(log.at(1).toObject().value(QStringLiteral("query")).toString()
                .startsWith(QStringLiteral("token=") + encoded + QStringLiteral("&user_id=0&")));
}

void TestRequests::answersFillResponses()
{
    UserAction user;
    LoginParam login;
    login.setUser_name(QStringLiteral("alice@ostrel.test"));
    login.setPassword(QStringLiteral("alice123"));
    LoginResponse signedIn;
    QCOMPARE(user.login(signedIn, login), 200);
    QCOMPARE(signedIn.getCode(), 1);
    QVERIFY(signedIn.isSuccess());
    QCOMPARE(signedIn.getData().getUser_id(), 1001L);
    QCOMPARE(signedIn.getData().getToken(), QStringLiteral("token-alice"));

    GetUserInfoParam infoParam;
    infoParam.setToken(signedIn.getData().getToken());
    infoParam.setUser_id(signedIn.getData().getUser_id());
    GetUserInfoResponse info;
    QCOMPARE(user.getUserInfo(info, infoParam), 200);
    QCOMPARE(info.getCode(), 1);
    QCOMPARE(info.getData().getTelephone(), QStringLiteral("+49 30 1234567"));
    QCOMPARE(info.getData().getCountry_id(), 2);

    // A rejected token still completes the exchange; the verdict is in code.
    infoParam.setToken(QStringLiteral("token-expired"));
    infoParam.setUser_id(1007);
    GetUserInfoResponse expired;
    QCOMPARE(user.getUserInfo(expired, infoParam), 200);
    QVERIFY(expired.getCode() != 1);
    QVERIFY(!expired.isSuccess());
    QVERIFY(expired.getData() == UserInfoData());

    CountryListParam countryParam;
    CountryListResponse countries;
    QCOMPARE(user.getCountryList(countries, countryParam), 200);
    QCOMPARE(countries.getData().size(), 5);
    QCOMPARE(user.getCountryList(countries, countryParam), 200);
    QCOMPARE(countries.getData().size(), 10);

    ProductAction product;
    QueryProductParam productParam;
    productParam.setToken(QStringLiteral("token-alice"));
    productParam.setUser_id(1001);
    QueryProductResponse products;
    QCOMPARE(product.queryProduct(products, productParam), 200);
    QCOMPARE(products.getCode(), 1);
    QVERIFY(!products.getData().getLists().isEmpty());
    QCOMPARE(products.getData().getLists().at(0).getSerial_number(), QStringLiteral("ABCDEFGHIJKLM"));

    QuerySoftwareParam softwareParam;
    softwareParam.setToken(QStringLiteral("token-alice"));
    softwareParam.setUser_id(1001);
    softwareParam.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
    softwareParam.setLang_code(QStringLiteral("en"));
    softwareParam.setDefault_lang_code(QStringLiteral("en"));
    QuerySoftwareResponse software;
    QCOMPARE(product.querySoftware(software, softwareParam), 200);
    QCOMPARE(software.getCode(), 1);
    bool sawHistory = false;
    for (const SoftwareData &package : qAsConst(software.getData())) {
        QVERIFY(package.getId() > 0);
        if (package.getSoft_id() == QLatin1String("BENZ") && !package.getVersion_history().isEmpty())
            sawHistory = true;
    }
    QVERIFY(sawHistory);

    DownloadAction download;
    GetDownloadURLParam urlParam;
    urlParam.setToken(QStringLiteral("token-alice"));
    urlParam.setUser_id(1001);
    urlParam.setId(10);
    urlParam.setSerial_number(QStringLiteral("ABCDEFGHIJKLM"));
    GetDownloadURLResponse url;
    QCOMPARE(download.getDownloadURL(&url, urlParam), 200);
    QCOMPARE(url.getCode(), 1);
    QVERIFY(url.getData().getUrl().endsWith(QLatin1String(".zip")));
}

QTEST_GUILESS_MAIN(TestRequests)
