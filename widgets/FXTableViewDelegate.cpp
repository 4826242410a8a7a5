#include "FXTableViewDelegate.h"

#include "FXGlobalInfo.h"
#include "FXTableView.h"

#include <QPainter>

namespace {
// Configuration colours are RRGGBBAA.
QColor lineColor()
{
    const QString text = FXGlobalInfo::instance()->config().textValue(
        {QStringLiteral("UI"), QStringLiteral("TableView"), QStringLiteral("list"),
         QStringLiteral("Line"), QStringLiteral("background"), QString()});
    bool ok = false;
    const quint32 v = text.toUInt(&ok, 16);
    if (!ok)
        return QColor(0xD8, 0xD8, 0xD8);
    return QColor((v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

FXTableView::RowState rowState(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return FXTableView::Disabled;
    if (option.state & QStyle::State_Selected)
        return FXTableView::Selected;
    if (option.state & QStyle::State_MouseOver)
        return FXTableView::Hover;
    if (option.state & QStyle::State_HasFocus)
        return FXTableView::Current;
    return FXTableView::Normal;
}
}

FXTableViewDelegate::FXTableViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
    , mGridPen(lineColor(), FXGlobalInfo::instance()->tableLineWidth())
{
}

void FXTableViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem item(option);
    bool covered = false;
    if (const auto *view = qobject_cast<const FXTableView *>(option.widget)) {
        const QColor background = view->stateColor(rowState(option));
        if (background.isValid()) {
            painter->fillRect(option.rect, background);
            // The configured colour replaces the style's own highlight.
            item.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        }
        // A widget over the cell shows its content; the cell's text is
        // there for the screen reader and would peek out around it.
        covered = index.isValid() && view->indexWidget(index);
    }
    QStyledItemDelegate::paint(painter, item, covered ? QModelIndex() : index);

    painter->save();
    painter->setPen(mGridPen);
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}

void FXTableViewDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
}
