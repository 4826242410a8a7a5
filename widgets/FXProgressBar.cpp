#include "FXProgressBar.h"

const char *const FXProgressBar::Style =
    "QProgressBar{border:1px solid #ed5931;\t\theight:4px;\t\twidth:104px;\t\tbackground: white;"
    "\t\ttext-align: center;\t\tcolor:#ed5931;\t\tborder-radius:1px;}"
    "\t\tQProgressBar::chunk{background:#ed5931;}";

FXProgressBar::FXProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
    setStyleSheet(QString::fromLatin1(Style));
}
