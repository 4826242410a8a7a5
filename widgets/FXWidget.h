#pragma once

#include <QBrush>
#include <QMap>
#include <QPixmap>
#include <QWidget>

class QPainter;

// A frameless panel whose background depends on its state: a configured
// picture or colour per state, else a default colour. Serves as coloured
// panel, separator line and base of the title and navigation bars.
class FXWidget : public QWidget
{
    Q_OBJECT
public:
    enum StateValue { StateNormal = 1, StateHover = 2, StatePressed = 3, StateDisabled = 4 };

    explicit FXWidget(QWidget *parent = nullptr);

    void setBackgroundColor(const QColor &color, int state = StateNormal);
    void setBackgroundImage(const QPixmap &picture, int state = StateNormal);
    void setBackgroundImage(const QString &path, int state = StateNormal);

    int state() const { return mState; }
    // The brush painted for `state` when it has no picture.
    QBrush backgroundBrush(int state) const;
    static QBrush defaultBrush(int state);

protected:
    virtual void rescaleBackgrounds();
    virtual void drawBackground(QPainter *painter, int state);
    void setState(int state);

    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

    QMap<int, QBrush> mBackgrounds;
    QMap<int, QPixmap> mPictures;
    // mPictures scaled to the current size, rebuilt by rescaleBackgrounds().
    QMap<int, QPixmap> mScaledPictures;

private:
    int mState = StateNormal;
};
