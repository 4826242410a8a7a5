#pragma once

#include <QFont>
#include <QPixmap>
#include <QRadioButton>

// An entry of the navigation bar: icon, caption and, when checked, an arrow
// at its right edge. Checks itself on a release inside it, never unchecks.
class FXRadioButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit FXRadioButton(QWidget *parent = nullptr);

    void setId(const QString &id) { mId = id; }
    QString id() const { return mId; }
    void setPictures(const QString &iconPath, const QString &arrowPath);
    void setCaption(const QString &text, const QFont &font);
    QString caption() const { return mCaption; }
    bool isPressed() const { return mPressed; }

    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString mId;
    QPixmap mIcon;
    QPixmap mArrow;
    QString mCaption;
    QFont mCaptionFont;
    bool mPressed = false;
};
