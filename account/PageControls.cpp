#include "PageControls.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

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
