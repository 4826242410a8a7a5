// The table model: size texts, ticking rules and cell edits.
#include "UninstallModel.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
VehicleData record(const QString &dir, const QString &state)
{
    VehicleData r;
    r.mDirName = dir;
    r.mDirPath = QStringLiteral("/media/u/CARD/Vehicles/EU/") + dir + QLatin1Char('/');
    r.mState = QStringList{state, QStringLiteral("0")};
    return r;
}
} // namespace

class TestUninstallModel : public QObject
{
    Q_OBJECT
private slots:
    void sizeText_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << quint64(0) << "0B";
        QTest::newRow("1024 stays bytes") << quint64(1024) << "1024B";
        QTest::newRow("1025 is KB") << quint64(1025) << "1.00KB";
        QTest::newRow("1.5 KB") << quint64(1536) << "1.50KB";
        QTest::newRow("1 MiB stays KB") << quint64(1048576) << "1024.00KB";
        QTest::newRow("just above 1 MiB") << quint64(1048577) << "1.00MB";
        QTest::newRow("1 GiB stays MB") << quint64(1073741824) << "1024.00MB";
        QTest::newRow("just above 1 GiB") << quint64(1073741825) << "1.00GB";
        QTest::newRow("3.25 GiB") << quint64(3489660928ull) << "3.25GB";
    }
    void sizeText()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(UninstallModel::SizeText(bytes), text);
    }

    // What setting column 0 does to a row, by its state and the lock.
    void tickingRules_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("checkedBefore");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("requested");
        QTest::addColumn<bool>("checkedAfter");
        QTest::addColumn<int>("emitted");
        QTest::newRow("ready ticks") << "0" << false << false << int(Qt::Checked) << true << 1;
        QTest::newRow("ready unticks") << "0" << true << false << int(Qt::Unchecked) << false << 1;
        QTest::newRow("failed ticks again") << "3" << false << false << int(Qt::Checked) << true << 1;
        QTest::newRow("done never ticks") << "2" << false << false << int(Qt::Checked) << false << 1;
        QTest::newRow("done is unticked") << "2" << true << false << int(Qt::Checked) << false << 1;
        QTest::newRow("running stays ticked") << "1" << true << false << int(Qt::Unchecked) << true << 1;
        QTest::newRow("locked while uninstalling") << "0" << false << true << int(Qt::Checked) << false << 0;
    }
    void tickingRules()
    {
        QFETCH(QString, state);
        QFETCH(bool, checkedBefore);
        QFETCH(bool, locked);
        QFETCH(int, requested);
        QFETCH(bool, checkedAfter);
        QFETCH(int, emitted);

        UninstallModel model;
        VehicleData r = record(QStringLiteral("CAR0001"), state);
        r.mChecked = checkedBefore;
        model.SetData({record(QStringLiteral("CAR0000"), QStringLiteral("0")), r});
        model.OnUpdateData(locked);
        QSignalSpy spy(&model, &UninstallModel::SignalCheckChanged);
        model.setData(model.index(1, UninstallModel::NameColumn), requested, Qt::CheckStateRole);
        QCOMPARE(model.Datas().at(1).mChecked, checkedAfter);
        QCOMPARE(spy.count(), emitted);
        if (emitted)
            QCOMPARE(spy.first().first().toBool(), checkedAfter);
        QVERIFY(!model.Datas().at(0).mChecked);
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(),
                 int(checkedAfter ? Qt::Checked : Qt::Unchecked));
    }

    void cellEdits()
    {
        UninstallModel model;
        model.SetData({record(QStringLiteral("CAR0000"), QStringLiteral("0"))});
        QVERIFY(model.setData(model.index(0, UninstallModel::VersionColumn), QStringLiteral("V2.00")));
        QVERIFY(model.setData(model.index(0, UninstallModel::SizeColumn), QStringLiteral("12.5KB")));
        QVERIFY(model.setData(model.index(0, UninstallModel::StatusColumn), QStringList{QStringLiteral("1"), QStringLiteral("40")}));
        QCOMPARE(model.index(0, UninstallModel::VersionColumn).data().toString(), QStringLiteral("V2.00"));
        QCOMPARE(model.Datas().at(0).mSize, quint64(12));
        QCOMPARE(model.index(0, UninstallModel::StatusColumn).data().toString(), QStringLiteral("Uninstalling..."));
        QCOMPARE(model.RowOf(model.Datas().at(0).mDirPath), 0);
        QCOMPARE(model.RowOf(QStringLiteral("/nowhere/")), -1);
        // Emptying the table takes no argument.
        model.SetData();
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUninstallModel)
#include "tst_uninstallmodel.moc"
