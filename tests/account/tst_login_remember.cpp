#include "RememberFile.h"
#include "TestEnv.h"

#include <QFile>
#include <QTextCodec>
#include <QtTest>

namespace {
const QString Digest = QStringLiteral("0123456789abcdef0123456789abcdef");
}

class TestLoginRemember : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void scrambledLayout();
    void corruptRestoresNothing_data();
    void corruptRestoresNothing();
    void fileOnDisk();
};

void TestLoginRemember::initTestCase()
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
}

void TestLoginRemember::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("account");
    QTest::newRow("digest") << Digest << "alice@ostrel.test";
    QTest::newRow("short password") << "abcde" << "bob";
    QTest::newRow("no password") << "" << "bob@ostrel.test";
    QTest::newRow("non-ASCII") << QString::fromUtf8("пароль密码") << QString::fromUtf8("müller@例え.jp");
    QTest::newRow("long account") << Digest << QString(3000, QLatin1Char('x'));
}

void TestLoginRemember::roundTrip()
{
    QFETCH(QString, password);
    QFETCH(QString, account);
    RememberFile::Content out;
    QVERIFY(RememberFile::decode(RememberFile::encode({password, account}), &out));
    QCOMPARE(out.password, password);
    QCOMPARE(out.account, account);
}

void TestLoginRemember::scrambledLayout()
{
    const RememberFile::Content content{Digest, QStringLiteral("alice@ostrel.test")};
    const QByteArray a = RememberFile::encode(content);
    const QByteArray b = RememberFile::encode(content);
    QCOMPARE(a.size(), 32 + Digest.size() + 8 + content.account.size());
    // A fresh random block at every write, and nothing readable in it.
    QVERIFY(a != b);
    QVERIFY(!a.contains("alice"));
    QVERIFY(!a.contains(Digest.toLatin1()));
}

void TestLoginRemember::corruptRestoresNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = RememberFile::encode({Digest, QStringLiteral("alice@ostrel.test")}, QByteArray(31, '\x11'));
    const int separatorAt = 32 + Digest.size();

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("block only") << good.left(32);
    QTest::newRow("one payload byte") << good.left(33);
    QTest::newRow("cut in the password") << good.left(40);
    QTest::newRow("cut in the separator") << good.left(separatorAt + 4);
    QTest::newRow("cut after the separator") << good.left(separatorAt + 8);
    QTest::newRow("empty values") << RememberFile::encode({QString(), QString()});

    // Another key changes the block's bytes; its last byte then no longer
    // reads as zero.
    QByteArray otherKey = good;
    for (int i = 0; i < 32; ++i)
        otherKey[i] = char(otherKey.at(i) + 7 + i);
    QTest::newRow("another key") << otherKey;

    QByteArray noise(200, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 73 + 41) & 0xFF);
    QTest::newRow("noise") << noise;

    QTest::newRow("white space typed nowhere") << RememberFile::encode({QStringLiteral("pass word"), QStringLiteral("bob")});
    QTest::newRow("oversized") << (good + QByteArray(RememberFile::MaxFileSize, 'x'));
}

void TestLoginRemember::corruptRestoresNothing()
{
    QFETCH(QByteArray, bytes);
    RememberFile::Content out{QStringLiteral("untouched"), QStringLiteral("untouched")};
    QVERIFY(!RememberFile::decode(bytes, &out));
    QCOMPARE(out.password, QStringLiteral("untouched"));
    QCOMPARE(out.account, QStringLiteral("untouched"));
}

void TestLoginRemember::fileOnDisk()
{
    TestEnv env;
    const QString path = env.dataDir() + QStringLiteral("/user");
    RememberFile::Content out;
    QVERIFY(!RememberFile::read(path, &out)); // absent

    QVERIFY(RememberFile::write(path, {Digest, QStringLiteral("alice@ostrel.test")}));
    QVERIFY(RememberFile::read(path, &out));
    QCOMPARE(out.account, QStringLiteral("alice@ostrel.test"));
    // Readable by its owner alone, even where an older copy was not.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFileInfo(path).permissions() & others, QFileDevice::Permissions());
    QVERIFY(QFile::setPermissions(path, QFileInfo(path).permissions() | QFileDevice::ReadOther));
    QVERIFY(RememberFile::write(path, {Digest, QStringLiteral("alice@ostrel.test")}));
    QCOMPARE(QFileInfo(path).permissions() & others, QFileDevice::Permissions());

    // A rewrite replaces the whole file, a shorter one included.
    QVERIFY(RememberFile::write(path, {QStringLiteral("abcde"), QStringLiteral("b")}));
    QCOMPARE(QFileInfo(path).size(), qint64(32 + 5 + 8 + 1));

    // A folder in its place cannot be written.
    QVERIFY(!RememberFile::write(env.makeDir(QStringLiteral("folder")), {Digest, QStringLiteral("x")}));
}

QTEST_GUILESS_MAIN(TestLoginRemember)
#include "tst_login_remember.moc"
