#include "FXCheckBox.h"

namespace {
const char *const Style =
    "QCheckBox::indicator:unchecked{image:url(:/1200x800/Resources/images/1200x800/unselected.png);}"
    "QCheckBox::indicator:checked{image:url(:/1200x800/Resources/images/1200x800/selected.png);}"
    "QCheckBox{color:#666666;font-size:12pt;font-family:Helvetica;text-align:left;"
    "background-color:transparent;\t\theight:50px;\tpadding-left:20px;padding-top:0px}";

// A disabled box (a required package, a locked option) must look it: the
// pictures above would otherwise show it as live.
const char *const DisabledStyle =
    "QCheckBox::indicator:unchecked:disabled{"
    "image:url(:/1200x800/Resources/images/1200x800/unselected_disabled.png);}"
    "QCheckBox::indicator:checked:disabled{"
    "image:url(:/1200x800/Resources/images/1200x800/selected_disabled.png);}"
    "QCheckBox:disabled{color:#707070;}"; // the picture greys; the caption still reads
}

QString FXCheckBox::disabledStyle()
{
    return QString::fromLatin1(DisabledStyle);
}

FXCheckBox::FXCheckBox(QWidget *parent)
    : FXCheckBox(QString(), parent)
{
}

FXCheckBox::FXCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    setStyleSheet(QString::fromLatin1(Style) + disabledStyle());
}

FXCheckBox::FXCheckBox(const QString &text, Unstyled, QWidget *parent)
    : QCheckBox(text, parent)
{
}
