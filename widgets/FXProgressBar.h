#pragma once

#include <QProgressBar>

// A thin orange progress bar on white, used inside table rows.
class FXProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    static const char *const Style;

    explicit FXProgressBar(QWidget *parent = nullptr);
};
