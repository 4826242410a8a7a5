#include "QCircularProgressBar.h"

#include <QPainter>
#include <QtMath>

QCircularProgressBar::QCircularProgressBar(int mode, qreal value, QWidget *parent)
    : QWidget(parent)
    , mMode(mode)
    , mProgressColor(QStringLiteral("royalblue"))
    , mTrackColor(QStringLiteral("#F0F0F0"))
    , mInnerColor(Qt::white)
    // White on the white inner disc would hide the figure; dark grey reads.
    , mTextColor(QStringLiteral("#333333"))
    , mOutlineColor(Qt::darkGray)
{
    setMinimumSize(40, 40);
    if (mMode == Gauge) {
        mStartAngle = 4000;
        mSpanAngle = 5120;
    } else {
        mStartAngle = 1440;
        mSpanAngle = 5760;
    }
    // The gradient turns counter-clockwise from the ring's end, so the far
    // end (full) is green and the start (empty) red.
    const qreal share = mSpanAngle / 5760.0;
    mConical.setColorAt(0, Qt::green);
    mConical.setColorAt(share / 2, Qt::yellow);
    mConical.setColorAt(share, Qt::red);
    if (share < 1)
        mConical.setColorAt(1, Qt::red);
    setValue(value);
}

void QCircularProgressBar::setValue(qreal value)
{
    if (qIsNaN(value))
        value = 0;
    value = qBound<qreal>(0, value, 100);
    const bool changed = !qFuzzyCompare(1 + value, 1 + mValue);
    mValue = value;
    mProgressSpan = qRound(mSpanAngle * value / 100.0);
    update();
    if (changed)
        emit valueChanged(qRound(mValue));
}

void QCircularProgressBar::setProgressColor(const QColor &color)
{
    mProgressColor = color;
    mGradient = false;
    update();
}

void QCircularProgressBar::setTrackColor(const QColor &color)
{
    mTrackColor = color;
    update();
}

void QCircularProgressBar::setInnerColor(const QColor &color)
{
    mInnerColor = color;
    update();
}

void QCircularProgressBar::setTextColor(const QColor &color)
{
    mTextColor = color;
    update();
}

void QCircularProgressBar::setOutlineColor(const QColor &color)
{
    mOutlineColor = color;
    update();
}

void QCircularProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    const qreal side = qMin(width(), height()) - 2;
    const QRectF outer((width() - side) / 2, (height() - side) / 2, side, side);

    painter.setPen(Qt::NoPen);
    painter.setBrush(mTrackColor);
    painter.drawPie(outer, mStartAngle, -mSpanAngle);

    if (mProgressSpan > 0) {
        if (mGradient) {
            QConicalGradient gradient = mConical;
            gradient.setCenter(outer.center());
            gradient.setAngle(endAngle() / 16.0);
            painter.setBrush(gradient);
        } else {
            painter.setBrush(mProgressColor);
        }
        painter.drawPie(outer, mStartAngle, -mProgressSpan);
    }

    const qreal innerSide = side * 0.75;
    const QRectF inner(outer.center().x() - innerSide / 2, outer.center().y() - innerSide / 2,
                       innerSide, innerSide);
    painter.setBrush(mInnerColor);
    painter.drawEllipse(inner);

    // A hairline along both edges of the ring, without the radial edges of the pies.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(mOutlineColor, 0.5));
    painter.drawArc(outer, mStartAngle, -mSpanAngle);
    painter.drawArc(inner, mStartAngle, -mSpanAngle);

    QFont font(QStringLiteral("Helvetica"));
    font.setPixelSize(qMax(6, int(innerSide * 0.3)));
    painter.setFont(font);
    painter.setPen(mTextColor);
    painter.drawText(inner, Qt::AlignCenter,
                     QString::number(qRound(mValue)) + QLatin1Char('%'));
}
