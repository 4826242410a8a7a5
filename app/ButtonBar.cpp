#include "ButtonBar.h"

#include "FXGlobalInfo.h"
#include "FXRadioButton.h"
#include "Pictures.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {
const char *const kIds[] = {"DOWNLOAD", "COMPLAINT", "UNISTALL", "SETTING", "USERINFO"};
} // namespace

int ButtonBar::indexOf(const QString &id)
{
    for (int i = 0; i < int(sizeof(kIds) / sizeof(kIds[0])); ++i) {
        if (id == QLatin1String(kIds[i]))
            return i;
    }
    return 0;
}

ButtonBar::ButtonBar(QWidget *parent)
    : FXWidget(parent)
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    const int width = info->size(FXGlobalInfo::Button_bar).width();
    const int height = info->windowSize().height() - qRound(info->titleBarHeight());
    setFixedSize(width, height);
    setBackgroundColor(QColor(0x0B, 0x10, 0x1D));
    setProperty("darkBackground", true);

    // The picture sits on a frame behind everything else in the bar.
    auto *background = new QFrame(this);
    background->setObjectName(QStringLiteral("buttonBarBackground"));
    background->setGeometry(0, 0, width, height);
    background->setStyleSheet(QStringLiteral(
        "QFrame{background-image:url(:/1200x800/Resources/images/1200x800/buttonBar_bg.png);border:none;}"));
    background->lower();

    auto *logo = new QLabel(this);
    logo->setPixmap(Pictures::load(QStringLiteral(":/1200x800/Resources/images/1200x800/logo.png")));
    logo->setAlignment(Qt::AlignCenter);
    logo->setStyleSheet(QStringLiteral("QLabel{background:transparent;}"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(logo);

    column->addWidget(addEntry(QStringLiteral("DOWNLOAD"), QCoreApplication::translate("Ostrel", "Download"),
                               QStringLiteral("Download.png")));
    column->addWidget(addEntry(QStringLiteral("COMPLAINT"), QCoreApplication::translate("Ostrel", "Complaint"),
                               QStringLiteral("Complaint.png")));
    column->addWidget(addEntry(QStringLiteral("UNISTALL"), QCoreApplication::translate("Ostrel", "Uninstall"),
                               QStringLiteral("Uninstall.png")));
    column->addWidget(addEntry(QStringLiteral("SETTING"), QCoreApplication::translate("Ostrel", "Setting"),
                               QStringLiteral("Setting.png")));

    auto *separator = new FXWidget(this);
    const QMargins sepMargins = info->margins(FXGlobalInfo::Button_bar_separate);
    separator->setFixedSize(width - sepMargins.left() - sepMargins.right(),
                            qMax(1, info->size(FXGlobalInfo::Button_bar_separate).height()));
    separator->setBackgroundColor(QColor(0x36, 0x3C, 0x4B));
    column->addWidget(separator, 0, Qt::AlignHCenter);
    column->addSpacing(info->size(FXGlobalInfo::spacer20).height());
    column->addWidget(addEntry(QStringLiteral("USERINFO"), QCoreApplication::translate("Ostrel", "User Information"),
                               QStringLiteral("Userinfo.png")));
    column->addStretch(1);

    connect(entry(QStringLiteral("DOWNLOAD")), &FXRadioButton::toggled, this, &ButtonBar::OnDownloadChecked);
    connect(entry(QStringLiteral("COMPLAINT")), &FXRadioButton::toggled, this, &ButtonBar::OnComplaintChecked);
    connect(entry(QStringLiteral("UNISTALL")), &FXRadioButton::toggled, this, &ButtonBar::OnUnistallChecked);
    connect(entry(QStringLiteral("SETTING")), &FXRadioButton::toggled, this, &ButtonBar::OnSettingChecked);
    connect(entry(QStringLiteral("USERINFO")), &FXRadioButton::toggled, this, &ButtonBar::OnUserInfoChecked);
}

FXRadioButton *ButtonBar::addEntry(const QString &id, const QString &caption, const QString &icon)
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    const QString folder = QStringLiteral(":/1200x800/Resources/images/1200x800/");
    auto *button = new FXRadioButton(this);
    button->setId(id);
    button->setAutoExclusive(true);
    button->setCaption(caption, info->font(11));
    button->setPictures(folder + icon, folder + QStringLiteral("triangular_arrow.png"));
    button->setContentsMargins(30, 0, 0, 0);
    button->setFixedSize(width(), info->size(FXGlobalInfo::Button_bar_item).height());
    mEntries.append(button);
    return button;
}

FXRadioButton *ButtonBar::entry(const QString &id) const
{
    for (FXRadioButton *b : mEntries) {
        if (b->id() == id)
            return b;
    }
    return nullptr;
}

QString ButtonBar::checkedId() const
{
    for (FXRadioButton *b : mEntries) {
        if (b->isChecked())
            return b->id();
    }
    return QString();
}

void ButtonBar::selectById(const QString &id)
{
    mSelectingFromCode = true;
    if (FXRadioButton *b = entry(id))
        b->setChecked(true);
    mSelectingFromCode = false;
    emit SignalBtnClicked(id, entry(id) ? indexOf(id) : 0);
}

void ButtonBar::entryChecked(const QString &id, bool checked)
{
    if (checked && !mSelectingFromCode)
        emit SignalBtnClicked(id, indexOf(id));
}

void ButtonBar::OnDownloadChecked(bool checked) { entryChecked(QStringLiteral("DOWNLOAD"), checked); }
void ButtonBar::OnComplaintChecked(bool checked) { entryChecked(QStringLiteral("COMPLAINT"), checked); }
void ButtonBar::OnUnistallChecked(bool checked) { entryChecked(QStringLiteral("UNISTALL"), checked); }
void ButtonBar::OnSettingChecked(bool checked) { entryChecked(QStringLiteral("SETTING"), checked); }
void ButtonBar::OnUserInfoChecked(bool checked) { entryChecked(QStringLiteral("USERINFO"), checked); }

// The bar is no handle for dragging the window.
void ButtonBar::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}
