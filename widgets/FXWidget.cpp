#include "FXWidget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

FXWidget::FXWidget(QWidget *parent)
    : QWidget(parent)
{
    setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setStyleSheet(QStringLiteral("background-color: rgb(255,255, 255)"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(true);
    if (!isEnabled())
        mState = StateDisabled;
}

void FXWidget::setBackgroundColor(const QColor &color, int state)
{
    mBackgrounds.insert(state, QBrush(color));
    update();
}

void FXWidget::setBackgroundImage(const QPixmap &picture, int state)
{
    mPictures.insert(state, picture);
    rescaleBackgrounds();
    update();
}

void FXWidget::setBackgroundImage(const QString &path, int state)
{
    setBackgroundImage(QPixmap(path), state);
}

QBrush FXWidget::backgroundBrush(int state) const
{
    return mBackgrounds.value(state, defaultBrush(state));
}

QBrush FXWidget::defaultBrush(int state)
{
    switch (state) {
    case StateNormal:
        return QBrush(QColor(225, 225, 225));
    case StateHover:
        return QBrush(QColor(229, 241, 251));
    case StatePressed:
        return QBrush(QColor(204, 228, 246));
    case StateDisabled:
        return QBrush(QColor(204, 204, 204));
    default:
        return QBrush(QColor(255, 255, 255));
    }
}

void FXWidget::rescaleBackgrounds()
{
    mScaledPictures.clear();
    for (auto it = mPictures.cbegin(); it != mPictures.cend(); ++it) {
        if (it.value().isNull() || size().isEmpty())
            continue;
        mScaledPictures.insert(it.key(), it.value().scaled(size(), Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation));
    }
}

void FXWidget::drawBackground(QPainter *painter, int state)
{
    const QPixmap picture = mScaledPictures.value(state);
    if (!picture.isNull())
        painter->drawPixmap(rect(), picture);
    else
        painter->fillRect(rect(), backgroundBrush(state));
}

void FXWidget::setState(int state)
{
    if (mState == state)
        return;
    mState = state;
    update();
}

void FXWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    drawBackground(&painter, mState);
}

void FXWidget::moveEvent(QMoveEvent *event)
{
    rescaleBackgrounds();
    QWidget::moveEvent(event);
}

// A resize without a move would otherwise leave the pictures at the old size.
void FXWidget::resizeEvent(QResizeEvent *event)
{
    rescaleBackgrounds();
    QWidget::resizeEvent(event);
}

void FXWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        setState(isEnabled() ? StateNormal : StateDisabled);
    QWidget::changeEvent(event);
}

// A sub-window keeps Tab among its own children: the title bar would hold
// the keyboard between its two buttons, the navigation bar on its entry.
// Inside a window the panel is part of the page, and Tab goes on through it.
bool FXWidget::focusNextPrevChild(bool next)
{
    QWidget *parent = parentWidget();
    if (!parent)
        return QWidget::focusNextPrevChild(next);
    // Asked of the parent the way a key asks it.
    QKeyEvent key(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier);
    return QCoreApplication::sendEvent(parent, &key);
}
