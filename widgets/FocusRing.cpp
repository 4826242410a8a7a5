#include "FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {
// Paints the ring along its own edge; takes no mouse and no focus.
class RingWidget : public QWidget
{
public:
    explicit RingWidget(QWidget *window)
        : QWidget(window)
    {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        // A window's blanket style sheet would fill a plain widget.
        setStyleSheet(QStringLiteral("background:transparent;"));
    }
    QColor color;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), color);
    }
};

FocusRing *sInstance = nullptr;
} // namespace

FocusRing::FocusRing()
    : QObject(qApp)
{
}

FocusRing *FocusRing::install()
{
    if (sInstance || !qApp)
        return sInstance;
    sInstance = new FocusRing;
    qApp->installEventFilter(sInstance);
    connect(qApp, &QApplication::focusChanged, sInstance, &FocusRing::follow);
    return sInstance;
}

FocusRing *FocusRing::instance()
{
    return sInstance;
}

bool FocusRing::onDark(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->property("darkBackground").toBool())
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

QWidget *FocusRing::ring() const
{
    return mRing && mRing->isVisible() ? mRing.data() : nullptr;
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!mKeyboard) {
            mKeyboard = true;
            follow();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (mKeyboard) {
            mKeyboard = false;
            follow();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        // The focused widget, or something it sits in, moved: a scroll, a
        // page switch, a layout.
        if (!mPlacing && mTarget && watched->isWidgetType() && watched != mRing) {
            auto *w = static_cast<QWidget *>(watched);
            if (w == mTarget || w->isAncestorOf(mTarget))
                follow();
        }
        break;
    default: break;
    }
    return false;
}

void FocusRing::follow()
{
    QWidget *focus = QApplication::focusWidget();
    // A widget that marks its own focus repaints as it gains or loses it,
    // and as the keyboard comes and goes.
    for (QWidget *w : {mTarget.data(), focus}) {
        if (w && w->property("drawsOwnFocus").toBool())
            w->update();
    }
    mTarget = focus;
    QWidget *window = focus ? focus->window() : nullptr;
    const bool wanted = mKeyboard && focus && focus->isVisible() && !focus->property("drawsOwnFocus").toBool();
    QRect visible;
    if (wanted) {
        // Only the part of the widget its parents let show (a scrolled list,
        // a page half out of its area).
        const QRect shown = focus->visibleRegion().boundingRect();
        if (!shown.isEmpty())
            visible = QRect(focus->mapTo(window, shown.topLeft()), shown.size());
    }
    if (visible.isEmpty()) {
        if (mRing)
            mRing->hide();
        return;
    }
    mPlacing = true;
    auto *ring = static_cast<RingWidget *>(mRing.data());
    if (!ring || ring->parentWidget() != window) {
        delete ring;
        ring = new RingWidget(window);
        mRing = ring;
    }
    const int out = Width + Gap;
    QRect around = visible.adjusted(-out, -out, out, out);
    if (!window->rect().contains(around))
        around = visible; // at the window's edge: just inside the widget
    ring->color = onDark(focus) ? darkColor() : lightColor();
    ring->setGeometry(around);
    // Only the line is the ring's: the widget shows through its middle.
    const QRegion outer(QRect(QPoint(0, 0), around.size()));
    ring->setMask(outer.subtracted(QRegion(outer.boundingRect().adjusted(Width, Width, -Width, -Width))));
    ring->raise();
    ring->show();
    ring->update();
    mPlacing = false;
}
