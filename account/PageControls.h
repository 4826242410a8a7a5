#pragma once

#include <QKeySequence>
#include <QSize>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// Controls the sign-in and registration pages build alike.
class PageControls
{
public:
    // Minimise or close button of a frameless page: picture only (by object
    // name, from the style sheet), never takes the keyboard focus.
    static QPushButton *titleButton(QWidget *parent, const QString &objectName);
    // A field that refuses white space and has no context menu.
    static QLineEdit *field(QWidget *parent, const QString &objectName, const QString &placeholder,
                            const QSize &size);
    // Only the page on show may own a shortcut: both pages sit in one
    // window, and a key bound twice there would trigger neither.
    static void setPageShortcut(QPushButton *button, const QKeySequence &key, bool pageShown);
    // A picture of the 1200x800 layout.
    static QString image(const char *file);
};
