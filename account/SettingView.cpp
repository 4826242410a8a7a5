#include "SettingView.h"

#include "AppSettings.h"
#include "FXComboBox.h"
#include "FXGlobalInfo.h"
#include "FXWidget.h"
#include "InterfaceLanguage.h"
#include "LanguageCodes.h"
#include "MessageBoxDialog.h"
#include "UserPagesLog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char *const kComboStyle =
    "QComboBox{background:white;border:1px solid gray;border-radius:7px;\t\tfont-size:14px;"
    "font-family:Helvetica;color:#000000;padding-left:10px;padding-right:35px;}"
    "QComboBox QAbstractItemView:item{background:white;height:32px;width:200;color:#000000;}"
    "QComboBox::down-arrow{image:url(:/1200x800/Resources/images/1200x800/dropdown_box_arrow.png); width:35px;}"
    "QComboBox::drop-down{border:0px; width:35px;}";

const char *const kConfirmStyle =
    "QPushButton{background-color:#213b78;font-size:22px;font-weight: bold;font-family:Helvetica;"
    "color:rgb(255,225,255);border-radius:8px;border-width:0px;border-style:outset;}"
    "QPushButton:disabled{background-color:gray;font-size:22px;font-weight: bold;font-family:Helvetica;"
    "color:rgb(255,225,255);border-radius:8px;border-width:0px;border-style:outset;}";

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

int spacer(FXGlobalInfo::Element element)
{
    return FXGlobalInfo::instance()->size(element).height();
}
} // namespace

QVector<QPair<QString, QString>> SettingView::languageTable()
{
    // Each name is written in its own language and never translated.
    return {
        {QStringLiteral("Deutsch"), QStringLiteral("de")},
        {QStringLiteral("English"), QStringLiteral("en")},
        {QString::fromUtf8("Español"), QStringLiteral("es")},
        {QString::fromUtf8("Français"), QStringLiteral("fr")},
        {QStringLiteral("Lingua italiana"), QStringLiteral("it")},
        {QStringLiteral("Magyar"), QStringLiteral("hu")},
        {QStringLiteral("Nederlands"), QStringLiteral("nl")},
        {QStringLiteral("Polski"), QStringLiteral("pl")},
        {QString::fromUtf8("Português"), QStringLiteral("pt")},
        {QString::fromUtf8("Русский"), QStringLiteral("ru")},
        {QStringLiteral("Svenska"), QStringLiteral("se")},
        {QString::fromUtf8("中文简体"), QStringLiteral("cn")},
        {QString::fromUtf8("中文繁體"), QStringLiteral("hk")},
        {QString::fromUtf8("日本語"), QStringLiteral("jp")},
        {QString::fromUtf8("한국어"), QStringLiteral("kr")},
        {QString::fromUtf8("ไทย"), QStringLiteral("th")},
    };
}

QVector<QPair<QString, QString>> SettingView::interfaceLanguageTable()
{
    return {
        {QString::fromUtf8("简体中文"), QString::fromLatin1(InterfaceLanguage::Chinese)},
        {QStringLiteral("English"), QString::fromLatin1(InterfaceLanguage::English)},
    };
}

SettingView::SettingView(QWidget *parent)
    : QWidget(parent)
    , mLanguages(languageTable())
    , mSelectedIndex(AppSettings::language())
{
    setObjectName(QStringLiteral("SettingView"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("QWidget#SettingView{background-color: rgb(255, 255, 255);}"));
    FXGlobalInfo *info = FXGlobalInfo::instance();

    mTitle = new QLabel(translated("Setting", QT_TRANSLATE_NOOP("Setting", "Setting")), this);
    mTitle->setStyleSheet(QStringLiteral(
        "QLabel{background:transparent;font-size:22px;font-weight:bold;font-family:Helvetica;color:#000000;}"));
    mCaption = new QLabel(translated("Setting", QT_TRANSLATE_NOOP("Setting", "Language Setting")), this);
    mCaption->setStyleSheet(QStringLiteral(
        "QLabel{background:transparent;font-size:22px;font-family:Helvetica;color:#000000;}"));

    mLanguage = addLanguageBox(QStringLiteral("LanguageBox"), mLanguages, LanguageCodes::current());
    mCaption->setBuddy(mLanguage);
    // Connected only now, so the initial selection is not taken for a change.
    connect(mLanguage, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingView::OnLanguageChanged);

    mInterfaceCaption = new QLabel(translated("Setting", QT_TRANSLATE_NOOP("Setting", "Interface Language")), this);
    mInterfaceCaption->setStyleSheet(mCaption->styleSheet());
    mInterfaceLanguage = addLanguageBox(QStringLiteral("InterfaceLanguageBox"), interfaceLanguageTable(),
                                        AppSettings::interfaceLanguage());
    mInterfaceCaption->setBuddy(mInterfaceLanguage);
    connect(mInterfaceLanguage, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &SettingView::updateConfirm);

    mConfirm = new QPushButton(translated("Setting", QT_TRANSLATE_NOOP("Setting", "Confirm")), this);
    mConfirm->setObjectName(QStringLiteral("LanguageConfirm"));
    mConfirm->setEnabled(false);
    mConfirm->setFixedSize(info->size(FXGlobalInfo::Button3));
    mConfirm->setStyleSheet(QString::fromLatin1(kConfirmStyle));
    connect(mConfirm, &QPushButton::clicked, this, &SettingView::OnBtnLanguageSetClicked);

    auto *line = new FXWidget(this);
    line->setFixedHeight(qMax(1, spacer(FXGlobalInfo::spacer1)));
    line->setBackgroundColor(info->color(FXGlobalInfo::Sub_title));

    auto *choice = new QGridLayout;
    choice->setContentsMargins(0, 0, 0, 0);
    choice->setHorizontalSpacing(spacer(FXGlobalInfo::spacer20));
    choice->setVerticalSpacing(spacer(FXGlobalInfo::spacer20));
    choice->addWidget(mCaption, 0, 0);
    choice->addWidget(mLanguage, 0, 1);
    choice->addWidget(mInterfaceCaption, 1, 0);
    choice->addWidget(mInterfaceLanguage, 1, 1);
    choice->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(spacer(FXGlobalInfo::spacer20));
    layout->addWidget(mTitle);
    layout->addSpacing(spacer(FXGlobalInfo::spacer15));
    layout->addWidget(line);
    layout->addSpacing(spacer(FXGlobalInfo::spacer30));
    layout->addLayout(choice);
    layout->addSpacing(spacer(FXGlobalInfo::spacer30));
    layout->addWidget(mConfirm);
    layout->addStretch(1);
}

QComboBox *SettingView::addLanguageBox(const QString &objectName, const QVector<QPair<QString, QString>> &table,
                                       const QString &saved)
{
    auto *box = new FXComboBox(this); // named by its caption, not by the language shown
    box->setObjectName(objectName);
    box->setFixedSize(FXGlobalInfo::instance()->size(FXGlobalInfo::combobox_language));
    box->setView(new QListView(box));
    box->setStyleSheet(QString::fromLatin1(kComboStyle));
    for (const auto &entry : table) {
        box->addItem(entry.first, entry.second);
        if (saved.compare(entry.second, Qt::CaseInsensitive) == 0)
            box->setCurrentText(entry.first);
    }
    return box;
}

QString SettingView::chosenInterfaceLanguage() const
{
    return mInterfaceLanguage->currentData().toString();
}

bool SettingView::vehicleLanguageChanged() const
{
    const QVariant data = mLanguage->currentData();
    const QString code = data.canConvert<QString>() ? data.toString() : QString();
    return code != LanguageCodes::current();
}

bool SettingView::interfaceLanguageChanged() const
{
    return chosenInterfaceLanguage() != AppSettings::interfaceLanguage();
}

void SettingView::updateConfirm()
{
    mConfirm->setEnabled(vehicleLanguageChanged() || interfaceLanguageChanged());
}

void SettingView::OnLanguageChanged(int index)
{
    const QVariant data = mLanguage->itemData(index);
    const QString code = data.canConvert<QString>() ? data.toString() : QString();
    if (code != LanguageCodes::current()) {
        const int stored = LanguageCodes::indexOf(code);
        mSelectedIndex = stored >= 0 ? stored : LanguageCodes::English;
    }
    updateConfirm();
}

void SettingView::OnBtnLanguageSetClicked()
{
    // Read afresh: the plug-in and the uninstall page set these while they work.
    const bool uninstalling = AppSettings::isUninstalling();
    const bool downloading = AppSettings::isDownloading();
    if (downloading || uninstalling) {
        const char *text = downloading
            ? QT_TRANSLATE_NOOP("Setting", "Vehicle is being upgraded, disables language switching!")
            : QT_TRANSLATE_NOOP("Setting", "Vehicle is being unload, disables language switching!");
        MessageBoxDialog::showMessageBox(this, translated("Uninstall", "Tips"), translated("Setting", text),
                                         QMessageBox::Ok);
        return;
    }
    // The restart ends whatever the mechanic has open: asked first.
    const bool vehicleChanged = vehicleLanguageChanged();
    const bool interfaceChanged = interfaceLanguageChanged();
    const char *question =
        !interfaceChanged
            ? QT_TRANSLATE_NOOP("Setting", "The vehicle software language changes when Ostrel restarts. Restart now?")
        : !vehicleChanged
            ? QT_TRANSLATE_NOOP("Setting", "The interface language changes when Ostrel restarts. Restart now?")
            : QT_TRANSLATE_NOOP("Setting", "The interface language and the vehicle software language change "
                                           "when Ostrel restarts. Restart now?");
    const auto answer = MessageBoxDialog::showMessageBox(
        this, translated("Uninstall", "Tips"), translated("Setting", question), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    qCDebug(lcUserPages) << "language: " << mSelectedIndex << "interfaceLanguage: " << chosenInterfaceLanguage();
    // Written (and flushed) before the loop ends, so the new process reads them.
    if (vehicleChanged)
        AppSettings::setLanguage(mSelectedIndex);
    if (interfaceChanged)
        AppSettings::setInterfaceLanguage(chosenInterfaceLanguage());
    mConfirm->setEnabled(false);
    QCoreApplication::exit(RestartExitCode);
}
