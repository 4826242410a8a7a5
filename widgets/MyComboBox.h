#pragma once

#include <QComboBox>

// The plug-in's version drop-down: white, thin grey border, blue selection.
class MyComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit MyComboBox(QWidget *parent = nullptr);
};
