#include "RowToggleDelegate.h"

#include "FXGlobalInfo.h"
#include "UninstallModel.h"

#include <QMouseEvent>
#include <QPainter>

RowToggleDelegate::RowToggleDelegate(bool toggles, QObject *parent)
    : FXTableViewDelegate(parent)
    , mToggles(toggles)
{
}

bool RowToggleDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &,
                                    const QModelIndex &index)
{
    // Only presses toggle. The event is not consumed, so the view still
    // selects the row and reports the click; the styled delegate's own
    // check-box handling is skipped, or the release would toggle again.
    if (mToggles && event->type() == QEvent::MouseButtonPress && model && index.isValid()
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QModelIndex name = index.sibling(index.row(), UninstallModel::NameColumn);
        const bool checked = name.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model->setData(name, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    return false;
}

QSize RowToggleDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = FXTableViewDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), int(FXGlobalInfo::instance()->tableItemMinHeight())));
    return size;
}

void RowToggleDelegate::paintBackground(QPainter *painter, const QStyleOptionViewItem &option) const
{
    // The base paints background and line around an item; an empty index
    // keeps it from drawing any content of its own. The table selects whole
    // rows, so the current cell gets no focus frame of its own.
    QStyleOptionViewItem row(option);
    row.state &= ~QStyle::State_HasFocus;
    FXTableViewDelegate::paint(painter, row, QModelIndex());
}

void RowToggleDelegate::paintText(QPainter *painter, const QRect &rect, const QString &text, const QColor &color)
{
    painter->save();
    painter->setPen(color);
    painter->drawText(rect, int(Qt::AlignLeft | Qt::AlignVCenter), text);
    painter->restore();
}

QString RowToggleDelegate::picturePath(const QString &file)
{
    const QString path = FXGlobalInfo::instance()->imagePath(file);
    return path.isEmpty() ? QStringLiteral(":/1200x800/Resources/images/1200x800/") + file : path;
}

void RowToggleDelegate::paintPlainCell(QPainter *painter, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    paintBackground(painter, option);
    painter->save();
    painter->setFont(option.font);
    paintText(painter, option.rect.adjusted(10, 0, -4, 0), index.data(Qt::DisplayRole).toString(),
              index.data(Qt::ForegroundRole).value<QColor>());
    painter->restore();
}
