#pragma once

#include <QStringList>

#include <array>

class FXTableView;
class MyHeader;
class MyTableModel;
class QWidget;

// The table of software rows that the list page and the download page show:
// the name under a check box, the installed version, the offered versions,
// the size and the state. Makes the model, the table "tableView" and its
// check-box header on a page; the page adds its own look and behaviour.
// A screen reader hears each row's tick on its name and the state with the
// name before it (MyTableModel).
struct SoftwareTable
{
    // `headers` are the five column labels, the first also the header box's
    // text; `widths` fix the first four columns, the last one stretches.
    SoftwareTable(QWidget *page, const QStringList &headers, const std::array<int, 4> &widths);

    // Puts a row's check box over its name and its version drop-down, left
    // aligned, over its versions cell.
    static void placeRowWidgets(FXTableView *view, int row, QWidget *box, QWidget *versions);
    // The table's look: the page's style and that of the row widgets
    // (MyCheckBox::forTable, MyComboBox::forTable), set once on the table
    // rather than on each of its many widgets.
    static void setStyle(FXTableView *view, const QString &pageStyle);

    MyTableModel *model;
    FXTableView *view;
    MyHeader *header;
};
