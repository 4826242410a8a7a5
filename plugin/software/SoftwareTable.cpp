#include "SoftwareTable.h"

#include "FXTableView.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyTableModel.h"

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>

SoftwareTable::SoftwareTable(QWidget *page, const QStringList &headers, const std::array<int, 4> &widths)
    : model(new MyTableModel(page))
    , view(new FXTableView(page))
    , header(new MyHeader(view))
{
    model->setHeaders(headers);
    // The last column, the row's state, is read with the row's name.
    model->setCheckColumn(0);
    model->setNamedColumn(headers.size() - 1);
    view->setObjectName(QStringLiteral("tableView"));
    header->setCheckBoxText(headers.value(0));
    header->setFixedHeight(44);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setHorizontalHeader(header);
    header->setVisible(true);
    view->verticalHeader()->hide();
    view->setModel(model);
    // Rows are ticked by their boxes: no mark on the cell under the pointer.
    // The table takes the focus as a whole; its keys work the current row's
    // box and drop-down (see FXTableView).
    view->setStateColor(FXTableView::Hover, QColor(Qt::white));
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < int(widths.size()); ++column)
        header->resizeSection(column, widths[size_t(column)]);
    header->setStretchLastSection(true);
    setStyle(view, QString());
}

void SoftwareTable::setStyle(FXTableView *view, const QString &pageStyle)
{
    // The drop-down's cell is transparent, so the row's grid line below shows.
    view->setStyleSheet(pageStyle + MyCheckBox::tableStyle() + MyComboBox::tableStyle()
                        + QStringLiteral("#versionCell{background:transparent;}"));
}

void SoftwareTable::placeRowWidgets(FXTableView *view, int row, QWidget *box, QWidget *versions)
{
    QAbstractItemModel *model = view->model();
    view->setIndexWidget(model->index(row, 0), box);
    auto *cell = new QWidget;
    cell->setObjectName(QStringLiteral("versionCell"));
    auto *cellLayout = new QHBoxLayout(cell);
    cellLayout->setContentsMargins(0, 0, 0, 0);
    cellLayout->addWidget(versions);
    cellLayout->addStretch();
    view->setIndexWidget(model->index(row, 2), cell);
}
