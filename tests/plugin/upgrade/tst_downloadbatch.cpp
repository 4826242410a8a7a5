// The figures of a download batch: row states and bars over a chain, the
// end of a batch with retries and a pulled card, speed and time left.
#include "DownloadBatch.h"
#include "TransferRate.h"

#include <QtTest>

using Batch = DownloadBatch;

namespace {
QStringList texts(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *text : list)
        out << QLatin1String(text);
    return out;
}

// Rows of packages `ids`, each with the patch of `patchIds` (0: none).
QList<UpgradeItem> items(const QList<long> &ids, const QList<long> &patchIds)
{
    QList<UpgradeItem> out;
    for (int i = 0; i < ids.size(); ++i) {
        UpgradeItem item;
        item.package.id = ids.at(i);
        item.patch.id = patchIds.at(i);
        item.patch.baseId = patchIds.at(i) ? ids.at(i) : 0;
        out << item;
    }
    return out;
}
} // namespace

class TestDownloadBatch : public QObject
{
    Q_OBJECT

private slots:
    // Reports as "id:state:percent", each followed by what the row shows.
    void barOverAChain_data()
    {
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QStringList>("shown"); // "state:bar"
        QTest::newRow("plain row") << texts({"20:2:0", "20:2:37", "20:3:100", "20:5:0", "20:6:50", "20:10:0", "20:10:60", "20:7:100"})
                                   << texts({"2:0", "2:37", "3:100", "5:0", "6:50", "10:0", "10:60", "7:100"});
        // The package fills the first half, its patch the second, for the
        // download and again for the install and for the reading back.
        QTest::newRow("package and patch")
            << texts({"10:2:40", "10:2:100", "11:2:0", "11:2:60", "11:3:100", "10:5:0", "10:6:100", "10:10:100", "11:5:0", "11:6:50", "11:10:50", "11:7:100"})
            << texts({"2:20", "2:50", "2:50", "2:80", "3:100", "5:0", "6:50", "10:50", "5:50", "6:75", "10:75", "7:100"});
        QTest::newRow("failed download, bar out of range") << texts({"10:2:250", "11:4:0"}) << texts({"2:50", "4:0"});
    }
    void barOverAChain()
    {
        QFETCH(QStringList, reports);
        QFETCH(QStringList, shown);
        Batch batch;
        batch.setRows(items({10, 20}, {11, 0}));
        batch.startAll();
        for (int i = 0; i < reports.size(); ++i) {
            const QStringList r = reports.at(i).split(QLatin1Char(':'));
            const int row = batch.report(r.at(0).toLong(), r.at(1).toInt(), r.at(2).toInt());
            QCOMPARE(row, r.at(0) == QLatin1String("20") ? 1 : 0);
            QCOMPARE(QStringLiteral("%1:%2").arg(batch.row(row).state).arg(batch.row(row).progress), shown.at(i));
        }
        QCOMPARE(batch.report(99, Batch::Done, 100), -1);
    }

    void endOfBatch()
    {
        Batch batch;
        batch.setRows(items({1, 2, 3}, {0, 0, 0}));
        batch.startAll();
        batch.report(1, Batch::Done, 100);
        batch.report(2, Batch::DownloadFailed, 0);
        QVERIFY(!batch.isOver());
        batch.report(3, Batch::InstallFailed, 100);
        QVERIFY(batch.isOver());
        QCOMPARE(batch.doneCount(), 1);
        QCOMPARE(batch.failedCount(), 2);

        // Tried again, the failed rows keep their texts until they report,
        // yet one failing again does not end the batch while the other runs.
        QCOMPARE(batch.retryFailed(), (QList<int>{1, 2}));
        QCOMPARE(batch.row(1).state, int(Batch::DownloadFailed));
        batch.report(2, Batch::DownloadFailed, 0);
        QVERIFY(!batch.isOver());

        // Leaving the page: what was cut off fails in the phase it was in.
        batch.report(3, Batch::Installing, 40);
        QCOMPARE(batch.interrupt(), QList<int>{2});
        QCOMPARE(batch.row(2).state, int(Batch::InstallFailed));
        QVERIFY(batch.isOver());
        batch.retryFailed();
        batch.report(3, Batch::Downloading, 10);
        batch.interrupt();
        QCOMPARE(batch.row(2).state, int(Batch::DownloadFailed));
        QCOMPARE(batch.row(1).state, int(Batch::DownloadFailed)); // had not reported
        QVERIFY(batch.isOver());

        // A pulled card says so, and a retry takes the row up again.
        batch.retryFailed();
        batch.report(3, Batch::Installing, 40);
        QCOMPARE(batch.interrupt(QStringLiteral("gone"), true), QList<int>{2});
        QCOMPARE(batch.row(2).state, int(Batch::CardRemoved));
        QCOMPARE(batch.row(2).reason, QStringLiteral("gone"));
        QCOMPARE(Batch::stateText(batch.row(2).state), QStringLiteral("Card removed"));
        QCOMPARE(batch.failedCount(), 2);
        QVERIFY(batch.isOver());
        QCOMPARE(batch.retryFailed(), (QList<int>{1, 2}));
    }

    void rateOverASlidingWindow()
    {
        TransferRate rate(5000);
        QCOMPARE(rate.bytesPerSecond(0), -1.0);
        // 10 kB/s for 8 s, then 40 kB/s.
        for (qint64 t = 0; t <= 8000; t += 100)
            rate.add(t, 1000);
        QCOMPARE(qRound(rate.bytesPerSecond(8000)), 10000);
        for (qint64 t = 8100; t <= 13000; t += 100)
            rate.add(t, 4000);
        QCOMPARE(qRound(rate.bytesPerSecond(13000)), 40000);
        // Half the window without bytes halves the figure; a whole one stops it.
        QCOMPARE(qRound(rate.bytesPerSecond(15500)), 20000);
        QCOMPARE(rate.bytesPerSecond(20000), 0.0);
        QCOMPARE(TransferRate::speedText(1.6 * 1024 * 1024), QStringLiteral("1.6MB/s"));
    }

    void timeLeft_data()
    {
        QTest::addColumn<qint64>("left");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("text");
        QTest::newRow("a few bytes") << 10LL << 1000.0 << QStringLiteral("about 5 s left");
        QTest::newRow("22 s") << 22000LL << 1000.0 << QStringLiteral("about 25 s left");
        QTest::newRow("58 s") << 58000LL << 1000.0 << QStringLiteral("about 1 min left");
        QTest::newRow("4 min") << 230000LL << 1000.0 << QStringLiteral("about 4 min left");
        QTest::newRow("hours") << 3900000LL << 1000.0 << QStringLiteral("about 1 h 5 min left");
        QTest::newRow("nothing arrives") << 1000LL << 0.0 << QString();
        QTest::newRow("no rate yet") << 1000LL << -1.0 << QString();
    }
    void timeLeft()
    {
        QFETCH(qint64, left);
        QFETCH(double, rate);
        QFETCH(QString, text);
        QCOMPARE(TransferRate::timeLeftText(left, rate), text);
    }
};

QTEST_APPLESS_MAIN(TestDownloadBatch)
#include "tst_downloadbatch.moc"
