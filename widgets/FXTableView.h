#pragma once

#include <QColor>
#include <QTableView>

class FXTableViewDelegate;

// The table of the software and user lists: no grid, no frame, no header,
// whole-row single selection, fixed row height, kinetic scrolling.
class FXTableView : public QTableView
{
    Q_OBJECT
public:
    // Row backgrounds the delegate paints, each only when set.
    enum RowState { Normal, Hover, Selected, Current, Disabled, RowStateCount };

    explicit FXTableView(QWidget *parent = nullptr);

    void setStateColor(RowState state, const QColor &color);
    QColor stateColor(RowState state) const;
    FXTableViewDelegate *delegate() const { return mDelegate; }

private:
    QColor mStateColors[RowStateCount];
    FXTableViewDelegate *mDelegate = nullptr;
};
