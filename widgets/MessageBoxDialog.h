#pragma once

#include "FXDialog.h"

#include <QMessageBox>

class QLabel;
class QPushButton;

// The modal question box: a text and up to two buttons. Callers use the
// one static entry point and compare its result with the buttons they gave.
class MessageBoxDialog : public FXDialog
{
    Q_OBJECT
public:
    // Builds a box over the main window, runs it modally and returns the
    // button that closed it (OK when closed any other way).
    static QMessageBox::StandardButton showMessageBox(QWidget *parent, const QString &title,
                                                      const QString &text,
                                                      QMessageBox::StandardButtons buttons);

    explicit MessageBoxDialog(QWidget *parent = nullptr);

    void configure(const QString &title, const QString &text,
                   QMessageBox::StandardButtons buttons);
    QMessageBox::StandardButton buttonResult() const
    {
        return static_cast<QMessageBox::StandardButton>(mResult);
    }

    QLabel *textLabel() const { return mText; }
    QPushButton *firstButton() const { return mFirst; }
    QPushButton *secondButton() const { return mSecond; }

public slots:
    // Escape or a window-system close: the second button's answer (No or
    // Cancel) when there is one, so backing out never reads as consent.
    void reject() override;

private slots:
    void onOk();
    void onYes();
    void onNo();
    void onCancel();

private:
    int mResult = QMessageBox::Ok;
    int mSecondResult = QMessageBox::NoButton;
    QLabel *mText = nullptr;
    QPushButton *mFirst = nullptr;
    QPushButton *mSecond = nullptr;
};
