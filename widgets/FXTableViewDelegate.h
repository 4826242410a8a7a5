#pragma once

#include <QPen>
#include <QStyledItemDelegate>

// Paints items as the styled delegate does, over the row colour of an
// FXTableView, and draws the line under each row with the grid pen. A
// cell's check state is there for the screen reader: the tables put a check
// box of their own over the cell, so the delegate draws none.
class FXTableViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit FXTableViewDelegate(QObject *parent = nullptr);

    QPen gridPen() const { return mGridPen; }
    void setGridPen(const QPen &pen) { mGridPen = pen; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QPen mGridPen;
};
