#include "MyCheckBox.h"

namespace {
const char *const Style =
    "QCheckBox::indicator:unchecked{image:url(:/Dravik/Resources/unselected.png);}"
    "QCheckBox::indicator:checked{image:url(:/Dravik/Resources/selected.png);}"
    // The caption names a row of a table: as dark as the row's other
    // texts while the box can be used; the disabled style greys it.
    "QCheckBox{color:#333333;font-size:14px;font-family:Helvetica;text-align:left;"
    "background-color:transparent;height:48px;padding-left:20px;padding-top:0px}";

// The same, and the disabled look, for the boxes of one table only.
QString scopedToThisClass(QString style)
{
    return style.replace(QStringLiteral("QCheckBox"), QStringLiteral("MyCheckBox"));
}
}

MyCheckBox::MyCheckBox(QWidget *parent)
    : MyCheckBox(QString(), parent)
{
}

MyCheckBox::MyCheckBox(const QString &text, QWidget *parent)
    : FXCheckBox(text, parent)
{
    setStyleSheet(QString::fromLatin1(Style) + disabledStyle());
}

MyCheckBox::MyCheckBox(const QString &text, Unstyled unstyled)
    : FXCheckBox(text, unstyled, nullptr)
{
}

MyCheckBox *MyCheckBox::forTable(const QString &text)
{
    return new MyCheckBox(text, Unstyled());
}

QString MyCheckBox::tableStyle()
{
    return scopedToThisClass(QString::fromLatin1(Style) + disabledStyle());
}
