#include "MyComboBox.h"

#include <QListView>
#include <QWheelEvent>

namespace {
const char *const Style = "QComboBox{background:white;border:1px solid #e6e6e6;color:#333333;padding-left:6px;}"
                          "QComboBox:disabled{color:#707070;}"
                          "QComboBox::drop-down{border:none;width:24px;}"
                          "QComboBox::down-arrow{image:url(:/Dravik/Resources/dropdown_box_arrow.png);}"
                          "QComboBox QAbstractItemView{background:white;border:1px solid #e6e6e6;outline:0px;"
                          "selection-background-color:#213b78;selection-color:white;}"
                          "QComboBox QAbstractItemView::item{height:30px;}"
                          "QComboBox QAbstractItemView::item:selected{background:#213b78;color:white;}";
}

MyComboBox::MyComboBox(QWidget *parent)
    : FXComboBox(parent)
{
    // Item heights from the style sheet apply only with a plain list view.
    setView(new QListView(this));
    mHasView = true;
    setStyleSheet(QString::fromLatin1(Style));
    setFixedSize(136, 30);
}

MyComboBox::MyComboBox(Unstyled)
    : FXComboBox(nullptr)
{
    setFixedSize(136, 30);
}

MyComboBox *MyComboBox::forTable()
{
    auto *box = new MyComboBox(Unstyled());
    box->mInTable = true;
    return box;
}

void MyComboBox::wheelEvent(QWheelEvent *event)
{
    if (mInTable) {
        event->ignore();
        return;
    }
    FXComboBox::wheelEvent(event);
}

QString MyComboBox::tableStyle()
{
    return QString::fromLatin1(Style).replace(QStringLiteral("QComboBox"), QStringLiteral("MyComboBox"));
}

void MyComboBox::showPopup()
{
    // A table's drop-down gets its plain list view when first needed, not
    // one for every row of a long table.
    if (!mHasView) {
        mHasView = true;
        setView(new QListView(this));
    }
    FXComboBox::showPopup();
}
