#include "PageControls.h"

#include "FXGlobalInfo.h"
#include "Toast.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

void PageControls::setUpPage(QWidget *page, const QString &objectName)
{
    page->setObjectName(objectName);
    page->setAttribute(Qt::WA_TranslucentBackground);
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->setFixedSize(FXGlobalInfo::instance()->signInWindowSize());
}

QHBoxLayout *PageControls::titleRow(QPushButton *minButton, QPushButton *closeButton)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch();
    row->addWidget(minButton);
    row->addWidget(closeButton);
    return row;
}

QButtonGroup *PageControls::actionPair(QWidget *page, QPushButton *first, QPushButton *second, const QSize &size)
{
    auto *group = new QButtonGroup(page);
    group->setExclusive(true);
    for (QPushButton *button : {first, second}) {
        button->setCheckable(true);
        button->setFixedSize(size);
        button->setCursor(Qt::PointingHandCursor);
    }
    first->setChecked(true);
    group->addButton(first, 0);
    group->addButton(second, 1);
    return group;
}

bool PageControls::hasPasswordLength(const QString &password)
{
    return password.size() >= 6 && password.size() <= 16;
}

QPushButton *PageControls::titleButton(QWidget *parent, const QString &objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setFixedSize(46, 39);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLineEdit *PageControls::field(QWidget *parent, const QString &objectName, const QString &placeholder,
                               const QSize &size)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^\\S+$")), edit));
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setPlaceholderText(placeholder);
    edit->setFixedSize(size);
    return edit;
}

void PageControls::setPageShortcut(QPushButton *button, const QKeySequence &key, bool pageShown)
{
    button->setShortcut(pageShown ? key : QKeySequence());
}

QString PageControls::image(const char *file)
{
    return QStringLiteral(":/1200x800/Resources/images/1200x800/") + QLatin1String(file);
}

void PageControls::showToast(QWidget *page, const QString &text, int msec)
{
    Toast *toast = Toast::instance(page);
    toast->setMessageVDuration(text, msec);
    // Without a main window the toast stands mid-screen; the sign-in dialog
    // may have been dragged anywhere, and the message belongs over it.
    const QRect window = page->window()->frameGeometry();
    toast->move(window.x() + (window.width() - toast->width()) / 2,
                window.y() + int((window.height() - toast->height()) * 0.618));
}
