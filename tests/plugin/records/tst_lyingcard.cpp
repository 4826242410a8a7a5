// A card that gives back other bytes than it was given (a FUSE file system
// over a folder, its written pages kept in the kernel's cache as on a real
// card): the install fails before anything installed is touched, the card
// check finds the package damaged; the same card telling the truth installs
// and checks intact.
#include "CardCheck.h"
#include "InstallAsUpgrade.h"
#include "InstallTestSupport.h"
#include "LyingCard.h"
#include "ManifestStore.h"
#include "UpdateHistory.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

using namespace InstallTest;

namespace {
const QString Serial = QStringLiteral("LYINGCARD0001");
const QString Lied = QStringLiteral("The SD card gave back different data than was written to it: it may be failing or "
                                    "counterfeit. The installed version was kept.");
} // namespace

class TestLyingCard : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    LyingCard mCard;
    QString mBacking;
    QString mMount;
    QString mArchive;
    QByteArray mProgram; // the new HOME.bin: whole pages, which the cache keeps
    int mRuns = 0;

    Card card() const { return Card(mMount + QLatin1Char('/'), Serial); }

    UpgradeJob::Result installHome()
    {
        Package home;
        home.id = 1;
        home.softId = QStringLiteral("HOME");
        home.name = QStringLiteral("Home");
        home.version = QStringLiteral("V2.10");
        home.card = card();
        home.installedFolder = QStringLiteral("Vehicles/HOME/");
        home.installedVersion = QStringLiteral("V2.00");
        return installAsUpgrade(home, mArchive);
    }

    QList<CardCheck::Finding> checkCard(CardCheck::End *end)
    {
        CardCheck check;
        QSignalSpy finished(&check, &CardCheck::finished);
        check.start(card());
        finished.wait(30000);
        *end = check.end();
        return check.findings();
    }

private slots:
    void initTestCase()
    {
        if (!LyingCard::hasFuse())
            QSKIP("no /dev/fuse on this machine: a card that lies cannot be mounted");
        mProgram.resize(3 * 4096);
        QRandomGenerator(25).fillRange(reinterpret_cast<quint32 *>(mProgram.data()), mProgram.size() / 4);
        Entry program = file("Vehicles/HOME/HOME.bin", mProgram);
        program.deflate = false;
        mArchive = mEnv.root() + QStringLiteral("/home_V2.10.zip");
        QVERIFY(TestEnv::writeFile(mArchive, archiveOf({file("Vehicles/HOME/version.txt", "V2.10"), program})));
    }

    // A card with HOME V2.00 and a file of its own, nothing recorded.
    void init()
    {
        ++mRuns;
        mBacking = mEnv.makeDir(QStringLiteral("backing%1").arg(mRuns));
        mMount = mEnv.makeDir(QStringLiteral("mount%1").arg(mRuns));
        QVERIFY(TestEnv::writeFile(mBacking + QStringLiteral("/sn.txt"), Serial.toLatin1()));
        QVERIFY(TestEnv::writeFile(mBacking + QStringLiteral("/Vehicles/HOME/version.txt"), "V2.00"));
        QVERIFY(TestEnv::writeFile(mBacking + QStringLiteral("/Vehicles/HOME/HOME.bin"), QByteArray(5000, 'o')));
        QVERIFY(TestEnv::writeFile(mBacking + QStringLiteral("/Vehicles/HOME/Res/settings.txt"), "kept"));
        QDir(ManifestStore().folder()).removeRecursively();
        QFile::remove(UpdateHistory().path());
    }

    void cleanup() { mCard.unmount(); }

    void install_data()
    {
        QTest::addColumn<QString>("lie");
        QTest::newRow("the card gives back what it was given") << QString();
        QTest::newRow("the card changes HOME.bin when it is read back") << QStringLiteral("HOME.bin");
    }
    void install()
    {
        QFETCH(QString, lie);
        const QMap<QString, QByteArray> before = TestEnv::snapshot(mBacking);
        QVERIFY2(mCard.mount(mBacking, mMount, lie), qPrintable(mCard.error()));
        const UpgradeJob::Result result = installHome();
        mCard.unmount();
        const QList<HistoryRecord> history = UpdateHistory().recordsOf(Serial);
        QCOMPARE(history.size(), 1);
        const InstallManifest manifest = ManifestStore().find(Serial, QStringLiteral("Vehicles/HOME"), QStringLiteral("V2.10"));
        if (lie.isEmpty()) {
            QVERIFY2(result.ok(), qPrintable(result.reason));
            QCOMPARE(TestEnv::readFile(mBacking + QStringLiteral("/Vehicles/HOME/HOME.bin")), mProgram);
            QCOMPARE(TestEnv::readFile(mBacking + QStringLiteral("/Vehicles/HOME/version.txt")), QByteArray("V2.10"));
            QCOMPARE(TestEnv::readFile(mBacking + QStringLiteral("/Vehicles/HOME/Res/settings.txt")), QByteArray("kept"));
            QCOMPARE(int(history.first().result), int(HistoryRecord::Result::Done));
            QVERIFY(history.first().verified);
            QCOMPARE(manifest.files.size(), 2);
            return;
        }
        QCOMPARE(int(result.failure), int(UpgradeJob::Failure::Card));
        QCOMPARE(result.reason, Lied);
        // The installed version as it was, and no staging left behind.
        QCOMPARE(TestEnv::snapshot(mBacking), before);
        QCOMPARE(int(history.first().result), int(HistoryRecord::Result::Failed));
        QCOMPARE(history.first().reason, Lied);
        QVERIFY(!history.first().verified);
        QVERIFY(manifest.isNull());
    }

    // A card pulled while it is read back is gone, not failing.
    void pulledWhileReadBack()
    {
        qputenv("LYING_CARD_PULL", "1");
        const bool mounted = mCard.mount(mBacking, mMount, QStringLiteral("HOME.bin"));
        qunsetenv("LYING_CARD_PULL");
        QVERIFY2(mounted, qPrintable(mCard.error()));
        const UpgradeJob::Result result = installHome();
        QCOMPARE(int(result.failure), int(UpgradeJob::Failure::NoCard));
        mCard.unmount();
        QCOMPARE(TestEnv::readFile(mBacking + QStringLiteral("/Vehicles/HOME/version.txt")), QByteArray("V2.00"));
        QCOMPARE(TestEnv::readFile(mBacking + QStringLiteral("/Vehicles/HOME/HOME.bin")), QByteArray(5000, 'o'));
    }

    // Installed on a card that told the truth, which later starts to lie.
    void checkFindsTheLie()
    {
        QVERIFY2(mCard.mount(mBacking, mMount), qPrintable(mCard.error()));
        QVERIFY(installHome().ok());
        CardCheck::End end = CardCheck::End::None;
        QList<CardCheck::Finding> found = checkCard(&end);
        QCOMPARE(int(end), int(CardCheck::End::Checked));
        QCOMPARE(found.size(), 1);
        QCOMPARE(int(found.first().verdict), int(CardCheck::Verdict::Intact));

        mCard.unmount();
        QVERIFY2(mCard.mount(mBacking, mMount, QStringLiteral("HOME.bin")), qPrintable(mCard.error()));
        found = checkCard(&end);
        QCOMPARE(int(end), int(CardCheck::End::Checked));
        QCOMPARE(found.size(), 1);
        QCOMPARE(int(found.first().verdict), int(CardCheck::Verdict::Damaged));
        QCOMPARE(found.first().files, QStringList{QStringLiteral("Vehicles/HOME/HOME.bin")});
        QCOMPARE(found.first().softId, QStringLiteral("HOME"));
    }
};

QTEST_GUILESS_MAIN(TestLyingCard)
#include "tst_lyingcard.moc"
