#pragma once

#include <QColor>
#include <QTableView>

class FXTableViewDelegate;

// The table of the software and user lists: no grid, no frame, no header,
// whole-row single selection, fixed row height, kinetic scrolling.
//
// The table is one stop of the Tab chain; the widgets placed over its cells
// take no focus. The keys work on the current row: the arrows move it,
// Space asks to tick or untick it, Alt+Down or F4 to open its drop-down,
// Return or Enter to start the page's main action, and Ctrl+A ticks or
// unticks every row through the header's box, as a click on it does.
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

    // The frame around the current row while the table has the focus.
    static QColor focusColor() { return QColor(0x21, 0x3B, 0x78); }

signals:
    void toggleRequested(int row);
    void popupRequested(int row);
    // Only taken from the keyboard when someone listens; otherwise Return
    // goes on to the window, as it always did.
    void confirmRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    QRect rowRect(int row) const;

    QColor mStateColors[RowStateCount];
    FXTableViewDelegate *mDelegate = nullptr;
};
