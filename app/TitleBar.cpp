#include "TitleBar.h"

#include "AppSettings.h"
#include "FXGlobalInfo.h"
#include "Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

TitleBar::TitleBar(QWidget *parent)
    : FXWidget(parent)
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    const int height = qRound(info->titleBarHeight());
    // As wide as the window, which may be narrower than designed.
    setFixedHeight(height);
    setBackgroundColor(QColor(255, 255, 255));

    auto *icon = new QLabel(this);
    icon->setPixmap(Pictures::load(QStringLiteral(":/icon/Resources/Ostrel_desk_24x24.ico")));
    icon->setStyleSheet(QStringLiteral("QLabel{background:transparent;}"));

    mTitle = new QLabel(QStringLiteral("Ostrel") + versionText(), this);
    mTitle->setObjectName(QStringLiteral("title"));
    mTitle->setStyleSheet(QStringLiteral(
        "QLabel{background-color:rgb(255,255,255);font-size:12px;font-family:Helvetica;color:rgb(0,0,0);"
        "padding-left:0px;padding-right:0px;}"));

    // Reached by Tab like the rest of the window: without them the keyboard
    // could not close the program.
    mMin = new QPushButton(this);
    mMin->setObjectName(QStringLiteral("min"));
    mMin->setFocusPolicy(Qt::TabFocus);
    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("close"));
    mClose->setFocusPolicy(Qt::TabFocus);
    const QPixmap minPicture(info->imagePath(QStringLiteral("minimize_normal.png")));
    const QPixmap closePicture(info->imagePath(QStringLiteral("close_normal.png")));
    if (!minPicture.isNull())
        mMin->setFixedSize(minPicture.size());
    if (!closePicture.isNull())
        mClose->setFixedSize(closePicture.size());
    // Pictures only: the screen reader reads the names.
    mMin->setToolTip(tr("Minimize"));
    mClose->setToolTip(tr("Close"));
    mMin->setAccessibleName(mMin->toolTip());
    mClose->setAccessibleName(mClose->toolTip());

    auto *row = new QHBoxLayout;
    row->setContentsMargins(info->margins(FXGlobalInfo::Title_bar).left(), 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(icon);
    row->addWidget(mTitle);
    row->addStretch(1);
    row->addWidget(mMin);
    row->addWidget(mClose);

    auto *line = new FXWidget(this);
    line->setFixedHeight(1);
    line->setBackgroundColor(info->color(FXGlobalInfo::Title_bar_separate));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    column->addWidget(line);

    connect(mMin, &QPushButton::clicked, this, &TitleBar::OnBtnMINChecked);
    connect(mClose, &QPushButton::clicked, this, &TitleBar::OnBtnExitChecked);
}

QString TitleBar::versionText()
{
    const QString value = AppSettings::version().toUpper().trimmed();
    static const QRegularExpression pattern(QStringLiteral("^V[0-9][.][0-9]{2}[.][0-9]{3}$"));
    if (value.size() < 9)
        return QString();
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return QString();
    return value.mid(match.capturedStart(), 9);
}

QString TitleBar::title() const
{
    return mTitle->text();
}

void TitleBar::OnBtnMINChecked(bool)
{
    emit SignalBtnClicked(QStringLiteral("MIN"), 0);
}

void TitleBar::OnBtnExitChecked(bool)
{
    emit SignalBtnClicked(QStringLiteral("EXIT"), 0);
}

// Presses, moves and releases belong to the window's drag handling.
void TitleBar::mousePressEvent(QMouseEvent *event)
{
    event->ignore();
}

void TitleBar::mouseMoveEvent(QMouseEvent *event)
{
    event->ignore();
}

void TitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    event->ignore();
}
