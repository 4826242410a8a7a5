#include "FXTableView.h"

#include "FXGlobalInfo.h"
#include "FXHeader.h"
#include "FXTableViewDelegate.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QPainter>
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
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false); // Tab leaves the table; the arrows walk it
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

QModelIndex FXTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Whole rows are picked, so Home and End go to the first and last row,
    // as in a list, rather than along the row's cells.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void FXTableView::keyPressEvent(QKeyEvent *event)
{
    const int row = currentIndex().isValid() ? currentIndex().row() : -1;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        if (mods == Qt::NoModifier) {
            // Never a row the mechanic cannot see: it comes into view first.
            if (row >= 0) {
                scrollTo(currentIndex());
                emit toggleRequested(row);
            }
            event->accept();
            return;
        }
        break;
    case Qt::Key_F4:
    case Qt::Key_Down:
        if (event->key() == Qt::Key_F4 || mods == Qt::AltModifier) {
            if (row >= 0) {
                scrollTo(currentIndex());
                emit popupRequested(row);
            }
            event->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (isSignalConnected(QMetaMethod::fromSignal(&FXTableView::confirmRequested))) {
            emit confirmRequested();
            event->accept();
            return;
        }
        break;
    case Qt::Key_A:
        if (mods == Qt::ControlModifier) {
            // The header's box, where the mouse may use it.
            auto *header = qobject_cast<FXHeader *>(horizontalHeader());
            if (header && header->isVisible() && header->isEnabled()
                && !header->testAttribute(Qt::WA_TransparentForMouseEvents))
                header->setChecked(header->checkState() != Qt::Checked);
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QTableView::keyPressEvent(event);
}

QRect FXTableView::rowRect(int row) const
{
    if (!model() || row < 0 || model()->columnCount(rootIndex()) == 0)
        return QRect();
    const int last = model()->columnCount(rootIndex()) - 1;
    return visualRect(model()->index(row, 0, rootIndex())) | visualRect(model()->index(row, last, rootIndex()));
}

void FXTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!hasFocus() || !currentIndex().isValid())
        return;
    // The row the keys work on: a frame of its own, over any row colour.
    const QRect row = rowRect(currentIndex().row()).intersected(viewport()->rect());
    if (row.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(focusColor(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(row).adjusted(1, 1, -1, -1));
}

void FXTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void FXTableView::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FXTableView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // The base repaints the two cells; the frame spans their rows.
    if (previous.isValid())
        viewport()->update(rowRect(previous.row()));
    if (current.isValid())
        viewport()->update(rowRect(current.row()));
}
