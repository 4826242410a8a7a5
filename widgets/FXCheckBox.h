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
    // A box whose look comes from a style sheet further up (a table of
    // many): a style sheet per box makes a long table slow to fill.
    struct Unstyled
    {
    };
    FXCheckBox(const QString &text, Unstyled, QWidget *parent);

    // Greyed pictures and caption for the disabled states, appended to a style.
    static QString disabledStyle();
};
