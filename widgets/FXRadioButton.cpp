#include "FXRadioButton.h"

#include "FXGlobalInfo.h"
#include "FocusRing.h"
#include "Pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const int IconSpacing = 16;
}

FXRadioButton::FXRadioButton(QWidget *parent)
    : QRadioButton(parent)
    , mCaptionFont(font())
{
    setCursor(Qt::PointingHandCursor);
    // The entry fills the bar's width: its focus is marked inside it.
    setProperty("drawsOwnFocus", true);
    // Caption colours on the dark bar: light grey, white when checked.
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0xB3, 0xB8, 0xC4));
    colours.setColor(QPalette::BrightText, QColor(255, 255, 255));
    colours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6B, 0x70, 0x7C));
    setPalette(colours);
}

void FXRadioButton::setPictures(const QString &iconPath, const QString &arrowPath)
{
    mIcon = Pictures::load(iconPath);
    mArrow = Pictures::load(arrowPath);
    updateGeometry();
    update();
}

void FXRadioButton::setCaption(const QString &text, const QFont &font)
{
    mCaption = text;
    mCaptionFont = font;
    setText(text);
    updateGeometry();
    update();
}

QSize FXRadioButton::sizeHint() const
{
    const QMargins m = contentsMargins();
    const QFontMetrics metrics(mCaptionFont);
    const QSize icon = Pictures::logicalSize(mIcon);
    const QSize arrow = Pictures::logicalSize(mArrow);
    const int width = m.left() + icon.width() + IconSpacing + metrics.horizontalAdvance(mCaption) + IconSpacing
                      + arrow.width() + m.right();
    const int height = qMax(qMax(icon.height(), metrics.height()), arrow.height());
    return QSize(width, qMax(height + m.top() + m.bottom(), 40));
}

void FXRadioButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mPressed = true;
    event->accept();
}

void FXRadioButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (mPressed && event->button() == Qt::LeftButton) {
        mPressed = false;
        if (rect().contains(event->pos()))
            setChecked(true);
    }
    event->accept();
}

void FXRadioButton::paintEvent(QPaintEvent *)
{
    const FXGlobalInfo *info = FXGlobalInfo::instance();
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);

    QColor background = info->color(FXGlobalInfo::radio_btn,
                                     isChecked() ? FXGlobalInfo::Pressed : FXGlobalInfo::Normal);
    if (!background.isValid())
        background = Qt::transparent;
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(rect()), 4, 4);

    const FocusRing *ring = FocusRing::instance();
    if (hasFocus() && (!ring || ring->keyboardInUse())) {
        const qreal half = FocusRing::Width / 2.0;
        painter.setPen(QPen(FocusRing::darkColor(), FocusRing::Width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), 4, 4);
        painter.setPen(Qt::NoPen);
    }

    const QRect inner = contentsRect();
    const QSize icon = Pictures::logicalSize(mIcon);
    const QSize arrow = Pictures::logicalSize(mArrow);
    int x = inner.left();
    if (!mIcon.isNull()) {
        // Faded with the caption, so a disabled entry reads as one.
        painter.setOpacity(isEnabled() ? 1.0 : 0.4);
        painter.drawPixmap(x, inner.top() + (inner.height() - icon.height()) / 2, mIcon);
        painter.setOpacity(1.0);
        x += icon.width() + IconSpacing;
    }

    int textRight = inner.right();
    if (isChecked() && !mArrow.isNull()) {
        const int arrowX = inner.right() + 1 - arrow.width();
        painter.drawPixmap(arrowX, inner.top() + (inner.height() - arrow.height()) / 2, mArrow);
        textRight = arrowX - IconSpacing;
    }

    painter.setPen(palette().color(isEnabled() && isChecked() ? QPalette::BrightText : QPalette::WindowText));
    painter.setFont(mCaptionFont);
    const QRect textRect(x, inner.top(), qMax(0, textRight - x + 1), inner.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, mCaption);
}
