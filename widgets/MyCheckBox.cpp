#include "MyCheckBox.h"

namespace {
const char *const Style =
    "QCheckBox::indicator:unchecked{image:url(:/Dravik/Resources/unselected.png);}"
    "QCheckBox::indicator:checked{image:url(:/Dravik/Resources/selected.png);}"
    // The caption names a row of a table: as dark as the row's other
    // texts while the box can be used; the disabled style greys it.
    "QCheckBox{color:#333333;font-size:14px;font-family:Helvetica;text-align:left;"
    "background-color:transparent;height:48px;padding-left:20px;padding-top:0px}";
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
