#pragma once

#include "FXComboBox.h"

// The plug-in's version drop-down: white, thin grey border, blue selection.
class MyComboBox : public FXComboBox
{
    Q_OBJECT
public:
    explicit MyComboBox(QWidget *parent = nullptr);

    // A drop-down in a table row, styled by the table (see tableStyle()).
    static MyComboBox *forTable();
    static QString tableStyle();

    void showPopup() override;

protected:
    // A table's drop-down leaves the wheel to the table: scrolling a list
    // must never change a row's version under the pointer.
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Unstyled
    {
    };
    explicit MyComboBox(Unstyled);

    bool mHasView = false;
    bool mInTable = false;
};
