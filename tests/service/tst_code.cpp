// Result codes and their messages, in English and under a translator.
#include <Sornet/Code.h>

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

namespace {

// Marks every text it is asked for, so that the test sees which texts went
// through translation and under which context.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        return QString::fromLatin1(context) + QLatin1String(": ") + QString::fromUtf8(sourceText);
    }
};

} // namespace

class TestCode : public QObject
{
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
    void everyConstantHasAMessage();
    void serviceTextsFollowTheTranslator();
};

void TestCode::messages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("success") << 1 << "Success";
    QTest::newRow("no answer / login") << -1 << "Login failed.";
    QTest::newRow("token") << Code::CODE_ERROR_TOKEN << "User authentication failed!Please login again!";
    QTest::newRow("disabled id") << -1312
                                 << "Your Kestavo ID is disabled.Please contact Kestavo to get support.";
    QTest::newRow("not reconfigurable") << -1418 << "No need to reconfigure vehicle software!";
    QTest::newRow("last service code") << -1901 << "The mailbox format is incorrect!";
    QTest::newRow("404") << 404 << "Not Found";
    QTest::newRow("first http") << 100 << "Continue";
    QTest::newRow("last http") << 505 << "HTTP Version Not Supported";
    QTest::newRow("416") << 416 << "Requested Range Not Satisfiable";
    QTest::newRow("zero") << 0 << QString();
    QTest::newRow("gap in service codes") << -1405 << QString();
    QTest::newRow("306") << 306 << QString();
    QTest::newRow("415") << 415 << QString();
    QTest::newRow("418") << 418 << QString();
    QTest::newRow("above 505") << 506 << QString();
}

void TestCode::messages()
{
    QFETCH(int, code);
    QTEST(Code().getMessageByCode(code), "message");
}

void TestCode::everyConstantHasAMessage()
{
    const Code code;
    const int constants[] = {
        Code::CODE_SUCCESS, Code::CODE_ERROR_LOGIN, Code::CODE_ERROR_TOKEN, Code::CODE_ERROR_TOKEN_OVERTIME,
        Code::CODE_ERROR_SIGNATURE_VERIFICATION, Code::CODE_ERROR_SERVER, Code::CODE_ERROR_SERVER_EXCEPTION,
        Code::CODE_ERROR_PARAM_MISSING, Code::CODE_ERROR_SESSION_TIME_OUT, Code::CODE_ERROR_REQUEST,
        Code::CODE_ERROR_PARAM_REDUPLICATE, Code::CODE_ERROR_EMAIL_FORMAT, Code::CODE_ERROR_VERIFICATION_CODE_SEND,
        Code::CODE_ERROR_VERIFICATION_CODE, Code::CODE_ERROR_JSON_EXCEPTION, Code::CODE_ERROR_REGISTRATION,
        Code::CODE_ERROR_NAME_OR_PASSWORD_LENGTH, Code::CODE_ERROR_USER_EXISTS, Code::CODE_ERROR_USER_NOT_EXISTS,
        Code::CODE_ERROR_PASSWORD, Code::CODE_ERROR_USER_DISABLE, Code::CODE_ERROR_USER_AUDITING,
        Code::CODE_ERROR_RESET_PASSWORD, Code::CODE_ERROR_PASSWORD_LENGTH, Code::CODE_ERROR_MODIFY_PASSWORD,
        Code::CODE_ERROR_MODIFY_EMAIL, Code::CODE_ERROR_MODIFY_EMAIL2, Code::CODE_ERROR_MODIFY_USER_INFO,
        Code::CODE_ERROR_NO_SN_PARAM, Code::CODE_ERROR_SN_NOT_BELONGING_TO_USER, Code::CODE_ERROR_SN_NOT_EXISTS,
        Code::CODE_ERROR_SN_UNRELATED_ORDER, Code::CODE_ERROR_SN_CONFIG_EXCEPTION, Code::CODE_ERROR_NO_LANGUAGE_PARAM,
        Code::CODE_ERROR_NOT_SUPPORT_LANGUAGE, Code::CODE_ERROR_PRODUCT_PACKAGE_UNRELATED_SOFTWARE,
        Code::CODE_ERROR_AUTO_CHANGE_CONFIG, Code::CODE_ERROR_NOT_CONTAIN_EMPTY, Code::CODE_ERROR_EMPTY_SOFT_ID,
        Code::CODE_ERROR_INQUIRY_SOFT_INFO, Code::CODE_ERROR_DELETE_PRODUCT, Code::CODE_ERROR_FILL_IN_INFO,
        Code::CODE_ERROR_VERIFICATION_CODE2, Code::CODE_ERROR_EMAIL_FORMAT2, Code::CODE_ERROR_EMAIL_USED,
        Code::CODE_ERROR_APPLICATION, Code::CODE_ERROR_EMPTY_EMAIL, Code::CODE_ERROR_EMAIL_FORMAT3,
        Code::CODE_ERROR_NETWORK_100, Code::CODE_ERROR_NETWORK_101, Code::CODE_ERROR_NETWORK_200,
        Code::CODE_ERROR_NETWORK_201, Code::CODE_ERROR_NETWORK_202, Code::CODE_ERROR_NETWORK_203,
        Code::CODE_ERROR_NETWORK_204, Code::CODE_ERROR_NETWORK_205, Code::CODE_ERROR_NETWORK_206,
        Code::CODE_ERROR_NETWORK_300, Code::CODE_ERROR_NETWORK_301, Code::CODE_ERROR_NETWORK_302,
        Code::CODE_ERROR_NETWORK_303, Code::CODE_ERROR_NETWORK_304, Code::CODE_ERROR_NETWORK_305,
        Code::CODE_ERROR_NETWORK_307, Code::CODE_ERROR_NETWORK_400, Code::CODE_ERROR_NETWORK_401,
        Code::CODE_ERROR_NETWORK_403, Code::CODE_ERROR_NETWORK_404, Code::CODE_ERROR_NETWORK_405,
        Code::CODE_ERROR_NETWORK_406, Code::CODE_ERROR_NETWORK_407, Code::CODE_ERROR_NETWORK_408,
        Code::CODE_ERROR_NETWORK_409, Code::CODE_ERROR_NETWORK_410, Code::CODE_ERROR_NETWORK_411,
        Code::CODE_ERROR_NETWORK_412, Code::CODE_ERROR_NETWORK_413, Code::CODE_ERROR_NETWORK_414,
        Code::CODE_ERROR_NETWORK_416, Code::CODE_ERROR_NETWORK_500, Code::CODE_ERROR_NETWORK_501,
        Code::CODE_ERROR_NETWORK_502, Code::CODE_ERROR_NETWORK_503, Code::CODE_ERROR_NETWORK_504,
        Code::CODE_ERROR_NETWORK_505};
    QSet<int> seen;
    for (int value : constants) {
        QVERIFY2(!code.getMessageByCode(value).isEmpty(), qPrintable(QString::number(value)));
        QVERIFY2(!seen.contains(value), "two constants share a value");
        seen.insert(value);
    }
    QCOMPARE(seen.size(), 85);
}

void TestCode::serviceTextsFollowTheTranslator()
{
    const Code before;
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const Code translated;
    QCoreApplication::removeTranslator(&translator);
    const Code after;

    QCOMPARE(translated.getMessageByCode(1), QStringLiteral("Code: Success"));
    QCOMPARE(translated.getMessageByCode(-1311), QStringLiteral("Code: Logon password error!"));
    // HTTP reason phrases are never translated.
    QCOMPARE(translated.getMessageByCode(404), QStringLiteral("Not Found"));
    QCOMPARE(translated.getMessageByCode(500), QStringLiteral("Internal Server Error"));
    // Texts are fixed when the object is built.
    QCOMPARE(before.getMessageByCode(1), QStringLiteral("Success"));
    QCOMPARE(after.getMessageByCode(1), QStringLiteral("Success"));
}

QTEST_GUILESS_MAIN(TestCode)
#include "tst_code.moc"
