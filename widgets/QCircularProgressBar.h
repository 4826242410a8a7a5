#pragma once

#include <QColor>
#include <QConicalGradient>
#include <QWidget>

// A ring (or, in mode 1, a gauge open at the bottom) filled clockwise to a
// percentage, with the percentage in its centre.
class QCircularProgressBar : public QWidget
{
    Q_OBJECT
public:
    enum Mode { Ring = 0, Gauge = 1 };

    explicit QCircularProgressBar(int mode = Ring, qreal value = 0, QWidget *parent = nullptr);

    int mode() const { return mMode; }
    qreal value() const { return mValue; }
    // Angles in sixteenths of a degree, counter-clockwise from three o'clock;
    // the ring runs clockwise from startAngle() over spanAngle().
    int startAngle() const { return mStartAngle; }
    int spanAngle() const { return mSpanAngle; }
    int endAngle() const { return mStartAngle - mSpanAngle; }
    int progressSpan() const { return mProgressSpan; }
    bool usesGradient() const { return mGradient; }

    void setProgressColor(const QColor &color);
    void setTrackColor(const QColor &color);
    void setInnerColor(const QColor &color);
    void setTextColor(const QColor &color);
    void setOutlineColor(const QColor &color);
    QColor progressColor() const { return mProgressColor; }

signals:
    void valueChanged(int value);

public slots:
    // Percent, clamped to 0..100.
    void setValue(qreal value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int mMode;
    qreal mValue = 0;
    int mStartAngle = 0;
    int mSpanAngle = 0;
    int mProgressSpan = 0;
    QColor mProgressColor;
    QColor mTrackColor;
    QColor mInnerColor;
    QColor mTextColor;
    QColor mOutlineColor;
    QConicalGradient mConical;
    bool mGradient = true;
};
