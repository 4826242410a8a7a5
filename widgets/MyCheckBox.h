#pragma once

#include "FXCheckBox.h"

// The plug-in's check box: the program's, with the plug-in's own pictures
// and a slightly smaller caption.
class MyCheckBox : public FXCheckBox
{
    Q_OBJECT
public:
    explicit MyCheckBox(QWidget *parent = nullptr);
    explicit MyCheckBox(const QString &text, QWidget *parent = nullptr);

    // A box in a table row, styled by the table (see tableStyle()).
    static MyCheckBox *forTable(const QString &text);
    // The look of forTable() boxes, for the style sheet of their table.
    static QString tableStyle();

private:
    MyCheckBox(const QString &text, Unstyled unstyled);
};
