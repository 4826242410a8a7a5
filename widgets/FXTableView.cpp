#include "FXTableView.h"

#include "FXGlobalInfo.h"
#include "FXTableViewDelegate.h"

#include <QHeaderView>
#include <QScroller>

FXTableView::FXTableView(QWidget *parent)
    : QTableView(parent)
{
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setAlternatingRowColors(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(int(FXGlobalInfo::instance()->tableItemMinHeight()));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    QScroller::grabGesture(viewport(), QScroller::LeftMouseButtonGesture);

    mDelegate = new FXTableViewDelegate(this);
    setItemDelegate(mDelegate);
}

void FXTableView::setStateColor(RowState state, const QColor &color)
{
    if (state < 0 || state >= RowStateCount)
        return;
    mStateColors[state] = color;
    viewport()->update();
}

QColor FXTableView::stateColor(RowState state) const
{
    if (state < 0 || state >= RowStateCount)
        return QColor();
    return mStateColors[state];
}
