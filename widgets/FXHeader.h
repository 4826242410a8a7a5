#pragma once

#include <QHeaderView>
#include <QPixmap>

// A table header whose first section carries a select-all check box. The
// box shows the rows: checked, partly checked or unchecked; a click on a
// box that is not checked ticks every row, on a checked one it unticks.
class FXHeader : public QHeaderView
{
    Q_OBJECT
public:
    static constexpr int BoxSize = 20;
    static constexpr int BoxLeft = 10;

    explicit FXHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

    bool isChecked() const { return mState == Qt::Checked; }
    Qt::CheckState checkState() const { return mState; }
    // Emits SignalCheckChange when the state changes, as a click does.
    void setChecked(bool checked);
    // Shows the rows' state without telling anyone: nothing is ticked by it.
    void setCheckState(Qt::CheckState state);
    // The box's state for a table: checked when every row the box can tick
    // (`tickable`, of which `tickableTicked` are) is ticked, partly checked
    // while some row is (`ticked` counts every row), else unchecked.
    static Qt::CheckState stateOf(int tickable, int tickableTicked, int ticked);
    // Caption drawn beside the box in section 0.
    void setCheckBoxText(const QString &text);
    QString checkBoxText() const { return mCheckText; }
    // Where the box of section 0 is drawn, in header coordinates.
    QRect checkBoxRect() const;

signals:
    void SignalCheckChange(bool checked);

protected:
    void setIndicatorPictures(const QString &unchecked, const QString &checked, const QString &partly);

    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect boxRectIn(const QRect &section) const;

    Qt::CheckState mState = Qt::Unchecked;
    QString mCheckText;
    QPixmap mUncheckedPicture;
    QPixmap mCheckedPicture;
    QPixmap mPartlyPicture;
};
