#pragma once

#include "FXTableViewDelegate.h"

// Base of the uninstall table's delegates: paints the row background and
// line, and lets a press anywhere in the cell tick or untick its row.
class RowToggleDelegate : public FXTableViewDelegate
{
    Q_OBJECT
public:
    explicit RowToggleDelegate(bool toggles, QObject *parent = nullptr);

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    // Row background and bottom line, as the table's own delegate draws them.
    void paintBackground(QPainter *painter, const QStyleOptionViewItem &option) const;
    // `text` left-aligned and vertically centred in `rect`.
    static void paintText(QPainter *painter, const QRect &rect, const QString &text, const QColor &color);
    static QString picturePath(const QString &file);
    // Background and the cell's display text in the model's colour.
    void paintPlainCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

private:
    bool mToggles;
};
