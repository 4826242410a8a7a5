#include "SelectVehicleWidget.h"

#include "FXTableView.h"
#include "FXWidget.h"
#include "GetAllCarListAndLanguageListThread.h"
#include "MessageBoxDialog.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "PageContainer.h"
#include "ReplaceEmptyCarConfigurationThread.h"
#include "SelectVehicleTableModel.h"
#include "VehicleChoice.h"
#include "VehicleLog.h"

#include <Sornet/Code.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int LanguageItemHeight = 31;
constexpr int RowHeight = 48;
constexpr int NameWidth = 812;
constexpr int OperationWidth = 100;
} // namespace

SelectVehicleWidget::SelectVehicleWidget(QWidget *parent, const QString &serialNumber)
    : QWidget(parent)
    , mSerialNumber(serialNumber)
{
    // 1. The page, with every language of the table until the service answers.
    setObjectName(QStringLiteral("SelectVehicleWidget"));
    buildUi();
    const VehicleChoice::Languages all = VehicleChoice::allLanguages();
    fillLanguages(all.names, all.codes);

    // 2. Workers and controls.
    mQueryThread = new GetAllCarListAndLanguageListThread(this);
    mSubmitThread = new ReplaceEmptyCarConfigurationThread(this);
    connect(mQueryThread, &GetAllCarListAndLanguageListThread::begin, this, &SelectVehicleWidget::onStart);
    connect(mQueryThread, &GetAllCarListAndLanguageListThread::finish, this,
            &SelectVehicleWidget::onGetAllCarListAndLanguageListFinish);
    connect(mSubmitThread, &ReplaceEmptyCarConfigurationThread::begin, this, &SelectVehicleWidget::onStartSubmit);
    connect(mSubmitThread, &ReplaceEmptyCarConfigurationThread::finish, this,
            &SelectVehicleWidget::onReplaceEmptyCarConfigurationFinish);
    connect(mSubmit, &QPushButton::clicked, this, &SelectVehicleWidget::onSubmit);
    connect(mLanguages, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SelectVehicleWidget::onLanguagesChanged);
    connect(mTable, &QAbstractItemView::clicked, this, &SelectVehicleWidget::onClickedTableView);
    // The keyboard: Space picks the current row as a click does, Return submits.
    connect(mTable, &FXTableView::toggleRequested, this,
            [this](int row) { onClickedTableView(mModel->index(row, OperationColumn)); });
    connect(mTable, &FXTableView::confirmRequested, this, &SelectVehicleWidget::onSubmit);

    // 3. and 4. Ask; without a signed-in user the request goes out empty.
    PrepareQuery();
    mQuerying = true;
    mQuerySerial = mSerialNumber;
    mQueryThread->start();
}

SelectVehicleWidget::~SelectVehicleWidget()
{
    // Answers still under way must not reach a page that is gone.
    disconnect(mQueryThread, nullptr, this, nullptr);
    disconnect(mSubmitThread, nullptr, this, nullptr);
    mQueryThread->wait();
    mSubmitThread->wait();
}

SelectVehicleWidget *SelectVehicleWidget::create(QWidget *container, const QString &serialNumber)
{
    return new SelectVehicleWidget(container, serialNumber);
}

void SelectVehicleWidget::buildUi()
{
    QLabel *title = PageContainer::dressPage(this, tr("Select One Vehicle Software"));

    auto *serialCaption = new QLabel(tr("Serial Number:"), this);
    serialCaption->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:18px;color:#666666;}"));
    mSerialValue = new QLabel(mSerialNumber, this);
    mSerialValue->setObjectName(QStringLiteral("serialNumber"));
    mSerialValue->setTextFormat(Qt::PlainText);
    mSerialValue->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:18px;color:#000000;}"));
    mSerialValue->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *languageCaption = new QLabel(tr("Software Language:"), this);
    languageCaption->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#333333;}"));
    mLanguages = new MyComboBox(this);
    mLanguages->setObjectName(QStringLiteral("languages"));
    mLanguages->setFixedSize(180, 40);
    languageCaption->setBuddy(mLanguages); // names the drop-down for a screen reader

    auto *serialRow = new QHBoxLayout;
    serialRow->setSpacing(8);
    serialRow->addWidget(serialCaption);
    serialRow->addWidget(mSerialValue);
    serialRow->addStretch();
    serialRow->addWidget(languageCaption);
    serialRow->addWidget(mLanguages);

    auto *top = new QVBoxLayout;
    top->setContentsMargins(20, 10, 20, 12);
    top->setSpacing(12);
    top->addWidget(title);
    top->addLayout(serialRow);

    auto *line = new FXWidget(this);
    line->setObjectName(QStringLiteral("line"));
    line->setBackgroundColor(QColor(0x2d, 0x2d, 0x2d));
    line->setFixedHeight(1);

    mModel = new SelectVehicleTableModel(this);
    mModel->setHeaders({tr("Name"), tr("Operation")});
    // The box over a row's second cell: read there, with the vehicle's name.
    mModel->setCheckColumn(OperationColumn);
    mModel->setNamedColumn(OperationColumn);
    mTable = new FXTableView(this);
    mTable->setObjectName(QStringLiteral("tableView"));
    mTable->setAccessibleName(title->text());
    mTable->setModel(mModel);
    mTable->setStyleSheet(QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;color:#333333;outline:0px;"
                                         "selection-background-color:#EAF0FB;selection-color:#333333;}"
                                         "QHeaderView::section{background:#F5F5F5;color:#666666;border:none;"
                                         "font-family:Helvetica;font-size:15px;padding-left:3px;}"));
    mTable->setStateColor(FXTableView::Selected, QColor(0xEA, 0xF0, 0xFB));
    // No hover mark of the style's own on the cell under the check box.
    mTable->setStateColor(FXTableView::Hover, QColor(Qt::white));
    QHeaderView *header = mTable->horizontalHeader();
    header->setVisible(true);
    header->setFixedHeight(44);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setMinimumSectionSize(OperationWidth);
    // The row numbers take their width from the name column, so that both
    // columns fit the page without a scroll bar.
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(OperationColumn, QHeaderView::Fixed);
    header->resizeSection(NameColumn, NameWidth);
    header->resizeSection(OperationColumn, OperationWidth);
    QHeaderView *rows = mTable->verticalHeader();
    rows->setVisible(true);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(RowHeight);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setStyleSheet(QStringLiteral("QHeaderView::section{background:#FFFFFF;color:#666666;border:none;"
                                       "font-family:Helvetica;font-size:14px;padding-left:10px;padding-right:6px;}"));

    mSubmit = new QPushButton(tr("Submit"), this);
    mSubmit->setObjectName(QStringLiteral("submit"));
    mSubmit->setFixedSize(150, 40);
    mSubmit->setCursor(Qt::PointingHandCursor);
    mSubmit->setStyleSheet(
        QStringLiteral("QPushButton{background-color:#213b78;color:#FFFFFF;font-family:Helvetica;font-size:16px;"
                       "border:none;border-radius:4px;}"
                       "QPushButton:disabled{background-color:#A6B0C8;}"));

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(20, 12, 20, 20);
    bottom->addStretch();
    bottom->addWidget(mSubmit);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addWidget(mTable, 1);
    layout->addLayout(bottom);
}

void SelectVehicleWidget::SetSerialNumber(const QString &serialNumber)
{
    mSerialNumber = serialNumber;
    mSerialValue->setText(serialNumber);
}

void SelectVehicleWidget::fillLanguages(const QStringList &names, const QStringList &codes)
{
    const QSignalBlocker blocker(mLanguages);
    mLanguages->clear();
    mComboNames = names;
    mComboCodes = codes;
    mLanguages->addItems(names);
    mLanguages->view()->setMinimumHeight(LanguageItemHeight * mLanguages->count());
    // Without a match the first entry stays selected.
    const int index = VehicleChoice::preselect(codes, VehicleChoice::ToServiceLanguage());
    if (index >= 0)
        mLanguages->setCurrentIndex(index);
}

void SelectVehicleWidget::PrepareQuery()
{
    const VehicleChoice::Account account = VehicleChoice::readAccount(mSerialNumber);
    mToken = account.token;
    mUserId = account.userId;
    if (account.serialNumber != mSerialNumber)
        SetSerialNumber(account.serialNumber);
    if (!account.isSignedIn())
        return;
    GetAllCarListAndLanguageListParam param;
    param.setToken(mToken);
    param.setUser_id(mUserId);
    param.setLang_name(VehicleChoice::ToServiceLanguage());
    param.setSerial_number(mSerialNumber);
    mQueryThread->setParam(param);
}

void SelectVehicleWidget::onBack()
{
    qCDebug(lcVehicle) << "onBack...";
    QStackedWidget *stack = container();
    if (!stack)
        return;
    stack->setCurrentIndex(0);
    QWidget *first = stack->widget(0);
    // The list page asks the service again, so a chosen vehicle shows up.
    if (first && first->objectName() == QLatin1String("SoftwareInfoWidget"))
        QMetaObject::invokeMethod(first, "refreshLists");
}

void SelectVehicleWidget::onStart()
{
    mFeedback.showBusy();
}

void SelectVehicleWidget::onGetAllCarListAndLanguageListFinish(int code, QVariant response)
{
    qCDebug(lcVehicle) << "onGetAllCarListAndLanguageListFinish..." << code;
    mQuerying = false;
    mFeedback.closeBusy();
    if (code != 200)
        return;
    if (mQuerySerial != mSerialNumber) {
        qCDebug(lcVehicle) << "onGetAllCarListAndLanguageListFinish: dropped, the page has another card";
        return;
    }
    const GetAllCarListAndLanguageListResponse answer = response.value<GetAllCarListAndLanguageListResponse>();
    if (answer.getCode() == Code::CODE_SUCCESS) {
        mCarList = VehicleChoice::sortedCars(answer.getData().getCarList());
        mLanguageList = answer.getData().getLanguageList();
        buildFromAnswer();
        return;
    }
    if (!isCurrentFor(mQuerySerial)) {
        qCDebug(lcVehicle) << "onGetAllCarListAndLanguageListFinish: not shown, the page is not current";
        return;
    }
    handleServiceCode(answer.getCode());
}

void SelectVehicleWidget::buildFromAnswer()
{
    mModel->clear(); // the view deletes the check boxes placed over the cells
    mBoxes.clear();
    for (int row = 0; row < mCarList.size(); ++row) {
        mModel->AddRow(mCarList.at(row).getLangName(), QString());
        mModel->setValue(row, MyTableModel::CheckedKey, false);
        auto *box = new MyCheckBox;
        // Centred in its cell, without the caption's indent; the table
        // takes the keyboard for it.
        box->setStyleSheet(box->styleSheet() + QStringLiteral("QCheckBox{padding-left:0px;}"));
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QAbstractButton::toggled, this, &SelectVehicleWidget::onToggled);
        connect(box, &QAbstractButton::toggled, this,
                [this, row](bool checked) { mModel->setValue(row, MyTableModel::CheckedKey, checked); });
        auto *cell = new QWidget;
        cell->setObjectName(QStringLiteral("operationCell"));
        cell->setStyleSheet(QStringLiteral("#operationCell{background:transparent;}"));
        auto *cellLayout = new QHBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        cellLayout->addWidget(box, 0, Qt::AlignCenter);
        mTable->setIndexWidget(mModel->index(row, OperationColumn), cell);
        mBoxes.append(box);
    }
    const VehicleChoice::Languages offered = VehicleChoice::offeredLanguages(mLanguageList);
    fillLanguages(offered.names, offered.codes);
}

void SelectVehicleWidget::onStartSubmit()
{
    mFeedback.showBusy();
}

void SelectVehicleWidget::onReplaceEmptyCarConfigurationFinish(int code, QVariant response)
{
    qCDebug(lcVehicle) << "onReplaceEmptyCarConfigurationFinish..." << code;
    mSubmitting = false;
    mFeedback.closeBusy();
    if (code != 200)
        return;
    if (!isCurrentFor(mSubmitSerial)) {
        qCDebug(lcVehicle) << "onReplaceEmptyCarConfigurationFinish: dropped, the page is not current for its card";
        return;
    }
    const ReplaceEmptyCarConfigurationResponse answer = response.value<ReplaceEmptyCarConfigurationResponse>();
    switch (answer.getCode()) {
    case Code::CODE_SUCCESS:
        mFeedback.notify(tr("Configurate Successfully！"));
        onBack();
        return;
    case Code::CODE_ERROR_NOT_CONTAIN_EMPTY:
        mFeedback.notify(tr("The product does not need to be reconfigured！"));
        onBack();
        return;
    default: handleServiceCode(answer.getCode()); return;
    }
}

void SelectVehicleWidget::onSubmit()
{
    qCDebug(lcVehicle) << "onSubmit...";
    // A second click, or Return, while the first submission runs.
    if (mSubmitting)
        return;
    CollectSelection();
    if (!PrepareSubmit())
        return;
    mSubmitting = true;
    mSubmitSerial = mSerialNumber;
    mSubmitThread->start();
}

void SelectVehicleWidget::CollectSelection()
{
    mSelectedLanguages.clear();
    mSelectedCarIds.clear();
    const int index = mLanguages->currentIndex();
    if (index >= 0 && index < mComboCodes.size())
        mSelectedLanguages = VehicleChoice::languagesFor(mComboCodes.at(index));
    for (int row = 0; row < mBoxes.size() && row < mCarList.size(); ++row) {
        if (mBoxes.at(row)->isChecked()) {
            mSelectedCarIds << mCarList.at(row).getId();
            break;
        }
    }
}

bool SelectVehicleWidget::PrepareSubmit()
{
    const VehicleChoice::Account account = VehicleChoice::readAccount(mSerialNumber);
    mToken = account.token;
    mUserId = account.userId;
    if (account.serialNumber != mSerialNumber)
        SetSerialNumber(account.serialNumber);
    const QString languages = mSelectedLanguages.join(QLatin1Char(','));
    QStringList ids;
    for (long id : qAsConst(mSelectedCarIds))
        ids << QString::number(id);
    const QString carIds = ids.join(QLatin1Char(','));
    // Without a card there is nothing to configure.
    if (!account.isSignedIn() || languages.isEmpty() || carIds.isEmpty() || mSerialNumber.isEmpty())
        return false;
    ReplaceEmptyCarConfigurationParam param;
    param.setToken(mToken);
    param.setUser_id(mUserId);
    param.setSerial_number(mSerialNumber);
    param.setLanguanges(languages);
    param.setCarId(carIds);
    mSubmitThread->setParam(param);
    return true;
}

void SelectVehicleWidget::onLanguagesChanged(int index)
{
    // Read at submission.
    qCDebug(lcVehicle) << "onLanguagesChanged: index: " << index;
}

void SelectVehicleWidget::onToggled(bool checked)
{
    qCDebug(lcVehicle) << "onToggled: checked: " << checked;
    if (!checked)
        return;
    const QObject *from = sender();
    for (MyCheckBox *box : qAsConst(mBoxes)) {
        if (box != from && box->isChecked())
            box->setChecked(false);
    }
}

void SelectVehicleWidget::onClickedTableView(QModelIndex index)
{
    if (!index.isValid() || index.row() >= mBoxes.size())
        return;
    MyCheckBox *clicked = mBoxes.at(index.row());
    clicked->toggle();
    for (MyCheckBox *box : qAsConst(mBoxes)) {
        if (box != clicked)
            box->setChecked(false);
    }
}

bool SelectVehicleWidget::isCurrentFor(const QString &serial) const
{
    if (serial != mSerialNumber)
        return false;
    const QStackedWidget *stack = container();
    if (!stack)
        return true;
    if (stack->currentWidget() != this)
        return false;
    // The list page knows the card in the drive; a pulled or swapped card
    // no longer matches the one this page was asked for.
    const QWidget *first = stack->widget(0);
    if (first && first != this) {
        const QVariant card = first->property("serialNumber");
        if (card.isValid() && card.toString() != serial)
            return false;
    }
    return true;
}

void SelectVehicleWidget::handleServiceCode(int code)
{
    mFeedback.serviceFailed(code, tr("Update"));
}

QStackedWidget *SelectVehicleWidget::container() const
{
    return qobject_cast<QStackedWidget *>(parentWidget());
}
