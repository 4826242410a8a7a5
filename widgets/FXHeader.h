#pragma once

#include <QHeaderView>
#include <QPixmap>

// A table header whose first section carries a select-all check box.
class FXHeader : public QHeaderView
{
    Q_OBJECT
public:
    static constexpr int BoxSize = 20;
    static constexpr int BoxLeft = 10;

    explicit FXHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

    bool isChecked() const { return mChecked; }
    // Emits SignalCheckChange when the state changes, as a click does.
    void setChecked(bool checked);
    // Caption drawn beside the box in section 0.
    void setCheckBoxText(const QString &text);
    QString checkBoxText() const { return mCheckText; }
    // Where the box of section 0 is drawn, in header coordinates.
    QRect checkBoxRect() const;

signals:
    void SignalCheckChange(bool checked);

protected:
    void setIndicatorPictures(const QString &unchecked, const QString &checked);

    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect boxRectIn(const QRect &section) const;

    bool mChecked = false;
    QString mCheckText;
    QPixmap mUncheckedPicture;
    QPixmap mCheckedPicture;
};
