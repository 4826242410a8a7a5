// What Ostrel keeps of its installs, on real folders: the update history
// (per card, newest first, rotated before it grows past about 1 MiB) and
// the card check of a card against the manifests its installs left.
#include "CardCheck.h"
#include "InstallAsUpgrade.h"
#include "InstallTestSupport.h"
#include "ManifestStore.h"
#include "UpdateHistory.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace InstallTest;

namespace {
const QString Serial = QStringLiteral("RECORDS000001");
const QByteArray Names = R"({"info_list":[{"language":"en","name":"Car"}]})";
} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    QString mCard;
    int mCards = 0;

    // Installs CARA V1.00 as the upgrade does.
    bool installCara()
    {
        const QString archive = mEnv.root() + QStringLiteral("/cara.zip");
        TestEnv::writeFile(archive, archiveOf({file("Vehicles/EU/CARA/version.txt", "V1.00"),
                                               file("Vehicles/EU/CARA/Names.txt", Names),
                                               file("Vehicles/EU/CARA/CARA.bin", QByteArray(5000, 'c')),
                                               file("Vehicles/EU/CARA/Res/data.txt", "menus")}));
        Package cara;
        cara.id = 60;
        cara.softId = QStringLiteral("CARA");
        cara.version = QStringLiteral("V1.00");
        cara.card = Card(mCard, Serial);
        return installAsUpgrade(cara, archive).ok();
    }

    // Bytes changed in place, the time put back: as a failing card does it.
    static bool turnByte(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite))
            return false;
        const QDateTime time = f.fileTime(QFileDevice::FileModificationTime);
        QByteArray data = f.readAll();
        data[100] = char(data[100] ^ 0x10);
        return f.seek(0) && f.write(data) == data.size() && f.flush()
            && f.setFileTime(time, QFileDevice::FileModificationTime);
    }

private slots:
    void cardCheck_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QStringList>("files");
        const int intact = int(CardCheck::Verdict::Intact);
        const int damaged = int(CardCheck::Verdict::Damaged);
        const int changed = int(CardCheck::Verdict::Changed);
        QTest::newRow("nothing") << "" << intact << QStringList();
        QTest::newRow("a byte turned, size and time kept") << "turn" << damaged << QStringList{QStringLiteral("Vehicles/EU/CARA/CARA.bin")};
        QTest::newRow("a file written since") << "write" << changed << QStringList{QStringLiteral("Vehicles/EU/CARA/Res/data.txt")};
        QTest::newRow("a file removed") << "remove" << changed << QStringList{QStringLiteral("Vehicles/EU/CARA/Res/data.txt")};
        QTest::newRow("another version put on by another tool") << "version" << changed << QStringList();
    }
    void cardCheck()
    {
        QFETCH(QString, change);
        QFETCH(int, verdict);
        QFETCH(QStringList, files);
        mCard = mEnv.makeDir(QStringLiteral("cards/%1").arg(++mCards)) + QLatin1Char('/');
        QVERIFY(TestEnv::writeFile(mCard + QStringLiteral("sn.txt"), Serial.toLatin1()));
        // Put on by another tool: nothing recorded of it.
        QVERIFY(writeVehicle(mCard + QStringLiteral("Vehicles/EU/CARB/"), "V1.50"));
        QVERIFY(TestEnv::writeFile(mCard + QStringLiteral("Vehicles/EU/CARB/Names.txt"), Names));
        QVERIFY(installCara());
        const QString cara = mCard + QStringLiteral("Vehicles/EU/CARA/");
        if (change == QLatin1String("turn")) {
            QVERIFY(turnByte(cara + QStringLiteral("CARA.bin")));
        } else if (change == QLatin1String("write")) {
            // Ten minutes later, by the file's time.
            QFile data(cara + QStringLiteral("Res/data.txt"));
            QVERIFY(data.open(QIODevice::ReadWrite) && data.write("MENUS") == 5 && data.flush());
            QVERIFY(data.setFileTime(QDateTime::currentDateTime().addSecs(600), QFileDevice::FileModificationTime));
        }
        if (change == QLatin1String("remove"))
            QVERIFY(QFile::remove(cara + QStringLiteral("Res/data.txt")));
        else if (change == QLatin1String("version"))
            QVERIFY(TestEnv::writeFile(cara + QStringLiteral("version.txt"), "V1.20"));

        CardCheck check;
        QSignalSpy finished(&check, &CardCheck::finished);
        check.start(Card(mCard, Serial));
        QVERIFY(finished.wait(30000));
        QCOMPARE(int(check.end()), int(CardCheck::End::Checked));
        QMap<QString, CardCheck::Finding> found;
        for (const CardCheck::Finding &finding : check.findings())
            found.insert(finding.folder.section(QLatin1Char('/'), -1), finding);
        QCOMPARE(found.keys().join(QLatin1Char(' ')), QStringLiteral("CARA CARB"));
        QCOMPARE(int(found[QStringLiteral("CARB")].verdict), int(CardCheck::Verdict::NotRecorded));
        QCOMPARE(int(found[QStringLiteral("CARA")].verdict), verdict);
        QCOMPARE(found[QStringLiteral("CARA")].files, files);
        QCOMPARE(found[QStringLiteral("CARA")].recordedVersion, QStringLiteral("V1.00"));
    }

    // Each card's records, newest first; a line cut short is passed over.
    void historyOfACard()
    {
        UpdateHistory history(mEnv.makeDir(QStringLiteral("history")));
        HistoryRecord r;
        r.time = QDateTime(QDate(2024, 6, 1), QTime(10, 0), Qt::UTC);
        r.serial = Serial;
        r.softId = QStringLiteral("BENZ");
        r.to = QStringLiteral("V12.30");
        r.verified = true;
        QVERIFY(history.append(r));
        HistoryRecord other = r;
        other.serial = QStringLiteral("ANOTHERCARD01");
        QVERIFY(history.append(other));
        QFile torn(history.path());
        QVERIFY(torn.open(QIODevice::Append) && torn.write("{\"time\":\"2024-06-01T11") && torn.putChar('\n'));
        torn.close();
        HistoryRecord failed = r;
        failed.time = r.time.addSecs(60);
        failed.result = HistoryRecord::Result::Failed;
        failed.reason = QStringLiteral("The SD card could not be written. It keeps what it had.");
        failed.verified = false;
        QVERIFY(history.append(failed));

        const QList<HistoryRecord> records = history.recordsOf(Serial);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).toJson(), failed.toJson());
        QCOMPARE(records.at(1).toJson(), r.toJson());
    }

    // Past about 1 MiB the history starts a new file, keeping one older:
    // never more than about 2 MiB, the newest records always there.
    void historyRotates()
    {
        UpdateHistory history(mEnv.makeDir(QStringLiteral("rotating")));
        HistoryRecord r;
        r.serial = Serial;
        r.reason = QString(1000, QLatin1Char('x'));
        const QDateTime start(QDate(2024, 6, 1), QTime(10, 0), Qt::UTC);
        const int count = 2500; // about 2.7 MiB of lines
        for (int i = 0; i < count; ++i) {
            r.time = start.addSecs(i);
            r.id = i;
            QVERIFY(history.append(r));
        }
        QVERIFY(QFileInfo(history.path()).size() <= UpdateHistory::RotateSize);
        QVERIFY(QFileInfo(history.olderPath()).size() <= UpdateHistory::RotateSize);
        const QList<HistoryRecord> records = history.recordsOf(Serial);
        QVERIFY2(records.size() > 900 && records.size() < count, qPrintable(QString::number(records.size())));
        for (int i = 0; i < records.size(); ++i)
            QCOMPARE(records.at(i).id, long(count - 1 - i));
    }

    void tamperedHistory_data()
    {
        QTest::addColumn<bool>("fifo"); // else a file of 3 GiB, the newest record at its end
        QTest::newRow("FIFO") << true;
        QTest::newRow("3 GiB file") << false;
    }

    // A history someone else put in place neither holds the page that reads
    // it nor the install that writes to it, and the records that can be had
    // are still shown.
    void tamperedHistory()
    {
        QFETCH(bool, fifo);
        UpdateHistory history(mEnv.makeDir(QStringLiteral("tampered-%1").arg(fifo)));
        HistoryRecord r;
        r.time = QDateTime(QDate(2024, 6, 1), QTime(10, 0), Qt::UTC);
        r.serial = Serial;
        r.softId = QStringLiteral("BENZ");
        const QByteArray line = QJsonDocument(r.toJson()).toJson(QJsonDocument::Compact) + '\n';
        const QByteArray path = QFile::encodeName(history.path());
        if (fifo) {
            QVERIFY(::mkfifo(path.constData(), 0600) == 0);
            QVERIFY(TestEnv::writeFile(history.olderPath(), line));
        } else {
            QFile huge(history.path());
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(3LL << 30));
            QVERIFY(huge.seek(huge.size()) && huge.write('\n' + line) == line.size() + 1 && huge.flush());
        }

        std::atomic<bool> done{false};
        QList<HistoryRecord> records;
        bool appended = false;
        std::thread worker([&] {
            records = history.recordsOf(Serial);
            appended = history.append(r);
            done = true;
        });
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < 5000)
            QThread::msleep(10);
        const bool held = !done;
        // Whatever waits on the FIFO is let go, so that the test can end.
        QList<int> ends;
        while (!done) {
            for (int flags : {O_RDONLY | O_NONBLOCK, O_WRONLY | O_NONBLOCK})
                ends << ::open(path.constData(), flags);
            QThread::msleep(10);
        }
        worker.join();
        for (int fd : ends)
            ::close(fd);
        QVERIFY2(!held, "the history held its reader or writer");
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).toJson(), r.toJson());
        QCOMPARE(appended, !fifo); // a huge file is rotated away
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
