#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>

class QWidget;

// The visible focus of the whole program: a 2 px ring around the widget
// that has the keyboard focus, drawn over its window. It shows while the
// keyboard is in use (from a key press until the next mouse press), like a
// browser's focus-visible, so a click does not leave rings behind.
//
// The ring is navy on light backgrounds and amber where a widget sits on a
// dark one (an ancestor with the property "darkBackground" set). A widget
// with the property "drawsOwnFocus" marks its focus itself; a ring that
// would leave the window goes inside the widget's edge.
class FocusRing : public QObject
{
    Q_OBJECT
public:
    static constexpr int Width = 2;
    static constexpr int Gap = 1;

    // Follows the application's focus from now on; once per process.
    static FocusRing *install();
    static FocusRing *instance();

    static QColor lightColor() { return QColor(0x21, 0x3B, 0x78); }
    static QColor darkColor() { return QColor(0xF0, 0xC3, 0x6D); }
    // Whether `widget` sits on a dark background.
    static bool onDark(const QWidget *widget);

    // The ring on screen, for tests: null while none shows.
    QWidget *ring() const;
    bool keyboardInUse() const { return mKeyboard; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FocusRing();
    void follow();

    QPointer<QWidget> mRing;
    QPointer<QWidget> mTarget;
    bool mKeyboard = false;
    bool mPlacing = false;
};
