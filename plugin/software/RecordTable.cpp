#include "RecordTable.h"

#include "FXTableView.h"
#include "PlainToolTip.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QStandardItemModel>

RecordTable::RecordTable(QWidget *page, const QStringList &headers, const QList<int> &widths)
    : model(new QStandardItemModel(0, headers.size(), page))
    , view(new FXTableView(page))
{
    model->setHorizontalHeaderLabels(headers);
    view->setObjectName(QStringLiteral("tableView"));
    view->setModel(model);
    // Tab reaches the table and the arrows walk its rows; nothing to select.
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setStateColor(FXTableView::Hover, QColor(Qt::white));
    view->setStyleSheet(QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;color:#333333;outline:0px;}"
                                       "QHeaderView::section{background:#F5F5F5;color:#666666;border:none;"
                                       "font-family:Helvetica;font-size:15px;padding-left:3px;}"));
    view->verticalHeader()->hide();
    QHeaderView *header = view->horizontalHeader();
    header->setVisible(true);
    header->setFixedHeight(44);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < widths.size(); ++column)
        header->resizeSection(column, widths.at(column));
    header->setStretchLastSection(true);
}

void RecordTable::append(const QStringList &texts, int marked, const QColor &colour, const QString &tip)
{
    QList<QStandardItem *> row;
    for (int column = 0; column < texts.size(); ++column) {
        auto *item = new QStandardItem(texts.at(column));
        // Names and versions come from the service and the card: shown as
        // written, never taken for markup.
        item->setToolTip(PlainToolTip::of(texts.at(column)));
        // An empty cell is not silence to a screen reader.
        if (texts.at(column).isEmpty())
            item->setData(QCoreApplication::translate("MyTableModel", "None"), Qt::AccessibleTextRole);
        if (column == marked) {
            item->setForeground(colour);
            if (!tip.isEmpty()) {
                item->setToolTip(PlainToolTip::of(tip));
                item->setData(tip, Qt::AccessibleDescriptionRole);
            }
        }
        row << item;
    }
    model->appendRow(row);
}

void RecordTable::clear()
{
    model->removeRows(0, model->rowCount());
}
