#include "ComplaintView.h"
#include "StandInService.h"
#include "TestEnv.h"

#include <QApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrlQuery>
#include <QUuid>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

// A failed wait ends the calling test too.
#define WAIT_FOR_FORMS(n)                  \
    do {                                   \
        waitForForms(n);                   \
        if (QTest::currentTestFailed())    \
            return;                        \
    } while (false)

namespace {
const QString kForm = QStringLiteral("/complain-add");

QUrlQuery queryOf(const QJsonArray &log, int i)
{
    return QUrlQuery(log.at(i).toObject().value(QStringLiteral("query")).toString());
}
} // namespace

class TestComplaint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formAddress_data();
    void formAddress();
    void everyVisitLoadsTheForm();
    void userIdZeroIsSent();
    void otherPagesLeaveTheViewAlone();
    void tokenStaysOffTheDisk();
    void plainHttpFormIsNotLoaded();

private:
    // Waits until the stand-in has served `count` form requests and the view has finished loading.
    void waitForForms(int count);

    std::unique_ptr<TestEnv> mEnv;
    StandInService mService;
    std::unique_ptr<ComplaintView> mView;
    std::unique_ptr<QSignalSpy> mLoaded;
};

void TestComplaint::initTestCase()
{
    mEnv = std::make_unique<TestEnv>();
    QVERIFY(mService.start());
    mService.exportEnvironment();
}

void TestComplaint::init()
{
    QVERIFY(mService.clearLog());
    mView = std::make_unique<ComplaintView>(nullptr, QSize(930, 760));
    mLoaded = std::make_unique<QSignalSpy>(mView->webView(), &QWebEngineView::loadFinished);
    mView->show();
}

void TestComplaint::cleanup()
{
    mLoaded.reset();
    mView.reset();
}

void TestComplaint::waitForForms(int count)
{
    QTRY_COMPARE_WITH_TIMEOUT(mService.requestsTo(kForm).size(), count, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(mLoaded->size(), count, 30000);
}

void TestComplaint::formAddress_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("userId");
    QTest::addColumn<QString>("tail"); // after the web host

    QTest::newRow("signed in") << QStringLiteral("token-alice") << 1001
                               << QStringLiteral("complain-add?token=token-alice&user_id=1001");
    QTest::newRow("no user") << QString() << 0 << QStringLiteral("complain-add?token=&user_id=0");
    // Handed to the tolerant parser as it is: a blank is encoded, nothing else changes.
    QTest::newRow("blank in token") << QStringLiteral("a b") << 7
                                    << QStringLiteral("complain-add?token=a%20b&user_id=7");
}

void TestComplaint::formAddress()
{
    QFETCH(QString, token);
    QFETCH(int, userId);
    QFETCH(QString, tail);
    const QUrl url = ComplaintView::formUrl(token, userId);
    QCOMPARE(url.toString(QUrl::FullyEncoded), mService.webUrl().toString() + tail);
}

void TestComplaint::everyVisitLoadsTheForm()
{
    QCOMPARE(mView->size(), QSize(930, 760));
    QCOMPARE(mView->webView()->size(), QSize(930, 725));

    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-alice"), 1001);
    WAIT_FOR_FORMS(1);
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-alice"), 1001);
    WAIT_FOR_FORMS(2);

    const QJsonArray log = mService.requestsTo(kForm);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(queryOf(log, i).queryItemValue(QStringLiteral("token")), QStringLiteral("token-alice"));
        QCOMPARE(queryOf(log, i).queryItemValue(QStringLiteral("user_id")), QStringLiteral("1001"));
    }
    QVERIFY(mLoaded->at(1).at(0).toBool());
    QCOMPARE(mView->webView()->title(), QStringLiteral("Complaint"));
}

void TestComplaint::userIdZeroIsSent()
{
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-bob"), 0);
    WAIT_FOR_FORMS(1);
    const QUrlQuery query = queryOf(mService.requestsTo(kForm), 0);
    QVERIFY(query.hasQueryItem(QStringLiteral("user_id")));
    QCOMPARE(query.queryItemValue(QStringLiteral("user_id")), QStringLiteral("0"));
}

void TestComplaint::otherPagesLeaveTheViewAlone()
{
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-alice"), 1001);
    WAIT_FOR_FORMS(1);
    const QUrl shown = mView->webView()->url();

    for (const char *id : {"DOWNLOAD", "USERINFO", "SETTING", "UNISTALL", "complaint"})
        mView->OnUpdateView(QString::fromLatin1(id), QStringLiteral("token-other"), 5);
    QCOMPARE(mView->webView()->url(), shown);
    QCOMPARE(mView->token(), QStringLiteral("token-alice"));
    QCOMPARE(mView->userId(), 1001);

    // The next real visit is the second request: the ignored ids made none.
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-bob"), 1002);
    WAIT_FOR_FORMS(2);
    QCOMPARE(queryOf(mService.requestsTo(kForm), 1).queryItemValue(QStringLiteral("user_id")),
             QStringLiteral("1002"));
}

// The form's address carries the token: nothing of it may stay on disk.
void TestComplaint::tokenStaysOffTheDisk()
{
    const QString token = QStringLiteral("token-") + QUuid::createUuid().toString(QUuid::Id128);
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), token, 1001);
    WAIT_FOR_FORMS(1);
    QTest::qWait(1000); // the engine writes its cache a moment later
    mLoaded.reset();
    mView.reset();
    QTest::qWait(500);
    QStringList holders;
    for (const QString &root :
         {QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation),
          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), mEnv->root()}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(token.toLatin1()))
                holders << file.fileName();
        }
    }
    QVERIFY2(holders.isEmpty(), qPrintable(holders.join(QLatin1Char(' '))));
    mView = std::make_unique<ComplaintView>(nullptr, QSize(930, 760));
}

void TestComplaint::plainHttpFormIsNotLoaded()
{
    qputenv("OSTREL_WEB_URL", "http://forms.ostrel.test/");
    mView->OnUpdateView(QStringLiteral("COMPLAINT"), QStringLiteral("token-alice"), 1001);
    mService.exportEnvironment();
    QVERIFY(!mView->webView()->page()->requestedUrl().toString().contains(QLatin1String("token-alice")));
}

int main(int argc, char **argv)
{
    // The web view shares GL contexts; this must precede the application object.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    TestComplaint test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_complaint.moc"
