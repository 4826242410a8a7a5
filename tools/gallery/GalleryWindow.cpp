#include "GalleryWindow.h"

#include "FXCheckBox.h"
#include "FXGlobalInfo.h"
#include "FXHeader.h"
#include "FXProgressBar.h"
#include "FXRadioButton.h"
#include "FXTableView.h"
#include "FXViewPager.h"
#include "FXWidget.h"
#include "LoadingDialog.h"
#include "MessageBoxDialog.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyProgressBar.h"
#include "QCircularProgressBar.h"
#include "Toast.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color:#555555;"));
    return label;
}

struct BoxPreset
{
    const char *name;
    const char *title;
    const char *text;
    QMessageBox::StandardButtons buttons;
};

const BoxPreset BoxPresets[] = {
    {"msg-okno", "Tips", "The model is upgrading. Closing may result in the car not working "
                         "properly. Is it turned off?",
     QMessageBox::Ok | QMessageBox::No},
    {"msg-ok", "Tips", "Vehicle is being upgraded, do not unload!", QMessageBox::Ok},
    {"msg-yesok", "Update", "Yes wins over OK on the first button.",
     QMessageBox::Ok | QMessageBox::Yes},
    {"msg-cancel", "Update", "Only a Cancel button.", QMessageBox::Cancel},
    {"msg-none", "Update", "No buttons: closed by the window system only.",
     QMessageBox::NoButton},
};
}

GalleryWindow::GalleryWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Widget gallery"));
    setFixedSize(FXGlobalInfo::instance()->windowSize());
    mTabs = new QTabWidget(this);
    mTabs->addTab(buildControls(), QStringLiteral("controls"));
    mTabs->addTab(buildNavigation(), QStringLiteral("navigation"));
    mTabs->addTab(buildProgress(), QStringLiteral("progress"));
    mTabs->addTab(buildTable(), QStringLiteral("table"));
    mTabs->addTab(buildDialogs(), QStringLiteral("dialogs"));
    setCentralWidget(mTabs);
}

bool GalleryWindow::selectPage(const QString &name)
{
    for (int i = 0; i < mTabs->count(); ++i) {
        if (mTabs->tabText(i) == name) {
            mTabs->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool GalleryWindow::openPreview(const QString &name)
{
    for (const BoxPreset &preset : BoxPresets) {
        if (name == QLatin1String(preset.name)) {
            auto *box = new MessageBoxDialog(this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->configure(QString::fromUtf8(preset.title), QString::fromUtf8(preset.text),
                           preset.buttons);
            box->show();
            return true;
        }
    }
    if (name == QLatin1String("toast")) {
        Toast *toast = Toast::instance(this);
        toast->setFadeDuration(100);
        toast->setMessageVDuration(QStringLiteral("User information obtained successfully"),
                                   60000);
        return true;
    }
    if (name == QLatin1String("loading")) {
        LoadingDialog::showLoading(this, 60000);
        return true;
    }
    return false;
}

QWidget *GalleryWindow::buildControls()
{
    auto *page = new QWidget;
    page->setStyleSheet(QStringLiteral("background:white;"));
    auto *grid = new QGridLayout(page);

    grid->addWidget(caption(QStringLiteral("FXWidget: normal, disabled, colour, picture"), page),
                    0, 0, 1, 5);
    auto *normal = new FXWidget(page);
    auto *disabled = new FXWidget(page);
    disabled->setEnabled(false);
    auto *coloured = new FXWidget(page);
    coloured->setBackgroundColor(QColor(QStringLiteral("#363C4B")));
    auto *pictured = new FXWidget(page);
    pictured->setBackgroundImage(
        FXGlobalInfo::instance()->imagePath(QStringLiteral("buttonBar_bg.png")));
    int column = 0;
    for (FXWidget *panel : {normal, disabled, coloured, pictured}) {
        panel->setFixedSize(160, 60);
        grid->addWidget(panel, 1, column++);
    }

    grid->addWidget(caption(QStringLiteral("FXCheckBox: unchecked, checked, disabled"), page), 2,
                    0, 1, 5);
    auto *unchecked = new FXCheckBox(QStringLiteral("Stay signed in"), page);
    auto *checked = new FXCheckBox(QStringLiteral("Checked"), page);
    checked->setChecked(true);
    auto *off = new FXCheckBox(QStringLiteral("Disabled"), page);
    off->setEnabled(false);
    grid->addWidget(unchecked, 3, 0);
    grid->addWidget(checked, 3, 1);
    grid->addWidget(off, 3, 2);

    grid->addWidget(caption(QStringLiteral("MyCheckBox: unchecked, checked, disabled"), page), 4,
                    0, 1, 5);
    auto *myUnchecked = new MyCheckBox(QStringLiteral("HOME"), page);
    auto *myChecked = new MyCheckBox(QStringLiteral("BENZ"), page);
    myChecked->setChecked(true);
    auto *myOff = new MyCheckBox(QStringLiteral("Required"), page);
    myOff->setChecked(true);
    myOff->setEnabled(false);
    grid->addWidget(myUnchecked, 5, 0);
    grid->addWidget(myChecked, 5, 1);
    grid->addWidget(myOff, 5, 2);

    grid->addWidget(caption(QStringLiteral("FXProgressBar / MyProgressBar: 0, 40, 100"), page), 6,
                    0, 1, 5);
    column = 0;
    for (int value : {0, 40, 100}) {
        auto *bar = new FXProgressBar(page);
        bar->setValue(value);
        bar->setTextVisible(false);
        bar->setFixedSize(104, 4);
        grid->addWidget(bar, 7, column++);
    }
    auto *myBar = new MyProgressBar(page);
    myBar->setValue(70);
    myBar->setTextVisible(false);
    myBar->setFixedSize(104, 4);
    grid->addWidget(myBar, 7, column);

    grid->addWidget(caption(QStringLiteral("MyComboBox: enabled, disabled"), page), 8, 0, 1, 5);
    auto *combo = new MyComboBox(page);
    combo->addItems({QStringLiteral("V10.20"), QStringLiteral("V10.10"), QStringLiteral("V10.00")});
    auto *comboOff = new MyComboBox(page);
    comboOff->addItem(QStringLiteral("V1.00"));
    comboOff->setEnabled(false);
    grid->addWidget(combo, 9, 0);
    grid->addWidget(comboOff, 9, 1);
    grid->setRowStretch(10, 1);
    return page;
}

QWidget *GalleryWindow::buildNavigation()
{
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    const FXGlobalInfo *info = FXGlobalInfo::instance();

    auto *bar = new FXWidget(page);
    bar->setBackgroundColor(QColor(QStringLiteral("#0B101D")));
    bar->setFixedWidth(info->size(FXGlobalInfo::Button_bar).width());
    auto *barLayout = new QVBoxLayout(bar);
    barLayout->setContentsMargins(0, 40, 0, 0);
    barLayout->setSpacing(0);
    auto *group = new QButtonGroup(bar);
    const char *const entries[][2] = {{"Download", "Download.png"},
                                      {"Complaint", "Complaint.png"},
                                      {"Uninstall", "Uninstall.png"},
                                      {"Setting", "Setting.png"}};
    int index = 0;
    for (const auto &entry : entries) {
        auto *button = new FXRadioButton(bar);
        button->setId(QString::fromLatin1(entry[0]).toUpper());
        button->setPictures(info->imagePath(QString::fromLatin1(entry[1])),
                            info->imagePath(QStringLiteral("triangular_arrow.png")));
        button->setCaption(QString::fromLatin1(entry[0]), QFont(QStringLiteral("Helvetica"), 12));
        button->setContentsMargins(30, 0, 0, 0);
        button->setFixedHeight(info->size(FXGlobalInfo::Button_bar_item).height());
        button->setChecked(index == 0);
        button->setEnabled(index != 3);
        group->addButton(button, index++);
        barLayout->addWidget(button);
    }
    barLayout->addStretch();
    row->addWidget(bar);

    auto *column = new QVBoxLayout;
    auto *pager = new FXViewPager(page);
    pager->setFixedSize(500, 300);
    const QStringList names = {QStringLiteral("LOGIN"), QStringLiteral("REGISTER"),
                               QStringLiteral("THIRD")};
    const QStringList colours = {QStringLiteral("#DCE6F5"), QStringLiteral("#F5E6DC"),
                                 QStringLiteral("#E0F5DC")};
    auto *buttons = new QHBoxLayout;
    for (int i = 0; i < names.size(); ++i) {
        auto *content = new QLabel(names.at(i));
        content->setAlignment(Qt::AlignCenter);
        content->setStyleSheet(QStringLiteral("background:%1;font-size:28px;").arg(colours.at(i)));
        pager->addPage(names.at(i), content);
        auto *show = new QPushButton(QStringLiteral("Show ") + names.at(i), page);
        const QString id = names.at(i);
        connect(show, &QPushButton::clicked, pager, [pager, id] { pager->showPage(id); });
        buttons->addWidget(show);
    }
    column->addWidget(caption(QStringLiteral("FXViewPager"), page));
    column->addWidget(pager);
    column->addLayout(buttons);
    column->addStretch();
    row->addLayout(column);
    row->addStretch();
    return page;
}

QWidget *GalleryWindow::buildProgress()
{
    auto *page = new QWidget;
    page->setStyleSheet(QStringLiteral("background:white;"));
    auto *grid = new QGridLayout(page);
    const qreal values[] = {0, 25, 50, 85, 100};
    const char *const rows[] = {"ring, gradient", "gauge, gradient", "ring, colour 40x40",
                                "gauge, colour"};
    for (int r = 0; r < 4; ++r) {
        grid->addWidget(caption(QString::fromLatin1(rows[r]), page), r, 0);
        int column = 1;
        for (qreal value : values) {
            auto *ring = new QCircularProgressBar(r % 2, value, page);
            if (r >= 2)
                ring->setProgressColor(QColor(value > 90 ? QStringLiteral("#FF0000")
                                                         : QStringLiteral("#2256cf")));
            if (r == 2)
                ring->setFixedSize(40, 40);
            else
                ring->setFixedSize(120, 120);
            grid->addWidget(ring, r, column++);
        }
    }
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *GalleryWindow::buildTable()
{
    auto *page = new QWidget;
    page->setStyleSheet(QStringLiteral("background:white;"));
    auto *column = new QVBoxLayout(page);

    auto *model = new QStandardItemModel(6, 4, page);
    model->setHorizontalHeaderLabels({QString(), QStringLiteral("Current Version"),
                                      QStringLiteral("Size"), QStringLiteral("Status")});
    const char *const names[] = {"BENZ", "BMW", "AUDI", "TOYOTA", "HOME", "COMTXTLIB"};
    for (int row = 0; row < 6; ++row) {
        model->setItem(row, 0, new QStandardItem(QString::fromLatin1(names[row])));
        model->setItem(row, 1, new QStandardItem(QStringLiteral("V10.%1").arg(row * 3)));
        model->setItem(row, 2, new QStandardItem(QStringLiteral("%1.25MB").arg(row * 37 + 5)));
        model->setItem(row, 3, new QStandardItem(QStringLiteral("Ready")));
    }

    column->addWidget(caption(QStringLiteral("FXTableView with FXHeader (checked) and the delegate"),
                              page));
    auto *table = new FXTableView(page);
    // The pages hide the row numbers; show the tables as they do.
    table->verticalHeader()->hide();
    auto *header = new FXHeader(Qt::Horizontal, table);
    header->setCheckBoxText(QStringLiteral("Name"));
    header->setChecked(true);
    table->setHorizontalHeader(header);
    header->show();
    table->setModel(model);
    table->setStateColor(FXTableView::Hover, QColor(0x85, 0x92, 0xB8, 0x80));
    table->setStateColor(FXTableView::Selected, QColor(0xD8, 0xD8, 0xD8));
    table->selectRow(1);
    table->setColumnWidth(0, 300);
    table->setColumnWidth(1, 250);
    table->setColumnWidth(2, 250);
    table->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table, 1);

    column->addWidget(caption(QStringLiteral("FXTableView with MyHeader (unchecked, disabled)"),
                              page));
    auto *second = new FXTableView(page);
    second->verticalHeader()->hide();
    auto *myHeader = new MyHeader(second);
    second->setHorizontalHeader(myHeader);
    myHeader->show();
    myHeader->setEnabled(false);
    second->setModel(model);
    second->setColumnWidth(0, 300);
    second->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(second, 1);
    return page;
}

QWidget *GalleryWindow::buildDialogs()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    mResult = new QLabel(QStringLiteral("Result: -"), page);
    for (const BoxPreset &preset : BoxPresets) {
        auto *button = new QPushButton(QStringLiteral("Message box ")
                                           + QString::fromLatin1(preset.name),
                                       page);
        connect(button, &QPushButton::clicked, this, [this, preset] {
            const QMessageBox::StandardButton result = MessageBoxDialog::showMessageBox(
                this, QString::fromUtf8(preset.title), QString::fromUtf8(preset.text),
                preset.buttons);
            mResult->setText(QStringLiteral("Result: 0x%1").arg(int(result), 0, 16));
        });
        column->addWidget(button);
    }
    auto *toast = new QPushButton(QStringLiteral("Toast for 3000 ms"), page);
    connect(toast, &QPushButton::clicked, this, [this] {
        Toast::instance(this)->setMessageVDuration(QStringLiteral("U Disk Inserted!"));
    });
    column->addWidget(toast);
    auto *busy = new QPushButton(QStringLiteral("Busy indicator for 3000 ms"), page);
    connect(busy, &QPushButton::clicked, this, [this] { LoadingDialog::showLoading(this, 3000); });
    column->addWidget(busy);
    column->addWidget(mResult);
    column->addStretch();
    return page;
}
