#pragma once

#include <QCheckBox>

// The program's check box: grey Helvetica caption, picture indicators.
class FXCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit FXCheckBox(QWidget *parent = nullptr);
    explicit FXCheckBox(const QString &text, QWidget *parent = nullptr);

protected:
    // Greyed pictures and caption for the disabled states, appended to a style.
    static QString disabledStyle();
};
