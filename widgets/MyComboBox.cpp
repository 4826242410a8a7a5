#include "MyComboBox.h"

#include <QListView>

namespace {
const char *const Style =
    "QComboBox{background:white;border:1px solid #e6e6e6;color:#333333;padding-left:6px;}"
    "QComboBox:disabled{color:#b3b3b3;}"
    "QComboBox::drop-down{border:none;width:24px;}"
    "QComboBox::down-arrow{image:url(:/Dravik/Resources/dropdown_box_arrow.png);}"
    "QComboBox QAbstractItemView{background:white;border:1px solid #e6e6e6;outline:0px;"
    "selection-background-color:#213b78;selection-color:white;}"
    "QComboBox QAbstractItemView::item{height:30px;}"
    "QComboBox QAbstractItemView::item:selected{background:#213b78;color:white;}";
}

MyComboBox::MyComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // Item heights from the style sheet apply only with a plain list view.
    setView(new QListView(this));
    setStyleSheet(QString::fromLatin1(Style));
    setFixedSize(136, 30);
}
