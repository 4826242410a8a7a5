#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class FXTableView;
class QStandardItemModel;
class QWidget;

// The read-only table of the record pages (the card check, the history):
// a row of column labels over one row of texts per record. Makes the model
// and the table "tableView" on a page.
struct RecordTable
{
    // `widths` fix the first columns; the last one stretches.
    RecordTable(QWidget *page, const QStringList &headers, const QList<int> &widths);

    // Appends a row of texts; the cell `marked` in `colour`, with `tip` as
    // its tooltip and accessible description.
    void append(const QStringList &texts, int marked = -1, const QColor &colour = QColor(),
                const QString &tip = QString());
    void clear();

    QStandardItemModel *model;
    FXTableView *view;
};
