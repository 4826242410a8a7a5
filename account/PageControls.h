#pragma once

#include <QKeySequence>
#include <QSize>
#include <QString>

class QButtonGroup;
class QColor;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls the sign-in and registration pages build alike.
class PageControls
{
public:
    // A page of the login dialog: the dialog's size, its own background
    // left to the scroll area behind it.
    static void setUpPage(QWidget *page, const QString &objectName);
    // Minimise and close at the top right.
    static QHBoxLayout *titleRow(QPushButton *minButton, QPushButton *closeButton);
    // The page's two big buttons in one group (ids 0 and 1); the style shows
    // the first as the page's action, the second outlined.
    static QButtonGroup *actionPair(QWidget *page, QPushButton *first, QPushButton *second, const QSize &size);
    // The passwords the service takes: 6 to 16 characters.
    static bool hasPasswordLength(const QString &password);
    // Minimise or close button of a frameless page: picture only (by object
    // name, from the style sheet), never takes the keyboard focus.
    static QPushButton *titleButton(QWidget *parent, const QString &objectName);
    // A field that refuses white space and has no context menu; its
    // placeholder is its accessible name.
    static QLineEdit *field(QWidget *parent, const QString &objectName, const QString &placeholder,
                            const QSize &size);
    // Placeholders dark enough to read on white (4.9:1).
    static QColor placeholderColor();
    // Only the page on show may own a shortcut: both pages sit in one
    // window, and a key bound twice there would trigger neither.
    static void setPageShortcut(QPushButton *button, const QKeySequence &key, bool pageShown);
    // A picture of the 1200x800 layout.
    static QString image(const char *file);
    // The shared toast with `text`, standing over the page's window.
    static void showToast(QWidget *page, const QString &text, int msec);
};
