// Every page in each interface language, as the mechanic meets it: the
// sign-in and registration pages, the main window with each of its pages,
// and the plug-in's list, download, card check, history and vehicle pages
// with the boxes they open, against the stand-in service and generated
// cards. In Chinese no text may be left in English, in English no text may
// be Chinese; names (products, vehicles, people, languages, Ostrel itself)
// and numbers aside.
#include "AppSettings.h"
#include "ButtonBar.h"
#include "DownloadWidget.h"
#include "FXHeader.h"
#include "FXRadioButton.h"
#include "InterfaceLanguage.h"
#include "LanguageCodes.h"
#include "LoginDialog.h"
#include "MainWindow.h"
#include "MessageBoxDialog.h"
#include "MyCheckBox.h"
#include "MyTableModel.h"
#include "OpenMessageBox.h"
#include "PluginPageFixture.h"
#include "SampleCardGenerator.h"
#include "SelectVehicleWidget.h"
#include "SettingView.h"
#include "SoftwareInfoWidget.h"
#include "UninstallView.h"
#include "WebViewTestMain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDirIterator>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString Alice = QStringLiteral("ABCDEFGHIJKLM");
const QString Single = QStringLiteral("SINGLEVEH0001");

// Names that stay as they are in every language, and units.
const char *const FixedNames[] = {"Ostrel", "Kestavo", "SD", "ID", "https", "HTTP",
                                  "JSON",   "Debian",  "KB", "MB", "GB",    "TB"};

QString plain(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// The fixture's names of products, packages, vehicles, people and
// languages: the service's data, shown as it comes.
void addFixtureNames(const QJsonValue &value, const QString &key, QSet<QString> &names)
{
    static const QStringList keys{
        QStringLiteral("soft_name"),   QStringLiteral("pro_name"),      QStringLiteral("name"),
        QStringLiteral("langName"),    QStringLiteral("first_name"),    QStringLiteral("last_name"),
        QStringLiteral("company"),     QStringLiteral("city"),          QStringLiteral("user_name"),
        QStringLiteral("update_tips"), QStringLiteral("serial_number"), QStringLiteral("zh")};
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            addFixtureNames(it.value(), it.key(), names);
    } else if (value.isArray()) {
        for (const QJsonValue &item : value.toArray())
            addFixtureNames(item, key, names);
    } else if (value.isString() && keys.contains(key)) {
        names << value.toString();
    }
}
} // namespace

class TestInterfaceLanguage : public QObject
{
    Q_OBJECT

    PluginPageFixture mFx;
    QSet<QString> mNames;
    QMap<QString, QString> mShown; // text -> where it was first seen

    void collect(QWidget *window, const QString &where)
    {
        for (const QString &text : shownTexts(window)) {
            if (!mShown.contains(text))
                mShown.insert(text, where);
        }
    }

    // The texts of a window's visible widgets, of item views every cell.
    // Tool tips and labels that take markup are read as they are shown.
    static QStringList shownTexts(QWidget *window)
    {
        QStringList texts;
        const auto add = [&](const QString &text, bool markup = false) {
            const QString shown = (markup ? plain(text) : text).trimmed();
            if (!shown.isEmpty())
                texts << shown;
        };
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *widget : qAsConst(widgets)) {
            if (!widget->isVisible())
                continue;
            add(widget->toolTip(), true);
            add(widget->accessibleName());
            add(widget->accessibleDescription());
            if (widget->isWindow())
                add(widget->windowTitle());
            if (auto *label = qobject_cast<QLabel *>(widget))
                add(label->text(), label->textFormat() != Qt::PlainText);
            if (auto *button = qobject_cast<QAbstractButton *>(widget))
                add(button->text());
            if (auto *edit = qobject_cast<QLineEdit *>(widget))
                add(edit->placeholderText());
            if (auto *combo = qobject_cast<QComboBox *>(widget))
                add(combo->currentText());
            auto *view = qobject_cast<QAbstractItemView *>(widget);
            if (!view || !view->model())
                continue;
            const QAbstractItemModel *model = view->model();
            if (auto *header = qobject_cast<QHeaderView *>(widget)) {
                for (int section = 0; section < header->count(); ++section) {
                    if (!header->isSectionHidden(section))
                        add(model->headerData(section, header->orientation()).toString());
                }
                if (auto *fxHeader = qobject_cast<FXHeader *>(widget))
                    add(fxHeader->checkBoxText());
                continue;
            }
            for (int row = 0; row < model->rowCount(); ++row) {
                for (int column = 0; column < model->columnCount(); ++column) {
                    add(model->index(row, column).data().toString());
                    add(model->index(row, column).data(Qt::ToolTipRole).toString(), true);
                }
            }
        }
        return texts;
    }

    // What is left of a text once the names are taken out, in the
    // language it must not be in.
    QStringList problems(const QString &language) const
    {
        QStringList names(mNames.begin(), mNames.end());
        // Longest first, so that a name is not cut by a shorter one inside it.
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
        const QRegularExpression wrong(
            language == QLatin1String("zh")
                ? QStringLiteral("[A-Za-z]{2,}")
                : QStringLiteral("[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
        QStringList found;
        for (auto it = mShown.begin(); it != mShown.end(); ++it) {
            QString rest = it.key();
            for (const QString &name : qAsConst(names))
                rest.remove(name);
            for (const char *name : FixedNames)
                rest.remove(QRegularExpression(QStringLiteral("(?<![A-Za-z])%1(?![A-Za-z])").arg(QLatin1String(name))));
            if (rest.contains(wrong))
                found << it.value() + QStringLiteral(": ") + it.key();
        }
        return found;
    }

    QString makeCard(const QString &name, const QString &serial, int vehicles)
    {
        const QString root = mFx.env().makeDir(QStringLiteral("cards/") + name) + QLatin1Char('/');
        SampleCardGenerator::Options options;
        options.serial = serial;
        options.vehicles = vehicles;
        if (!SampleCardGenerator(options).generate(root))
            qWarning("card not written");
        // Where the card is mounted, and its label.
        mNames << root << root.chopped(1) << name;
        // The vehicles' names on the card, in every language it has.
        QDirIterator it(root, {QStringLiteral("Names.txt")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QJsonObject names = QJsonDocument::fromJson(TestEnv::readFile(it.next())).object();
            mNames << names.value(QStringLiteral("link")).toString();
            for (const QJsonValue &entry : names.value(QStringLiteral("info_list")).toArray())
                mNames << entry.toObject().value(QStringLiteral("name")).toString();
        }
        mNames << QStringLiteral("HOME") << QStringLiteral("Public");
        return root;
    }

    void signInPages()
    {
        LoginDialog login;
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        collect(&login, QStringLiteral("sign-in"));
        login.findChild<QPushButton *>(QStringLiteral("register"))->click();
        auto *email = login.findChild<QLineEdit *>(QStringLiteral("email"));
        QTRY_VERIFY(email->isVisible());
        collect(&login, QStringLiteral("register"));
    }

    void mainWindowPages()
    {
        MainWindow window(QStringLiteral("token-alice"), 1001);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ButtonBar *bar = window.buttonBar();
        for (const char *id : {"DOWNLOAD", "COMPLAINT", "SETTING"}) {
            QTest::mouseClick(bar->entry(QLatin1String(id)), Qt::LeftButton);
            collect(&window, QLatin1String(id));
        }
        QTest::mouseClick(bar->entry(QStringLiteral("UNISTALL")), Qt::LeftButton);
        auto *vehicles = window.uninstallPage()->findChild<QTableView *>(QStringLiteral("vehicleTable"));
        QTRY_VERIFY_WITH_TIMEOUT(vehicles->model()->rowCount() > 0 && !window.uninstallPage()->isBusy(), 20000);
        collect(&window, QStringLiteral("uninstall"));

        QTest::mouseClick(bar->entry(QStringLiteral("USERINFO")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(shownTexts(&window).contains(QStringLiteral("Archer")), 20000);
        collect(&window, QStringLiteral("user information"));
        window.findChild<QPushButton *>(QStringLiteral("UserInfoAction"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QLineEdit *edit : window.findChildren<QLineEdit *>()) {
                    if (edit->isVisible() && edit->text() == QLatin1String("Archer"))
                        return true;
                }
                return false;
            }(),
            20000);
        collect(&window, QStringLiteral("user information, editing"));
    }

    // The list page in a container, able to open its other pages.
    static SoftwareInfoWidget *openList(QStackedWidget &container)
    {
        container.resize(930, 745);
        auto *list = new SoftwareInfoWidget(&container);
        list->setDownloadPageOpener(&DownloadWidget::startIn);
        list->setVehiclePageFactory(&SelectVehicleWidget::create);
        container.addWidget(list);
        container.show();
        return list;
    }

    void pluginPages()
    {
        QStackedWidget container;
        SoftwareInfoWidget *list = openList(container);
        QTRY_VERIFY_WITH_TIMEOUT(!list->isQuerying() && list->model()->rowCount() > 0, 20000);
        collect(&container, QStringLiteral("software list"));

        // One package through download and install; the end box is read.
        auto *table = list->findChild<QTableView *>(QStringLiteral("tableView"));
        for (int i = 0; i < list->rows().size(); ++i) {
            auto *box = qobject_cast<MyCheckBox *>(table->indexWidget(list->model()->index(i, 0)));
            box->setChecked(list->rows().at(i).getSoft_id() == QLatin1String("BMW"));
        }
        const int boxes = mFx.boxTexts.size();
        list->findChild<QPushButton *>(QStringLiteral("upgrade"))->click();
        auto *download = container.findChild<DownloadWidget *>();
        QVERIFY(download);
        QTRY_VERIFY_WITH_TIMEOUT(mFx.boxTexts.size() > boxes, 30000);
        collect(&container, QStringLiteral("download"));
        download->findChild<QPushButton *>(QStringLiteral("back"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(container.currentWidget(), static_cast<QWidget *>(list), 20000);

        for (const char *page : {"checkCard", "history"}) {
            QTRY_VERIFY_WITH_TIMEOUT(list->findChild<QPushButton *>(QLatin1String(page))->isEnabled(), 20000);
            list->findChild<QPushButton *>(QLatin1String(page))->click();
            QWidget *shown = container.currentWidget();
            QVERIFY(shown != list);
            auto *stop = shown->findChild<QPushButton *>(QStringLiteral("stop"));
            QTRY_VERIFY_WITH_TIMEOUT(!stop || !stop->isVisible(), 20000);
            collect(&container, QLatin1String(page));
            shown->findChild<QPushButton *>(QStringLiteral("back"))->click();
            QTRY_COMPARE(container.currentWidget(), static_cast<QWidget *>(list));
        }
    }

    void vehiclePage()
    {
        mFx.platform().fakeVolumes().add(makeCard(QStringLiteral("SINGLE"), Single, 0));
        QStackedWidget container;
        SoftwareInfoWidget *list = openList(container);
        QTRY_VERIFY_WITH_TIMEOUT(list->vehiclePage(), 20000);
        auto *page = qobject_cast<SelectVehicleWidget *>(list->vehiclePage());
        QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy(), 20000);
        collect(&container, QStringLiteral("vehicle selection"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mFx.start());
        // The catalogues as the build ships them, in the install folder.
        const QString translations = mFx.env().installDir() + QStringLiteral("/translations/");
        QDir().mkpath(translations);
        for (const QString &qm : QDir(TestEnv::buildBinDir() + QStringLiteral("/translations")).entryList(QDir::Files))
            QVERIFY(QFile::copy(TestEnv::buildBinDir() + QStringLiteral("/translations/") + qm, translations + qm));

        QFile fixture(TestEnv::sourceDir() + QStringLiteral("/tests/support/fixtures/standin.json"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        addFixtureNames(QJsonDocument::fromJson(fixture.readAll()).object(), QString(), mNames);
        for (const auto &entry : SettingView::languageTable() + SettingView::interfaceLanguageTable())
            mNames << entry.first;
    }

    void everyPage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("Chinese") << QStringLiteral("zh");
        QTest::newRow("English") << QStringLiteral("en");
    }
    void everyPage()
    {
        QFETCH(QString, language);
        QVERIFY(mFx.reset(LanguageCodes::English));
        mShown.clear();
        // Every box is read before its first button answers it.
        mFx.answerWhen = [this] {
            if (MessageBoxDialog *box = openMessageBox())
                collect(box, QStringLiteral("box"));
            return true;
        };
        AppSettings::setInterfaceLanguage(language);
        QObject translations;
        QCOMPARE(InterfaceLanguage::install(QStringLiteral("ostrel"), AppSettings::interfaceLanguage(), &translations,
                                            InterfaceLanguage::Scope::Program)
                     .size(),
                 language == QLatin1String("zh") ? 2 : 1);
        QCOMPARE(InterfaceLanguage::install(QStringLiteral("dravik"), AppSettings::interfaceLanguage(), &translations)
                     .size(),
                 1);
        mFx.platform().fakeVolumes().add(makeCard(QStringLiteral("SCANNER-") + language, Alice, 2), true, 100LL << 30,
                                         200LL << 30);

        signInPages();
        mainWindowPages();
        pluginPages();
        mFx.platform().fakeVolumes().remove(mFx.env().root() + QStringLiteral("/cards/SCANNER-") + language
                                            + QLatin1Char('/'));
        vehiclePage();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(mShown.size() > 100);
        const QStringList found = problems(language);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void cleanup() { mFx.release(); }
};

int main(int argc, char *argv[])
{
    return runWebViewTest<TestInterfaceLanguage>(argc, argv);
}

#include "tst_interfacelanguage.moc"
