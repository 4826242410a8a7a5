#include "MyProgressBar.h"

MyProgressBar::MyProgressBar(QWidget *parent)
    : FXProgressBar(parent)
{
}
