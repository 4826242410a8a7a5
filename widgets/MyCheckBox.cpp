#include "MyCheckBox.h"

namespace {
const char *const Style =
    "QCheckBox::indicator:unchecked{image:url(:/Dravik/Resources/unselected.png);}"
    "QCheckBox::indicator:checked{image:url(:/Dravik/Resources/selected.png);}"
    "QCheckBox{color:#999999;font-size:14px;font-family:Helvetica;text-align:left;"
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
