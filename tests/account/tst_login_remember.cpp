#include "PrivateFile.h"
#include "RememberFile.h"
#include "TestEnv.h"

#include <QFile>
#include <QScopeGuard>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>

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
    void privateFromTheFirstByte();
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

// Secret files are never readable by others, not even for a moment: made
// owner-only before their first byte, whatever the umask, never through a
// link, and replaced whole.
void TestLoginRemember::privateFromTheFirstByte()
{
    TestEnv env;
    const mode_t umask = ::umask(0);
    const auto restore = qScopeGuard([umask] { ::umask(umask); });
    const auto modeOf = [](const QString &path) {
        struct stat st;
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };
    // Made with their final mode, never narrowed afterwards: no moment
    // when another user could open them and keep reading.
    const QString fresh = env.dataDir() + QStringLiteral("/Preference.ini");
    const QString remembered = env.dataDir() + QStringLiteral("/remembered");
    const QStringList narrowed = TestEnv::attributeChanges(env.dataDir(), [&] {
        QVERIFY(PrivateFile::prepare(fresh));
        QVERIFY(RememberFile::write(remembered, {Digest, QStringLiteral("bob")}));
    });
    QVERIFY2(narrowed.isEmpty(), qPrintable(narrowed.join(QLatin1Char(' '))));
    QCOMPARE(QFileInfo(fresh).size(), qint64(0));
    QCOMPARE(modeOf(fresh), 0600);
    QCOMPARE(modeOf(remembered), 0600);

    const QString loose = env.dataDir() + QStringLiteral("/loose.ini");
    QVERIFY(TestEnv::writeFile(loose, "token=t"));
    QVERIFY(::chmod(QFile::encodeName(loose).constData(), 0666) == 0);
    QVERIFY(PrivateFile::prepare(loose));
    QCOMPARE(modeOf(loose), 0600);
    QCOMPARE(TestEnv::readFile(loose), QByteArray("token=t"));

    const QString victim = env.root() + QStringLiteral("/victim");
    QVERIFY(TestEnv::writeFile(victim, "v"));
    QVERIFY(::chmod(QFile::encodeName(victim).constData(), 0644) == 0);
    const QString link = env.dataDir() + QStringLiteral("/user");
    QVERIFY(QFile::link(victim, link));
    QVERIFY(!PrivateFile::prepare(link));
    QCOMPARE(modeOf(victim), 0644);
    // A write replaces the link itself, never what it points at.
    QVERIFY(RememberFile::write(link, {Digest, QStringLiteral("alice@ostrel.test")}));
    QCOMPARE(modeOf(link), 0600);
    QCOMPARE(TestEnv::readFile(victim), QByteArray("v"));
    QCOMPARE(QDir(env.dataDir()).entryList(QDir::Files | QDir::Hidden).size(), 4); // no temporary file left
}

QTEST_GUILESS_MAIN(TestLoginRemember)
#include "tst_login_remember.moc"
