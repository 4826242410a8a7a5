#include "SettingView.h"

#include "AppSettings.h"
#include "FXComboBox.h"
#include "FXGlobalInfo.h"
#include "FXWidget.h"
#include "LanguageCodes.h"
#include "MessageBoxDialog.h"
#include "UserPagesLog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
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

    mLanguage = new FXComboBox(this);
    mLanguage->setObjectName(QStringLiteral("LanguageBox"));
    mCaption->setBuddy(mLanguage); // named by its caption, not by the language shown
    mLanguage->setFixedSize(info->size(FXGlobalInfo::combobox_language));
    mLanguage->setView(new QListView(mLanguage));
    mLanguage->setStyleSheet(QString::fromLatin1(kComboStyle));
    const QString saved = LanguageCodes::current();
    for (const auto &entry : qAsConst(mLanguages)) {
        mLanguage->addItem(entry.first, entry.second);
        if (saved.compare(entry.second, Qt::CaseInsensitive) == 0)
            mLanguage->setCurrentText(entry.first);
    }
    // Connected only now, so the initial selection is not taken for a change.
    connect(mLanguage, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingView::OnLanguageChanged);

    mConfirm = new QPushButton(translated("Setting", QT_TRANSLATE_NOOP("Setting", "Confirm")), this);
    mConfirm->setObjectName(QStringLiteral("LanguageConfirm"));
    mConfirm->setEnabled(false);
    mConfirm->setFixedSize(info->size(FXGlobalInfo::Button3));
    mConfirm->setStyleSheet(QString::fromLatin1(kConfirmStyle));
    connect(mConfirm, &QPushButton::clicked, this, &SettingView::OnBtnLanguageSetClicked);

    auto *line = new FXWidget(this);
    line->setFixedHeight(qMax(1, spacer(FXGlobalInfo::spacer1)));
    line->setBackgroundColor(info->color(FXGlobalInfo::Sub_title));

    auto *choice = new QHBoxLayout;
    choice->setContentsMargins(0, 0, 0, 0);
    choice->setSpacing(spacer(FXGlobalInfo::spacer20));
    choice->addWidget(mCaption);
    choice->addWidget(mLanguage);
    choice->addStretch(1);

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

void SettingView::OnLanguageChanged(int index)
{
    const QVariant data = mLanguage->itemData(index);
    const QString code = data.canConvert<QString>() ? data.toString() : QString();
    if (code != LanguageCodes::current()) {
        const int stored = LanguageCodes::indexOf(code);
        mSelectedIndex = stored >= 0 ? stored : LanguageCodes::English;
        mConfirm->setEnabled(true);
    } else {
        mConfirm->setEnabled(false);
    }
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
    const auto answer = MessageBoxDialog::showMessageBox(
        this, translated("Uninstall", "Tips"),
        translated("Setting", QT_TRANSLATE_NOOP("Setting", "The vehicle software language changes when Ostrel "
                                                           "restarts. Restart now?")),
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    qCDebug(lcUserPages) << "language: " << mSelectedIndex;
    // Written (and flushed) before the loop ends, so the new process reads it.
    AppSettings::setLanguage(mSelectedIndex);
    mConfirm->setEnabled(false);
    QCoreApplication::exit(RestartExitCode);
}
