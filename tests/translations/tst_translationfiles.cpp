// The translation files against the sources: lupdate, run as the
// ostrel_lupdate target runs it, adds nothing to a copy of them, and every
// entry of every language is finished, keeps the source's placeholders and
// has its counterpart in the other language.
#include "TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
struct Entry
{
    QString context;
    QString source;
    QStringList translations; // one, or one per plural form
    bool finished = true;
};

QList<Entry> readTs(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<Entry> entries;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            entries.append({context, xml.readElementText(), {}, true});
        } else if (xml.name() == QLatin1String("translation") && !entries.isEmpty()) {
            Entry &entry = entries.last();
            entry.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            // Either text or one <numerusform> per plural form.
            QString text;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement() && xml.name() == QLatin1String("translation"))
                    break;
                if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    entry.translations << xml.readElementText();
                else if (xml.isCharacters())
                    text += xml.text();
            }
            if (entry.translations.isEmpty())
                entry.translations << text;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return entries;
}

// %1..%99 and %n, each once.
QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%(\\d+|n)")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    return found;
}

QString describe(const Entry &entry)
{
    return entry.context + QStringLiteral(" | ") + entry.source;
}
} // namespace

class TestTranslationFiles : public QObject
{
    Q_OBJECT

    TestEnv mEnv;
    QString mCopy;

    static QStringList tsFiles()
    {
        return QDir(TestEnv::sourceDir() + QStringLiteral("/resources/translations"))
            .entryList({QStringLiteral("*.ts")}, QDir::Files, QDir::Name);
    }

private slots:
    // lupdate over a copy: new texts of the sources arrive there unfinished.
    void initTestCase()
    {
        const QString from = TestEnv::sourceDir() + QStringLiteral("/resources/translations/");
        mCopy = mEnv.makeDir(QStringLiteral("translations"));
        QCOMPARE(tsFiles().size(), 4);
        for (const QString &name : tsFiles())
            QVERIFY(QFile::copy(from + name, mCopy + QLatin1Char('/') + name));
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(OSTREL_TEST_CMAKE),
                    {QStringLiteral("-DLUPDATE=" OSTREL_TEST_LUPDATE),
                     QStringLiteral("-DSOURCE_DIR=") + TestEnv::sourceDir(), QStringLiteral("-DTS_DIR=") + mCopy,
                     QStringLiteral("-P"), from + QStringLiteral("UpdateTranslations.cmake")});
        QVERIFY(cmake.waitForFinished(120000));
        QVERIFY2(cmake.exitStatus() == QProcess::NormalExit && cmake.exitCode() == 0, cmake.readAll().constData());
    }

    void everyEntryIsTranslated_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : tsFiles())
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyEntryIsTranslated()
    {
        QFETCH(QString, name);
        QString error;
        const QList<Entry> entries = readTs(mCopy + QLatin1Char('/') + name, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(entries.size() > 100);
        QStringList problems;
        for (const Entry &entry : entries) {
            bool empty = false;
            for (const QString &text : entry.translations)
                empty = empty || text.trimmed().isEmpty();
            if (!entry.finished || empty) {
                problems << QStringLiteral("not translated: ") + describe(entry);
                continue;
            }
            for (const QString &text : entry.translations) {
                if (placeholders(text) != placeholders(entry.source))
                    problems << QStringLiteral("placeholders differ: ") + describe(entry) + QStringLiteral(" -> ")
                                    + text;
            }
        }
        // The fix: cmake --build <build> --target ostrel_lupdate, then write
        // the translations (ostrel_accept_english takes the source as English).
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void languagesHoldTheSameTexts_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("ostrel") << QStringLiteral("ostrel");
        QTest::newRow("dravik") << QStringLiteral("dravik");
    }
    void languagesHoldTheSameTexts()
    {
        QFETCH(QString, catalogue);
        QSet<QString> texts[2];
        int i = 0;
        for (const char *language : {"zh", "en"}) {
            QString error;
            const QString path = QStringLiteral("%1/%2_%3.ts").arg(mCopy, catalogue, QLatin1String(language));
            for (const Entry &entry : readTs(path, &error))
                texts[i] << describe(entry);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            ++i;
        }
        QCOMPARE(texts[0], texts[1]);
    }
};

QTEST_GUILESS_MAIN(TestTranslationFiles)
#include "tst_translationfiles.moc"
