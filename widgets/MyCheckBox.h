#pragma once

#include <QCheckBox>

// The plug-in's check box, with the plug-in's own indicator pictures.
class MyCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit MyCheckBox(QWidget *parent = nullptr);
    explicit MyCheckBox(const QString &text, QWidget *parent = nullptr);
};
