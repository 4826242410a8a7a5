#include "PageControls.h"

#include "FXGlobalInfo.h"
#include "Toast.h"

#include <QButtonGroup>
#include <QColor>
#include <QCoreApplication>
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
    // Plain push buttons: checkable ones in an exclusive group would be read
    // out as check boxes, and Tab would skip the one not checked.
    auto *group = new QButtonGroup(page);
    group->setExclusive(false);
    for (QPushButton *button : {first, second}) {
        button->setFixedSize(size);
        button->setCursor(Qt::PointingHandCursor);
    }
    first->setProperty("pairRole", QStringLiteral("primary"));
    second->setProperty("pairRole", QStringLiteral("secondary"));
    group->addButton(first, 0);
    group->addButton(second, 1);
    return group;
}

bool PageControls::hasPasswordLength(const QString &password)
{
    return password.size() >= 6 && password.size() <= 16;
}

QColor PageControls::placeholderColor()
{
    return QColor(0x70, 0x70, 0x70);
}

QPushButton *PageControls::titleButton(QWidget *parent, const QString &objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    // Pictures only; named as the main window's title bar names them.
    button->setAccessibleName(objectName == QLatin1String("min") ? QCoreApplication::translate("TitleBar", "Minimize")
                                                                 : QCoreApplication::translate("TitleBar", "Close"));
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
    // The placeholder is the field's only label: it names the field for a
    // screen reader and is dark enough to read (Qt's half-transparent text
    // is too faint on white).
    edit->setAccessibleName(placeholder);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::PlaceholderText, placeholderColor());
    edit->setPalette(palette);
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
