#include <DownloadFile.h>
#include <FakePlatform.h>
#include <LoopbackProxy.h>
#include <StandInService.h>
#include <TestEnv.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString Prefix = QStringLiteral("ABC123");
const QString Name = QStringLiteral("pkg.bin");
const int Size = 100000;
const int Partial = 40000;
const QString Zip = QStringLiteral("benz_V12.30.zip");
const QString OtherZip = QStringLiteral("benz_V12.20.zip");
const QString Identity = QStringLiteral("package 10 version V12.30");

// Each byte depends on its offset and on the version, so bytes spliced at
// the wrong place or from another version never compare equal.
QByteArray content(int size, int version)
{
    QByteArray out(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 31 + (i >> 9) * 7 + version * 101) & 0xff);
    return out;
}

QString md5(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QJsonObject rule(QJsonObject fault, const QString &name = Name)
{
    fault.insert(QStringLiteral("path"), QString(QStringLiteral("/files/") + name));
    return fault;
}

QString header(const QJsonValue &entry, const QString &name)
{
    const QJsonObject headers = entry.toObject().value(QStringLiteral("headers")).toObject();
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value().toString();
    }
    return QString();
}

struct Outcome
{
    bool finished = false;
    bool ok = false;
    QString path;
    qint64 lastReceived = -1;
    qint64 lastTotal = -1;
    int timeOuts = 0;
};

} // namespace

// One archive download against the stand-in service: resuming, refusing
// every answer that would splice two versions, failures, names, TLS,
// proxy and a resume across processes.
class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void resume_data();
    void resume();
    void watchdog_data();
    void watchdog();
    void finalFileAlreadyThere();
    void finishedArchive_data();
    void finishedArchive();
    void unknownLength_data();
    void unknownLength();
    void onlyWebAddresses_data();
    void onlyWebAddresses();
    void linkAtPartialPath_data();
    void linkAtPartialPath();
    void stopSilencesLateAnswer();
    void names_data();
    void names();
    void https_data();
    void https();
    void plainHttpOnlyToLoopback();
    void killedProcessResumes();

private:
    Outcome run(DownloadFile &download, const QUrl &url, const QString &temporary = QString());
    Outcome run(const QUrl &url) { DownloadFile d; return run(d, url); }
    QByteArray temporaryBytes() const;
    QByteArray served(const QString &name) const;

    TestEnv mEnv;
    StandInService mService;
    QByteArray mV1;
};

Outcome TestDownload::run(DownloadFile &download, const QUrl &url, const QString &temporary)
{
    Outcome o;
    connect(&download, &DownloadFile::downloadProgress, this, [&o](long, qint64 received, qint64 total) {
        o.lastReceived = received;
        o.lastTotal = total;
    });
    connect(&download, &DownloadFile::timeOut, this, [&o] { ++o.timeOuts; });
    QSignalSpy finished(&download, &DownloadFile::downloadFinished);
    download.start(7, url.toString(), Prefix, temporary);
    if (finished.isEmpty())
        finished.wait(20000);
    disconnect(&download, nullptr, this, nullptr);
    if (finished.size() == 1) {
        o.finished = true;
        o.ok = finished.at(0).at(1).toBool();
        o.path = finished.at(0).at(2).toString();
        if (finished.at(0).at(0).value<long>() != 7)
            o.finished = false;
    }
    return o;
}

QByteArray TestDownload::temporaryBytes() const
{
    return TestEnv::readFile(DownloadFile::temporaryPath(mService.fileUrl(Name).toString(), Prefix));
}

QByteArray TestDownload::served(const QString &name) const
{
    QByteArray body;
    return mService.request("GET", QStringLiteral("/files/") + name, QByteArray(), &body) == 200 ? body : QByteArray();
}

void TestDownload::initTestCase()
{
    QVERIFY(mService.start());
    mV1 = content(Size, 1);
}

void TestDownload::init()
{
    QVERIFY(mService.reset());
    QVERIFY(mService.replaceFile(Name, mV1));
    QDir(DownloadFile::downloadDir()).removeRecursively();
}

void TestDownload::resume_data()
{
    QTest::addColumn<QJsonObject>("first");     // fault of the first attempt, besides the drop at 40 %,
                                                // and the identity it downloads for
    QTest::addColumn<bool>("completeTmp");      // the rest written to the temporary file, not renamed
    QTest::addColumn<int>("newSize");           // the file replaced by a second version of this size
    QTest::addColumn<QJsonObject>("second");    // fault of the second attempt
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("ranges");    // Range of each request of the second attempt
    QTest::addColumn<bool>("ifRange");
    QTest::addColumn<int>("version");           // what the final file holds
    QTest::addColumn<int>("kept");              // temporary bytes after a failed second attempt

    const QJsonObject none;
    const QJsonObject once{{QStringLiteral("once"), true}};
    const auto onceWith = [&once](const char *key, const QJsonValue &value) {
        QJsonObject o = once;
        o.insert(QLatin1String(key), value);
        return o;
    };
    const QString resume = QStringLiteral("bytes=40000-");
    const QStringList resumeThenWhole = {resume, QString()};
    const QJsonObject noValidators{{QStringLiteral("no_validators"), true}};

    QTest::newRow("206 from 40 %") << none << false << 0 << none << true << QStringList{resume} << true << 1 << 0;
    QTest::newRow("server ignores Range") << none << false << 0 << QJsonObject{{QStringLiteral("ignore_range"), true}}
                                          << true << QStringList{resume} << true << 1 << 0;
    QTest::newRow("file replaced, If-Range gets 200") << none << false << Size << none << true
                                                      << QStringList{resume} << true << 2 << 0;
    // Without a validator for If-Range nothing is resumed: a file replaced
    // at the same length would be spliced.
    QTest::newRow("file replaced, no validator")
        << noValidators << false << 120000 << noValidators << true << QStringList{QString()} << false << 2 << 0;
    QTest::newRow("same length replaced, no validator")
        << noValidators << false << Size << noValidators << true << QStringList{QString()} << false << 2 << 0;
    QTest::newRow("partial of another package") << QJsonObject{{QStringLiteral("identity"), Identity}} << false << 0
                                                << none << true << QStringList{QString()} << false << 1 << 0;
    QTest::newRow("206 starts early") << none << false << 0 << onceWith("range_shift", -5) << true << resumeThenWhole
                                      << true << 1 << 0;
    QTest::newRow("206 starts late") << none << false << 0 << onceWith("range_shift", 5) << true << resumeThenWhole
                                     << true << 1 << 0;
    QTest::newRow("206 without Content-Range") << none << false << 0 << onceWith("omit_content_range", true) << true
                                               << resumeThenWhole << true << 1 << 0;
    QTest::newRow("complete file, 416") << none << true << 0 << none << true
                                        << QStringList{QStringLiteral("bytes=100000-")} << true << 1 << 0;
    QTest::newRow("incomplete file, 416") << none << false << 0 << onceWith("refuse_range", true) << true
                                          << resumeThenWhole << true << 1 << 0;
    QTest::newRow("302 to a second path") << none << false << 0
                                          << onceWith("redirect", QStringLiteral("/files/second.bin")) << true
                                          << QStringList{resume, resume} << true << 1 << 0;
    QTest::newRow("drop mid-body") << none << false << 0 << onceWith("drop_after", 20000) << false
                                   << QStringList{resume} << true << 0 << 60000;
    QTest::newRow("404") << none << false << 0 << onceWith("status", 404) << false << QStringList{resume} << true << 0
                         << Partial;
    QTest::newRow("500") << none << false << 0 << onceWith("status", 500) << false << QStringList{resume} << true << 0
                         << Partial;
}

void TestDownload::resume()
{
    QFETCH(QJsonObject, first);
    QFETCH(bool, completeTmp);
    QFETCH(int, newSize);
    QFETCH(QJsonObject, second);
    QFETCH(bool, ok);
    QFETCH(QStringList, ranges);
    QFETCH(bool, ifRange);
    QFETCH(int, version);
    QFETCH(int, kept);

    const QUrl url = mService.fileUrl(Name);
    const QByteArray v2 = content(newSize, 2);
    QVERIFY(mService.replaceFile(QStringLiteral("second.bin"), mV1));

    // First attempt: the line drops at 40 %.
    DownloadFile firstDownload;
    firstDownload.setIdentity(first.take(QStringLiteral("identity")).toString());
    if (first.contains(QStringLiteral("no_validators"))) // for every later request too
        QVERIFY(mService.setFault(rule(first)));
    first.insert(QStringLiteral("drop_after"), Partial);
    first.insert(QStringLiteral("once"), true);
    QVERIFY(mService.setFault(rule(first)));
    Outcome o = run(firstDownload, url);
    QVERIFY(o.finished);
    QVERIFY(!o.ok);
    QCOMPARE(temporaryBytes(), mV1.left(Partial));
    const QString tmp = o.path;
    if (completeTmp)
        QVERIFY(TestEnv::writeFile(tmp, mV1));

    // Second attempt.
    if (newSize > 0)
        QVERIFY(mService.replaceFile(Name, v2));
    if (!second.isEmpty())
        QVERIFY(mService.setFault(rule(second)));
    QVERIFY(mService.clearLog());
    DownloadFile download;
    o = run(download, url);
    QVERIFY(o.finished);
    QCOMPARE(o.ok, ok);
    const int status = second.value(QStringLiteral("status")).toInt();
    QCOMPARE(download.failure(), ok       ? DownloadFile::Failure::None
                                 : status ? DownloadFile::Failure::HttpStatus
                                          : DownloadFile::Failure::Network);
    if (status)
        QCOMPARE(download.httpStatus(), status);

    const QJsonArray log = mService.requestLog();
    QStringList sent;
    for (const QJsonValue &entry : log) {
        sent.append(header(entry, QStringLiteral("Range")));
        QCOMPARE(header(entry, QStringLiteral("Accept-Encoding")), QStringLiteral("identity"));
    }
    // After a drop Qt may send the same request once more by itself.
    if (second.contains(QStringLiteral("drop_after")) && sent.size() == ranges.size() + 1
        && sent.last() == sent.first())
        sent.removeLast();
    QCOMPARE(sent, ranges);
    const QString sentIfRange = header(log.at(0), QStringLiteral("If-Range"));
    QCOMPARE(!sentIfRange.isEmpty(), ifRange);
    QVERIFY(ifRange || header(log.at(0), QStringLiteral("Range")).isEmpty());
    if (ifRange)
        QVERIFY2(sentIfRange.startsWith(QLatin1Char('"')), qPrintable(sentIfRange)); // the strong ETag

    if (!ok) {
        // Nothing but archive bytes reached the partial file...
        QCOMPARE(o.path, tmp);
        QCOMPARE(temporaryBytes(), mV1.left(kept));
        // ...and the next start resumes from it.
        QVERIFY(mService.clearLog());
        o = run(url);
        QVERIFY(o.ok);
        QCOMPARE(header(mService.requestLog().at(0), QStringLiteral("Range")), QStringLiteral("bytes=%1-").arg(kept));
        version = 1;
    }
    QCOMPARE(o.path, DownloadFile::finalPath(tmp));
    const QByteArray expected = version == 1 ? mV1 : v2;
    QVERIFY(TestEnv::readFile(o.path) == expected);
    QCOMPARE(o.lastReceived, o.lastTotal);
    QVERIFY(!QFileInfo::exists(tmp));
    QCOMPARE(QDir(DownloadFile::downloadDir()).entryList(QDir::Files), QStringList{QFileInfo(o.path).fileName()});
}

void TestDownload::watchdog_data()
{
    QTest::addColumn<QJsonObject>("fault");
    QTest::addColumn<bool>("ok");
    QTest::newRow("stalls after 1000 bytes") << QJsonObject{{QStringLiteral("stall_after"), 1000}} << false;
    QTest::newRow("silent from the start") << QJsonObject{{QStringLiteral("delay_ms"), 5000}} << false;
    QTest::newRow("slow but steady") << QJsonObject{{QStringLiteral("chunk_size"), 10000},
                                                    {QStringLiteral("chunk_delay_ms"), 100}}
                                     << true;
    // 200 bytes a second, under the floor of 1000: alive, but never done.
    QTest::newRow("trickle") << QJsonObject{{QStringLiteral("chunk_size"), 20}, {QStringLiteral("chunk_delay_ms"), 100}}
                             << false;
}

void TestDownload::watchdog()
{
    QFETCH(QJsonObject, fault);
    QFETCH(bool, ok);
    QVERIFY(mService.setFault(rule(fault)));
    DownloadFile download;
    download.setStallPeriod(300);
    QElapsedTimer clock;
    clock.start();
    const Outcome o = run(download, mService.fileUrl(Name));
    QVERIFY(o.finished);
    QCOMPARE(o.ok, ok);
    QCOMPARE(o.timeOuts, ok ? 0 : 1);
    QCOMPARE(download.state(), 3);
    QCOMPARE(download.failure(), ok ? DownloadFile::Failure::None : DownloadFile::Failure::Stalled);
    if (!ok) {
        QVERIFY(clock.elapsed() >= 270); // a coarse timer may fire 5 % early
        QVERIFY(mService.reset()); // releases the stalled answer
        QVERIFY(mV1.startsWith(temporaryBytes()));
    }
}

void TestDownload::finalFileAlreadyThere()
{
    const QString tmp = DownloadFile::temporaryPath(mService.fileUrl(Name).toString(), Prefix);
    QVERIFY(TestEnv::writeFile(DownloadFile::finalPath(tmp), "done"));
    QVERIFY(mService.clearLog());
    DownloadFile download;
    QSignalSpy progress(&download, &DownloadFile::downloadProgress);
    QSignalSpy finished(&download, &DownloadFile::downloadFinished);
    QCOMPARE(download.start(3, mService.fileUrl(Name).toString(), Prefix), 200);
    QCOMPARE(progress.size(), 1);
    QCOMPARE(progress.at(0), (QList<QVariant>{QVariant::fromValue(3L), qint64(4), qint64(4)}));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(1).toBool(), true);
    QCOMPARE(finished.at(0).at(2).toString(), DownloadFile::finalPath(tmp));
    QVERIFY(mService.requestLog().isEmpty());
}

void TestDownload::finishedArchive_data()
{
    QTest::addColumn<QString>("identity"); // of the second start
    QTest::addColumn<QString>("file");     // asked for by the second start
    QTest::addColumn<QString>("tamper");   // done to the finished archive in between
    QTest::addColumn<bool>("fetched");

    QTest::newRow("this package") << Identity << Zip << QString() << false;
    QTest::newRow("another package") << QStringLiteral("package 11 version V1.00") << Zip << QString() << true;
    QTest::newRow("another address") << Identity << OtherZip << QString() << true;
    QTest::newRow("no record") << Identity << Zip << QStringLiteral("record") << true;
    QTest::newRow("longer than recorded") << Identity << Zip << QStringLiteral("append") << true;
    QTest::newRow("same length, not a zip") << Identity << Zip << QStringLiteral("garble") << true;
}

// A file under the final name counts only when its record says it is this
// package from this address, as long as it was, and still a whole zip.
void TestDownload::finishedArchive()
{
    QFETCH(QString, identity);
    QFETCH(QString, file);
    QFETCH(QString, tamper);
    QFETCH(bool, fetched);
    // The explicit name the upgrade controller gives every package.
    const QString tmp = DownloadFile::downloadDir() + QStringLiteral("10-V12.30-abc.zip.tmp");
    const QString archive = DownloadFile::finalPath(tmp);

    DownloadFile first;
    first.setIdentity(Identity);
    first.setExpectZip(true);
    QVERIFY(run(first, mService.fileUrl(Zip), tmp).ok);
    QFile saved(archive);
    if (tamper == QLatin1String("record"))
        QVERIFY(QFile::remove(ResumeRecord::finishedPathFor(archive)));
    if (tamper == QLatin1String("append"))
        QVERIFY(saved.open(QIODevice::Append) && saved.write("x") == 1);
    if (tamper == QLatin1String("garble"))
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write(QByteArray(int(served(Zip).size()), 'z')) > 0);
    saved.close();

    QVERIFY(mService.clearLog());
    DownloadFile second;
    second.setIdentity(identity);
    second.setExpectZip(true);
    const Outcome o = run(second, mService.fileUrl(file), tmp);
    QVERIFY(o.ok);
    QCOMPARE(o.path, archive);
    QCOMPARE(mService.requestLog().size(), fetched ? 1 : 0);
    QVERIFY(TestEnv::readFile(archive) == served(file));
    // The record went along with the archive; a listing shows the archive alone.
    ResumeRecord record;
    QVERIFY(record.load(ResumeRecord::finishedPathFor(archive)));
    QVERIFY(record.isFor(identity, mService.fileUrl(file).toString()));
    QCOMPARE(QDir(DownloadFile::downloadDir()).entryList(QDir::Files), QStringList{QFileInfo(archive).fileName()});
    QVERIFY(DownloadFile::removeArchive(archive));
    QCOMPARE(QDir(DownloadFile::downloadDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestDownload::unknownLength_data()
{
    using F = DownloadFile::Failure;
    QTest::addColumn<QString>("file");
    QTest::addColumn<QJsonObject>("fault");
    QTest::addColumn<qint64>("sizeHint");
    QTest::addColumn<bool>("zip");
    QTest::addColumn<qint64>("spare"); // free bytes beyond the reserve; -1: the real disk
    QTest::addColumn<F>("failure");

    const QJsonObject chunked{{QStringLiteral("chunked"), true}};
    const QJsonObject cut{{QStringLiteral("close_delimited"), true}, {QStringLiteral("drop_after"), Partial}};
    const QJsonObject closed{{QStringLiteral("close_delimited"), true}};
    const qint64 size = Size;
    QTest::newRow("chunked, the hinted size") << Name << chunked << size << false << qint64(-1) << F::None;
    QTest::newRow("chunked, nothing to check it by")
        << Name << chunked << qint64(-1) << false << qint64(-1) << F::Incomplete;
    QTest::newRow("chunked, past the hinted size")
        << Name << chunked << qint64(30000) << false << qint64(-1) << F::TooLarge;
    QTest::newRow("chunked, past the free space") << Name << chunked << size << false << qint64(30000) << F::NoSpace;
    QTest::newRow("announced, past the free space")
        << Name << QJsonObject() << size << false << qint64(30000) << F::NoSpace;
    QTest::newRow("announced, within the free space") << Name << QJsonObject() << size << false << size << F::None;
    QTest::newRow("announced far past the package")
        << Name << QJsonObject{{QStringLiteral("announce_length"), double(200LL << 20)}} << size << false << qint64(-1)
        << F::TooLarge;
    QTest::newRow("announced, not a zip") << Name << QJsonObject() << size << true << qint64(-1) << F::NotAnArchive;
    QTest::newRow("close-delimited, cut short") << Name << cut << size << false << qint64(-1) << F::Incomplete;
    QTest::newRow("close-delimited, whole zip") << Zip << closed << qint64(-1) << true << qint64(-1) << F::None;
    QTest::newRow("close-delimited, cut zip")
        << Zip << QJsonObject{{QStringLiteral("close_delimited"), true}, {QStringLiteral("drop_after"), 1000}}
        << qint64(-1) << true << qint64(-1) << F::Incomplete;
}

// A body whose end only the closed line marks, or that would fill the
// disk: whole only when it proves itself, and never kept when it cannot.
void TestDownload::unknownLength()
{
    QFETCH(QString, file);
    QFETCH(QJsonObject, fault);
    QFETCH(qint64, sizeHint);
    QFETCH(bool, zip);
    QFETCH(qint64, spare);
    QFETCH(DownloadFile::Failure, failure);
    if (!fault.isEmpty())
        QVERIFY(mService.setFault(rule(fault, file)));
    const QString tmp = DownloadFile::downloadDir() + QStringLiteral("pkg.tmp");
    std::unique_ptr<FakePlatform> platform;
    if (spare >= 0) {
        platform = std::make_unique<FakePlatform>();
        QVERIFY(QDir().mkpath(DownloadFile::downloadDir()));
        platform->fakeVolumes().setSpace(QFileInfo(tmp).absolutePath(), DownloadFile::DiskReserve + spare,
                                         DownloadFile::DiskReserve * 4);
    }

    DownloadFile download;
    download.setSizeHint(sizeHint);
    download.setExpectZip(zip);
    const Outcome o = run(download, mService.fileUrl(file), tmp);
    QVERIFY(o.finished);
    QCOMPARE(download.failure(), failure);
    QVERIFY2(failure == DownloadFile::Failure::None || !download.errorString().isEmpty(), "no reason given");
    if (failure == DownloadFile::Failure::None) {
        QVERIFY(o.ok);
        QVERIFY(TestEnv::readFile(o.path) == served(file));
        return;
    }
    QVERIFY(!o.ok);
    // Nothing that could be resumed into the archive stays: the bytes were
    // never vouched for, or nothing was written at all.
    QVERIFY(!QFileInfo::exists(tmp));
    QVERIFY(!QFileInfo::exists(ResumeRecord::pathFor(tmp)));
    QVERIFY(!QFileInfo::exists(DownloadFile::finalPath(tmp)));
}

void TestDownload::onlyWebAddresses_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("local file") << QStringLiteral("file://%1/secret.bin");
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/files/pkg.bin");
    QTest::newRow("no host") << QStringLiteral("http:///files/pkg.bin");
    QTest::newRow("no scheme") << QStringLiteral("files/pkg.bin");
}

// Nothing is opened, made or written for an address that is not a web one.
void TestDownload::onlyWebAddresses()
{
    QFETCH(QString, url);
    url = url.arg(mEnv.dataDir());
    QVERIFY(TestEnv::writeFile(mEnv.dataDir() + QStringLiteral("/secret.bin"), "local bytes"));
    DownloadFile download;
    const Outcome o = run(download, QUrl(url));
    QVERIFY(o.finished);
    QVERIFY(!o.ok);
    QVERIFY(!QFileInfo::exists(DownloadFile::downloadDir()));
    QCOMPARE(download.failure(), DownloadFile::Failure::NotWeb);
}

void TestDownload::linkAtPartialPath_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("to a file") << true;
    QTest::newRow("to nothing yet") << false;
}

// A link planted under the partial file's name is a disk failure: nothing
// is written, or made, where it points.
void TestDownload::linkAtPartialPath()
{
    QFETCH(bool, targetExists);
    const QString target = mEnv.root() + QStringLiteral("/target-%1").arg(targetExists);
    if (targetExists)
        QVERIFY(TestEnv::writeFile(target, "keep"));
    const QString tmp = DownloadFile::temporaryPath(mService.fileUrl(Name).toString(), Prefix);
    QVERIFY(QDir().mkpath(QFileInfo(tmp).path()));
    QVERIFY(QFile::link(target, tmp));
    DownloadFile download;
    const Outcome o = run(download, mService.fileUrl(Name));
    QVERIFY(o.finished && !o.ok);
    QCOMPARE(download.failure(), DownloadFile::Failure::LocalDisk);
    QCOMPARE(QFileInfo::exists(target), targetExists);
    if (targetExists)
        QCOMPARE(TestEnv::readFile(target), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(DownloadFile::finalPath(tmp)));
}

void TestDownload::stopSilencesLateAnswer()
{
    QVERIFY(mService.setFault(rule({{QStringLiteral("delay_ms"), 300}})));
    DownloadFile download;
    QSignalSpy progress(&download, &DownloadFile::downloadProgress);
    QSignalSpy finished(&download, &DownloadFile::downloadFinished);
    download.start(1, mService.fileUrl(Name).toString(), Prefix);
    QTRY_COMPARE(mService.requestLog().size(), 1);
    download.stop();
    QTest::qWait(800);
    QVERIFY(progress.isEmpty());
    QVERIFY(finished.isEmpty());
    QVERIFY(QFileInfo::exists(DownloadFile::temporaryPath(mService.fileUrl(Name).toString(), Prefix)));
}

void TestDownload::names_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("temporary"); // below the download folder

    QTest::newRow("example") << "ABC123" << "http://h/files/pkg.zip"
                             << md5(QStringLiteral("ABC123_pkg")) + QStringLiteral(".zip.tmp");
    QTest::newRow("percent-encoded") << "ABC123" << "http://h/files/a%20b%2Bc.zip"
                                     << md5(QStringLiteral("ABC123_a b+c")) + QStringLiteral(".zip.tmp");
    QTest::newRow("no extension") << "ABC123" << "http://h/files/README"
                                  << md5(QStringLiteral("ABC123_README")) + QStringLiteral(".tmp");
    QTest::newRow("no file name") << "ABC123" << "http://h/dir/"
                                  << md5(QStringLiteral("ABC123_20240102_030405006")) + QStringLiteral(".zip.tmp");
    // A dot in the prefix must not carry a path into the name.
    QTest::newRow("unsafe extension") << "AB.C/../x" << "http://h/files/pkg"
                                      << md5(QStringLiteral("AB.C/../x_pkg")) + QStringLiteral(".tmp");
}

void TestDownload::names()
{
    QFETCH(QString, prefix);
    QFETCH(QString, url);
    QFETCH(QString, temporary);
    const QString base = DownloadFile::baseName(QUrl(url), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 6)));
    const QString tmp = DownloadFile::downloadDir() + DownloadFile::hashedName(prefix + QLatin1Char('_') + base)
        + QStringLiteral(".tmp");
    QCOMPARE(tmp, DownloadFile::downloadDir() + temporary);
    QCOMPARE(DownloadFile::downloadDir(), mEnv.dataDir() + QStringLiteral("/Downloads/"));
    QCOMPARE(DownloadFile::finalPath(tmp), tmp.chopped(4));
    if (!url.endsWith(QLatin1Char('/')))
        QCOMPARE(DownloadFile::temporaryPath(url, prefix), tmp);
    else
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}\\.zip\\.tmp$"))
                    .match(QFileInfo(DownloadFile::temporaryPath(url, prefix)).fileName())
                    .hasMatch());
}

void TestDownload::https_data()
{
    QTest::addColumn<bool>("trustCa");
    QTest::addColumn<bool>("redirectToHttp");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<DownloadFile::Failure>("failure");
    QTest::newRow("test CA trusted") << true << false << true << DownloadFile::Failure::None;
    QTest::newRow("no extra CA") << false << false << false << DownloadFile::Failure::Network;
    QTest::newRow("redirect to http") << true << true << false << DownloadFile::Failure::Redirect;
}

void TestDownload::https()
{
    QFETCH(bool, trustCa);
    QFETCH(bool, redirectToHttp);
    QFETCH(bool, ok);
    QFETCH(DownloadFile::Failure, failure);
    StandInService secure;
    QVERIFY(secure.start(StandInService::tlsArguments()));
    QVERIFY(secure.replaceFile(Name, mV1));
    if (redirectToHttp)
        QVERIFY(secure.setFault(rule({{QStringLiteral("redirect"), mService.fileUrl(Name).toString()}})));
    if (trustCa)
        qputenv("OSTREL_CA_BUNDLE", QFile::encodeName(StandInService::tlsDir() + QStringLiteral("/ca.pem")));
    QVERIFY(mService.clearLog());
    DownloadFile download;
    const Outcome o = run(download, secure.fileUrl(Name));
    qunsetenv("OSTREL_CA_BUNDLE");
    QVERIFY(o.finished);
    QCOMPARE(o.ok, ok);
    QCOMPARE(download.failure(), failure);
    if (ok)
        QVERIFY(TestEnv::readFile(o.path) == mV1);
    else
        QVERIFY(temporaryBytes().isEmpty());
    QVERIFY(mService.requestLog().isEmpty()); // the plain server is never asked
}

// Plain http only to this computer, asked directly or by a redirect. The
// proxy forwards any host to the stand-in, so a request sent anyway arrives.
void TestDownload::plainHttpOnlyToLoopback()
{
    LoopbackProxy proxy;
    QVERIFY(proxy.listen());
    qputenv("http_proxy", proxy.address());
    QUrl url = mService.fileUrl(Name);
    url.setHost(QStringLiteral("archives.ostrel.test"));
    DownloadFile direct;
    Outcome o = run(direct, url);
    QVERIFY(o.finished && !o.ok);
    QCOMPARE(direct.failure(), DownloadFile::Failure::NotWeb);

    QVERIFY(mService.setFault(rule({{QStringLiteral("redirect"), url.toString()}})));
    DownloadFile redirected;
    o = run(redirected, mService.fileUrl(Name));
    qunsetenv("http_proxy");
    QVERIFY(o.finished && !o.ok);
    QCOMPARE(redirected.failure(), DownloadFile::Failure::Redirect);
    QVERIFY(proxy.requestLines().isEmpty());
}

void TestDownload::killedProcessResumes()
{
    const QByteArray big = content(4 * 1024 * 1024, 3);
    QVERIFY(mService.replaceFile(Name, big));
    QVERIFY(mService.setFault(rule({{QStringLiteral("chunk_size"), 65536}, {QStringLiteral("chunk_delay_ms"), 20}})));
    const QString url = mService.fileUrl(Name).toString();
    const QString tmp = DownloadFile::temporaryPath(url, Prefix);
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/dravik_download_helper");
    const QStringList args = {mEnv.dataDir(), url, Prefix};

    QProcess first;
    first.start(helper, args);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(tmp).size() > 512 * 1024, 20000);
    first.kill();
    QVERIFY(first.waitForFinished());
    const qint64 kept = QFileInfo(tmp).size();
    QVERIFY(kept < big.size());

    QVERIFY(mService.clearFaults());
    QVERIFY(mService.clearLog());
    QProcess second;
    second.start(helper, args);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(TestEnv::readFile(DownloadFile::finalPath(tmp)) == big);
    const QJsonArray log = mService.requestLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(header(log.at(0), QStringLiteral("Range")), QStringLiteral("bytes=%1-").arg(kept));
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
