// The embedded pictures, font, terms page and style sheet: every resource the
// program opens by name is present, loads, and has the size its widget needs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QImageReader>
#include <QLineEdit>
#include <QMovie>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const QString Images = QStringLiteral(":/1200x800/Resources/images/1200x800/");
const QString Plugin = QStringLiteral(":/Dravik/Resources/");
const QString StylePath = QStringLiteral(":/qss/Resources/qss/style.qss");

QString readResource(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// Collects style-sheet warnings while it lives, and leaves the application
// without a style sheet afterwards, even when a check fails half-way.
class StyleWarnings
{
public:
    StyleWarnings()
    {
        sSeen.clear();
        mPrevious = qInstallMessageHandler(&StyleWarnings::handle);
        sPrevious = mPrevious;
    }
    ~StyleWarnings()
    {
        qInstallMessageHandler(mPrevious);
        sPrevious = nullptr;
        qApp->setStyleSheet(QString());
    }
    QStringList seen() const { return sSeen; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg
            && (message.contains(QLatin1String("style"), Qt::CaseInsensitive)
                || message.contains(QLatin1String("Could not parse"))))
            sSeen << message;
        if (sPrevious)
            sPrevious(type, context, message);
    }

    QtMessageHandler mPrevious = nullptr;
    static inline QtMessageHandler sPrevious = nullptr;
    static inline QStringList sSeen;
};

// Colour of the button's face, left of any centred caption.
QColor faceColour(QWidget *w)
{
    const QImage shot = w->grab().toImage();
    return shot.pixelColor(5, shot.height() / 2);
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        // Pictures drawn over other widgets must leave their corners see-through;
        // backgrounds must cover everything.
        QTest::addColumn<bool>("transparentCorner");

        // Rows are named "file@prefix", e.g. "selected.png@Dravik".
        const auto row = [](const QString &path, QSize size, bool transparent) {
            const QString file = path.section(QLatin1Char('/'), -1);
            const QString prefix = path.section(QLatin1Char('/'), 1, 1);
            QTest::newRow(qPrintable(file + QLatin1Char('@') + prefix)) << path << size << transparent;
        };
        // Navigation bar: 230 wide, window height minus the title bar.
        row(Images + QStringLiteral("buttonBar_bg.png"), QSize(230, 760), false);
        row(Images + QStringLiteral("logo.png"), QSize(230, 120), true);
        for (const char *name : {"Download.png", "Complaint.png", "Uninstall.png", "Setting.png", "Userinfo.png"})
            row(Images + QLatin1String(name), QSize(24, 24), true);
        row(Images + QStringLiteral("triangular_arrow.png"), QSize(12, 24), true);
        // Title bar: 40 high including its one-pixel separator line.
        row(Images + QStringLiteral("FXTitleFunctionBar.png"), QSize(1200, 40), false);
        row(Images + QStringLiteral("minimize_normal.png"), QSize(46, 39), true);
        row(Images + QStringLiteral("minimize_hover.png"), QSize(46, 39), false);
        row(Images + QStringLiteral("minimize_click.png"), QSize(46, 39), false);
        row(Images + QStringLiteral("close_normal.png"), QSize(46, 39), true);
        row(Images + QStringLiteral("close_hover.png"), QSize(46, 39), false);
        row(Images + QStringLiteral("close_click.png"), QSize(46, 39), false);
        // Sign-in window is 1200 x 600: picture on the left half, registration behind all.
        row(Images + QStringLiteral("sign_in_bg.png"), QSize(600, 600), false);
        row(Images + QStringLiteral("register_bg.png"), QSize(1200, 600), false);
        row(Images + QStringLiteral("bg_caricon_pager.png"), QSize(160, 160), true);
        // Controls.
        row(Images + QStringLiteral("selected.png"), QSize(20, 20), true);
        row(Images + QStringLiteral("unselected.png"), QSize(20, 20), true);
        row(Images + QStringLiteral("partly_selected.png"), QSize(20, 20), true);
        row(Images + QStringLiteral("selected_disabled.png"), QSize(20, 20), true);
        row(Images + QStringLiteral("unselected_disabled.png"), QSize(20, 20), true);
        row(Images + QStringLiteral("dropdown_box_arrow.png"), QSize(14, 8), true);
        row(Images + QStringLiteral("sd_card.png"), QSize(56, 72), true);
        row(Images + QStringLiteral("insert_card.png"), QSize(200, 160), true);
        row(Images + QStringLiteral("done.png"), QSize(18, 18), true);
        row(Images + QStringLiteral("failed.png"), QSize(18, 18), true);
        // The plug-in's own names for the same controls.
        for (const char *name : {"selected.png", "unselected.png", "partly_selected.png"})
            row(Plugin + QLatin1String(name), QSize(20, 20), true);
        row(Plugin + QStringLiteral("dropdown_box_arrow.png"), QSize(14, 8), true);
        row(Plugin + QStringLiteral("sd_card.png"), QSize(56, 72), true);
        row(Plugin + QStringLiteral("insert_card.png"), QSize(200, 160), true);
        row(Plugin + QStringLiteral("done.png"), QSize(18, 18), true);
        row(Plugin + QStringLiteral("failed.png"), QSize(18, 18), true);
        // Window icons.
        row(QStringLiteral(":/icon/Resources/Ostrel_desk_24x24.ico"), QSize(24, 24), true);
        row(QStringLiteral(":/icon/Resources/ostrel.png"), QSize(256, 256), true);
    }

    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(bool, transparentCorner);

        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);

        const int cornerAlpha = image.pixelColor(0, 0).alpha();
        if (transparentCorner)
            QCOMPARE(cornerAlpha, 0);
        else
            QCOMPARE(cornerAlpha, 255);
    }

    // The window icon carries small and large images, so both the title bar
    // and the desktop pick a sharp one.
    void launcherIconHasEverySize()
    {
        QImageReader reader(QStringLiteral(":/icon/Resources/ic_launcher.ico"));
        QVERIFY(reader.canRead());
        QList<int> widths;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY(!image.isNull());
            QCOMPARE(image.width(), image.height());
            widths << image.width();
        }
        for (int wanted : {16, 24, 32, 48, 256})
            QVERIFY2(widths.contains(wanted), qPrintable(QString::number(wanted)));
    }

    void busyPictureAnimates()
    {
        QMovie movie(QStringLiteral(":/gifs/Resources/images/gifs/loading.gif"));
        QVERIFY(movie.isValid());
        QVERIFY(movie.frameCount() > 1);
        QVERIFY(movie.jumpToFrame(0));
        const QImage first = movie.currentImage();
        QCOMPARE(first.size(), QSize(80, 80));
        // Every frame differs from the first, so the spinner really turns, and
        // the background around the ring stays see-through.
        for (int i = 1; i < movie.frameCount(); ++i) {
            QVERIFY(movie.jumpToFrame(i));
            const QImage frame = movie.currentImage();
            QCOMPARE(frame.size(), QSize(80, 80));
            QVERIFY2(frame != first, qPrintable(QStringLiteral("frame %1").arg(i)));
            QCOMPARE(frame.pixelColor(40, 40).alpha(), 0);
            QCOMPARE(frame.pixelColor(0, 0).alpha(), 0);
        }
        QVERIFY(movie.nextFrameDelay() > 0);
    }

    void fontRegisters()
    {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/font/Resources/font/Helvetica.ttf"));
        QVERIFY(id >= 0);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        QVERIFY(!families.isEmpty());

        QFile file(QStringLiteral(":/font/Resources/font/Helvetica.ttf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont raw(file.readAll(), 12);
        QVERIFY(raw.isValid());
        for (QChar c : QStringLiteral("Ostrel V1.00.001 ÄÖÜéñç"))
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c)));
    }

    // The program always loads the Chinese file, so an entry missing there
    // shows up as an English text amid Chinese ones.
    void shellTextsAreTranslated_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        const QString nav = QStringLiteral("Ostrel");
        for (const char *entry : {"Download", "Complaint", "Uninstall", "Setting", "User Information"})
            QTest::newRow(entry) << nav << QString::fromLatin1(entry);
        QTest::newRow("exit title") << QStringLiteral("Uninstall") << QStringLiteral("Tips");
        QTest::newRow("exit question")
            << QStringLiteral("Uninstall")
            << QStringLiteral("The model is upgrading. Closing may result in the car not working properly. Is it "
                              "turned off?");
        // Looked up through uninstallText(), which lupdate does not see.
        QTest::newRow("stop") << QStringLiteral("Uninstall") << QStringLiteral("Stop");
        QTest::newRow("no card") << QStringLiteral("Uninstall") << QStringLiteral("Insert the scanner's SD card");
        QTest::newRow("stopped") << QStringLiteral("Uninstall")
                                 << QStringLiteral("Stopped. %1 of %2 vehicle software packages were uninstalled; "
                                                   "the others stay on the SD card.");
        QTest::newRow("card use") << QStringLiteral("Uninstall") << QStringLiteral("Used %1 of %2");
        QTest::newRow("no card in") << QStringLiteral("Uninstall") << QStringLiteral("No SD card");
        QTest::newRow("minimise") << QStringLiteral("TitleBar") << QStringLiteral("Minimize");
        QTest::newRow("close") << QStringLiteral("TitleBar") << QStringLiteral("Close");
        QTest::newRow("no plug-in") << QStringLiteral("MissingPluginPage")
                                    << QStringLiteral("The download component is not installed.");
    }
    void shellTextsAreTranslated()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const QString qm = qEnvironmentVariable("OSTREL_BUILD_BIN") + QStringLiteral("/translations/ostrel_zh.qm");
        QTranslator translator;
        QVERIFY2(translator.load(qm), qPrintable(qm));
        const QString text = translator.translate(context.toLatin1().constData(), source.toUtf8().constData());
        QVERIFY2(!text.isEmpty() && text != source, qPrintable(source));
    }

    void termsPage()
    {
        const QString html = readResource(QStringLiteral(":/files/Resources/files/Terms and conditions.htm"));
        QVERIFY(html.startsWith(QLatin1String("<!DOCTYPE html>")));
        QVERIFY(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
        QVERIFY(html.trimmed().endsWith(QLatin1String("</html>")));
        // It is placeholder text and says so where a reader starts.
        QVERIFY(html.indexOf(QLatin1String("SAMPLE TERMS")) < html.indexOf(QLatin1String("<h2>")));
    }

    // Each picture the style sheet names must exist; a typo would only show
    // as a missing picture at run time.
    void styleSheetPicturesExist()
    {
        const QString qss = readResource(StylePath);
        QVERIFY(!qss.isEmpty());
        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        int count = 0;
        for (auto it = url.globalMatch(qss); it.hasNext(); ++count) {
            const QString path = it.next().captured(1).trimmed();
            QVERIFY2(path.startsWith(QLatin1String(":/")), qPrintable(path));
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        }
        QVERIFY(count >= 6);
    }

    void styleSheetAppliesCleanly()
    {
        const QString qss = readResource(StylePath);
        QVERIFY(!qss.isEmpty());

        StyleWarnings warnings;
        qApp->setStyleSheet(qss);

        // One of each styled kind, with the object names the pages use.
        QWidget page;
        auto *layout = new QVBoxLayout(&page);
        auto *plain = new QPushButton(QStringLiteral("Uninstall"));
        plain->setFixedSize(150, 40);
        auto *close = new QPushButton;
        close->setObjectName(QStringLiteral("close"));
        close->setFixedSize(46, 39);
        auto *minimise = new QPushButton;
        minimise->setObjectName(QStringLiteral("min"));
        minimise->setFixedSize(46, 39);
        auto *signIn = new QPushButton(QStringLiteral("Sign in"));
        signIn->setObjectName(QStringLiteral("login"));
        signIn->setProperty("pairRole", QStringLiteral("primary"));
        signIn->setFixedSize(400, 50);
        auto *reg = new QPushButton(QStringLiteral("Register"));
        reg->setObjectName(QStringLiteral("register"));
        reg->setProperty("pairRole", QStringLiteral("secondary"));
        reg->setFixedSize(150, 40);
        // The vehicle selection page's "submit" is a plain button, unlike the
        // registration page's pair.
        auto *submit = new QPushButton(QStringLiteral("Submit"));
        submit->setObjectName(QStringLiteral("submit"));
        submit->setFixedSize(150, 40);
        auto *link = new QPushButton(QStringLiteral("Retrieve Password"));
        link->setFlat(true);
        auto *combo = new QComboBox;
        combo->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});
        combo->setFixedSize(180, 40);
        auto *check = new QCheckBox(QStringLiteral("Stay signed in"));
        auto *edit = new QLineEdit;
        edit->setFixedSize(400, 50);
        auto *table = new QTableView;
        auto *model = new QStandardItemModel(30, 4, table);
        table->setModel(model);
        for (QWidget *w : {static_cast<QWidget *>(plain), static_cast<QWidget *>(close), static_cast<QWidget *>(minimise),
                           static_cast<QWidget *>(signIn), static_cast<QWidget *>(reg), static_cast<QWidget *>(submit), static_cast<QWidget *>(link),
                           static_cast<QWidget *>(combo), static_cast<QWidget *>(check), static_cast<QWidget *>(edit),
                           static_cast<QWidget *>(table)})
            layout->addWidget(w);
        page.resize(600, 700);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCoreApplication::processEvents();

        // Pages fix their controls' sizes; the style must not loosen them.
        const QList<QPair<QWidget *, QSize>> fixed = {
            {plain, QSize(150, 40)}, {close, QSize(46, 39)}, {minimise, QSize(46, 39)},
            {signIn, QSize(400, 50)}, {reg, QSize(150, 40)}, {combo, QSize(180, 40)},
            {edit, QSize(400, 50)}};
        for (const auto &f : fixed)
            QCOMPARE(f.first->size(), f.second);

        // The blue action colour reaches ordinary buttons and the first of a
        // pair; the second and the title-bar buttons are not blue.
        const QColor blue(0x21, 0x3B, 0x78);
        QCOMPARE(faceColour(plain).rgb(), blue.rgb());
        QCOMPARE(faceColour(signIn).rgb(), blue.rgb());
        QVERIFY(faceColour(reg).rgb() != blue.rgb());
        QCOMPARE(faceColour(submit).rgb(), blue.rgb());
        QVERIFY(faceColour(close).rgb() != blue.rgb());
        QVERIFY(faceColour(link).rgb() != blue.rgb());
        QCOMPARE(check->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check), 20);

        QVERIFY2(warnings.seen().isEmpty(), qPrintable(warnings.seen().join(QLatin1Char('\n'))));
    }

    // A broken sheet is reported by the toolkit; this keeps the check above honest.
    void brokenStyleSheetIsNoticed()
    {
        StyleWarnings warnings;
        qApp->setStyleSheet(QStringLiteral("QPushButton { color: red;"));
        QPushButton button(QStringLiteral("x"));
        button.show();
        button.ensurePolished();
        QCoreApplication::processEvents();
        QVERIFY(!warnings.seen().isEmpty());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
