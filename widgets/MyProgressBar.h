#pragma once

#include "FXProgressBar.h"

// The plug-in's row progress bar; it looks exactly like the program's.
class MyProgressBar : public FXProgressBar
{
    Q_OBJECT
public:
    explicit MyProgressBar(QWidget *parent = nullptr);
};
