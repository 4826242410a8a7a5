#pragma once

#include <QComboBox>

// The program's drop-down. A screen reader names it by its label (the
// QLabel whose buddy it is) or its accessible name, and reads the chosen
// entry as its value; Qt's own interface names it by the entry.
class FXComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit FXComboBox(QWidget *parent = nullptr);
};
