#include "DownloadWidget.h"

#include "AppSettings.h"
#include "BatchPrompts.h"
#include "BatchTexts.h"
#include "CardBox.h"
#include "CardHelpers.h"
#include "FXTableView.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyTableModel.h"
#include "PageContainer.h"
#include "PlainToolTip.h"
#include "ProgressLog.h"
#include "RowAnnouncer.h"
#include "SoftwareInfoWidget.h"
#include "SoftwareRows.h"
#include "SoftwareTable.h"
#include "StateCell.h"
#include "StatusColours.h"
#include "Toast.h"
#include "TransferRate.h"
#include "UDiskMonitor.h"
#include "UpgradeController.h"

#include <Sornet/Code.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int TickInterval = 1000;
} // namespace

DownloadWidget::DownloadWidget(QWidget *parent)
    : QWidget(parent)
    , mController(new UpgradeController(this))
{
    setObjectName(QStringLiteral("DownloadWidget"));
    buildUi();
    mMonitor = new UDiskMonitor(this);
    mMonitor->hide();
    qApp->installNativeEventFilter(mMonitor);
    mTick.setInterval(TickInterval);
    connect(&mTick, &QTimer::timeout, this, &DownloadWidget::onTick);
    mAnnouncer = new RowAnnouncer(mModel, StateColumn, SpokenInterval, this);
    mPrompts = new BatchPrompts(this, mController);
    connect(mPrompts, &BatchPrompts::retryWanted, this, &DownloadWidget::onRetry);
    // The card came back while a question was open: the window gets the
    // keyboard back only now, and Retry is what it is for.
    connect(mPrompts, &BatchPrompts::boxClosed, this, &DownloadWidget::focusRetryIfCardBack);

    connect(mController, &UpgradeController::rowChanged, this, [this](int row) {
        showRow(row);
        showStatistics();
    });
    connect(mController, &UpgradeController::notice, this, &DownloadWidget::notify);
    connect(mController, &UpgradeController::tokenRejected, this, &DownloadWidget::onTokenRejected);
    connect(mController, &UpgradeController::programUpdateReady, this, &DownloadWidget::onProgramUpdateReady);
    connect(mController, &UpgradeController::batchStarted, this, &DownloadWidget::onBatchStarted);
    connect(mController, &UpgradeController::batchEnded, this, &DownloadWidget::onBatchEnded);
    connect(mController, &UpgradeController::cardSpaceChanged, this, &DownloadWidget::showCard);
    connect(mController, &UpgradeController::cardStateChanged, this, &DownloadWidget::showCardNotice);
}

DownloadWidget::~DownloadWidget()
{
    qApp->removeNativeEventFilter(mMonitor);
}

DownloadWidget *DownloadWidget::startIn(QStackedWidget *container, const Card &card, const QList<UpgradeItem> &items)
{
    auto *page = container->findChild<DownloadWidget *>(QStringLiteral("DownloadWidget"), Qt::FindDirectChildrenOnly);
    if (!page) {
        page = new DownloadWidget(container);
        container->addWidget(page);
    }
    page->setBatch(items, card);
    container->setCurrentWidget(page);
    page->start();
    return page;
}

void DownloadWidget::buildUi()
{
    QLabel *title = PageContainer::dressPage(this, tr("Download"));

    mCardBox = new CardBox(this);

    mCardNotice = new QLabel(this);
    mCardNotice->setObjectName(QStringLiteral("cardNotice"));
    mCardNotice->setWordWrap(true);
    mCardNotice->setStyleSheet(
        QStringLiteral("QLabel{background-color:#FFF6E0;border:1px solid #F0C36D;border-radius:4px;"
                       "padding:8px 12px;font-family:Helvetica;font-size:16px;color:#5C3D00;}"));
    mCardNotice->hide();

    const SoftwareTable table(this,
                              {tr("Name"), tr("Current Version"), tr("Updatable Versions"), tr("Size"), tr("State")},
                              {260, 130, 160, 100});
    mModel = table.model;
    mTable = table.view;
    mTable->setAccessibleName(title->text());
    mHeader = table.header;
    // Every row of a batch takes part: the box is ticked and stays so.
    mHeader->setChecked(true);
    mHeader->setAttribute(Qt::WA_TransparentForMouseEvents);
    SoftwareTable::setStyle(mTable, QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;color:#333333;}"));
    // A progress list: nothing to select. Return retries, when Retry shows.
    mTable->setSelectionMode(QAbstractItemView::NoSelection);
    connect(mHeader, &MyHeader::toggled, this, &DownloadWidget::onToggled);
    connect(mTable, &QAbstractItemView::clicked, this, &DownloadWidget::onClickedTableView);
    connect(mTable, &FXTableView::confirmRequested, this, [this] {
        if (mRetry->isVisible() && mRetry->isEnabled())
            onRetry();
    });

    mStatistics = new QLabel(this);
    mStatistics->setObjectName(QStringLiteral("statistics"));
    mStatistics->setTextFormat(Qt::RichText);
    mRate = new QLabel(this);
    mRate->setObjectName(QStringLiteral("transferRate"));
    mRate->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#666666;}"));
    mRate->hide();

    mBack = PageContainer::makeButton(this, tr("Return"), "back", false);
    connect(mBack, &QPushButton::clicked, this, &DownloadWidget::onBack);
    mRetry = PageContainer::makeButton(this, tr("Retry"), "retry", true);
    mRetry->hide();
    connect(mRetry, &QPushButton::clicked, this, &DownloadWidget::onRetry);

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(20);
    bottom->addWidget(mStatistics);
    bottom->addWidget(mRate);
    bottom->addStretch();
    bottom->addWidget(mBack);
    bottom->addWidget(mRetry);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 12);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(mCardBox);
    layout->addWidget(mCardNotice);
    layout->addWidget(mTable, 1);
    layout->addLayout(bottom);
}

void DownloadWidget::setBatch(const QList<UpgradeItem> &items, const Card &card)
{
    mController->setBatch(items, card);
    mPrompts->drop();
    mRetry->hide();
    showCard();
    showCardNotice();
    buildTable();
}

void DownloadWidget::buildTable()
{
    mRowWidgets.clear();
    const DownloadBatch &batch = mController->batch();
    QList<QMap<int, QVariant>> texts;
    for (int i = 0; i < batch.size(); ++i) {
        const UpgradeItem &item = batch.row(i).item;
        // A patch row shows the patch, and what both weigh together.
        const Package &shown = item.shown();
        texts.append({{NameColumn, shown.name},
                      {CurrentColumn, item.current},
                      {VersionColumn, shown.version},
                      {SizeColumn, SoftwareRows::sizeText(item.package.size + item.patch.size)},
                      {StateColumn, QString()}, // the cell's widget shows it, the announcer says it
                      {MyTableModel::CheckedKey, true}});
    }
    mModel->setRows(texts); // the view deletes the widgets of the last batch
    mAnnouncer->reset(batch.size());
    for (int i = 0; i < batch.size(); ++i) {
        const QString name = texts.at(i).value(NameColumn).toString();
        RowWidgets widgets;
        widgets.box = MyCheckBox::forTable(name);
        widgets.box->setChecked(true);
        widgets.box->setToolTip(PlainToolTip::of(name));
        // Ticked for good, yet not greyed out: the row is part of the batch.
        widgets.box->setAttribute(Qt::WA_TransparentForMouseEvents);
        widgets.box->setFocusPolicy(Qt::NoFocus);
        widgets.versions = MyComboBox::forTable();
        widgets.versions->addItem(texts.at(i).value(VersionColumn).toString());
        widgets.versions->setEnabled(false); // chosen on the list, fixed here
        widgets.state = new StateCell;
        mRowWidgets.append(widgets);
        SoftwareTable::placeRowWidgets(mTable, i, widgets.box, widgets.versions);
        mTable->setIndexWidget(mModel->index(i, StateColumn), widgets.state);
    }
    showStatistics();
}

StateCell *DownloadWidget::stateCell(int row) const
{
    return row >= 0 && row < mRowWidgets.size() ? mRowWidgets.at(row).state : nullptr;
}

Card DownloadWidget::card() const
{
    return mController->card();
}

bool DownloadWidget::isRunning() const
{
    return mController->isRunning();
}

const DownloadBatch &DownloadWidget::batch() const
{
    return mController->batch();
}

void DownloadWidget::start()
{
    connect(mMonitor, &UDiskMonitor::DeviceAdded, this, &DownloadWidget::onDeviceAdded, Qt::UniqueConnection);
    connect(mMonitor, &UDiskMonitor::DeviceRemoved, this, &DownloadWidget::onDeviceRemoved, Qt::UniqueConnection);
    mController->start();
    refreshModel();
}

void DownloadWidget::showCard()
{
    // A card that is out is not named: the serial kept for its return is
    // the batch's, not the computer's.
    const Card card = mController->card();
    mCardBox->setSerialNumber(card.isNull() ? QString() : card.serialNumber());
    mCardBox->showCard(card.root());
}

QString DownloadWidget::cardNotice() const
{
    return mCardNotice->isVisibleTo(this) ? mCardNotice->text() : QString();
}

void DownloadWidget::showCardNotice()
{
    const QString text = BatchTexts::cardNotice(*mController);
    mCardNotice->setText(text);
    mCardNotice->setVisible(!text.isEmpty());
    focusRetryIfCardBack();
}

void DownloadWidget::focusRetryIfCardBack()
{
    if (mController->cardState() == UpgradeController::CardState::Returned && mRetry->isVisible()
        && mRetry->isEnabled())
        mRetry->setFocus(Qt::OtherFocusReason);
}

void DownloadWidget::showRow(int row)
{
    if (row < 0 || row >= mRowWidgets.size() || row >= batch().size())
        return;
    const DownloadBatch::Row &r = batch().row(row);
    StateCell *cell = mRowWidgets.at(row).state;
    cell->display(r.state, r.progress);
    cell->setReason(r.reason);
    if (mModel->value(row, MyTableModel::DescriptionKey).toString() != r.reason)
        mModel->setValue(row, MyTableModel::DescriptionKey, r.reason);
    mAnnouncer->say(row, DownloadBatch::stateText(r.state), DownloadBatch::showsBar(r.state) ? r.progress : -1);
}

void DownloadWidget::refreshModel()
{
    for (int i = 0; i < batch().size(); ++i)
        showRow(i);
    showStatistics();
}

void DownloadWidget::showStatistics()
{
    mStatistics->setText(
        QStringLiteral("<span style=\"font-family:Helvetica;font-size:22px;color:%3;\">%1</span>"
                       "<span style=\"font-family:Helvetica;font-size:16px;color:#000000;\">/%2</span>")
            .arg(batch().doneCount())
            .arg(batch().size())
            .arg(StatusColours::done().name()));
}

void DownloadWidget::onTick()
{
    for (int i = 0; i < mRowWidgets.size(); ++i)
        mRowWidgets.at(i).state->setSpeed(TransferRate::speedText(mController->rowSpeed(i)));
    const QString text = BatchTexts::rate(*mController);
    mRate->setText(text);
    mRate->setVisible(!text.isEmpty());
}

void DownloadWidget::onBatchStarted()
{
    mPrompts->drop();
    mRetry->hide();
    mRetry->setEnabled(false);
    mTick.start();
}

void DownloadWidget::onBatchEnded(bool summary)
{
    mTick.stop();
    for (const RowWidgets &widgets : qAsConst(mRowWidgets))
        widgets.state->setSpeed(QString());
    mRate->hide();
    mRate->clear();
    showStatistics();
    const bool failed = batch().hasFailed();
    mRetry->setVisible(failed);
    mRetry->setEnabled(failed);
    showCardNotice();
    if (!summary)
        return;
    mPrompts->batchEnded();
}

void DownloadWidget::onTokenRejected()
{
    const QPointer<DownloadWidget> self(this);
    const auto answer = ask(Code().getMessageByCode(Code::CODE_ERROR_TOKEN), QMessageBox::Ok);
    if (self)
        mController->answerTokenRejected(answer == QMessageBox::Ok);
}

void DownloadWidget::onProgramUpdateReady(const QString &file, const QString &version)
{
    // Nothing of this program is installed without the mechanic's yes.
    const QPointer<DownloadWidget> self(this);
    const auto answer = ask(tr("Install version %1 of Ostrel now?\nYour system's software installer opens the "
                               "downloaded file %2 and asks for your password.")
                                .arg(version, file),
                            QMessageBox::Ok | QMessageBox::Cancel);
    if (self)
        mController->answerProgramUpdate(answer == QMessageBox::Ok);
}

void DownloadWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    mPrompts->pageShown();
}

QMessageBox::StandardButton DownloadWidget::ask(const QString &text, QMessageBox::StandardButtons buttons)
{
    return mPrompts->ask(text, buttons);
}

void DownloadWidget::notify(const QString &text)
{
    if (text.isEmpty())
        return;
    emit notified(text);
    if (!isVisible() || !mPrompts->windowActive())
        return;
    Toast::instance(window())->setMessageVDuration(text, MessageTime);
}

void DownloadWidget::onBack()
{
    qCDebug(lcProgress) << "onBack...";
    if (!batch().isOver()) {
        const QPointer<DownloadWidget> self(this);
        const auto answer = ask(tr("Some software is downloading or installing. Are you sure you want to quit?"),
                                QMessageBox::Ok | QMessageBox::Cancel);
        if (!self || answer != QMessageBox::Ok)
            return;
    }
    AppSettings::setDownloading(false);
    disconnect(mMonitor, nullptr, this, nullptr);
    mController->cutOff();
    mPrompts->drop();

    auto *container = qobject_cast<QStackedWidget *>(parentWidget());
    if (!container || container->count() == 0)
        return;
    QWidget *first = container->widget(0);
    container->setCurrentWidget(first);
    if (first->objectName() == QLatin1String("SoftwareInfoWidget")) {
        if (auto *list = qobject_cast<SoftwareInfoWidget *>(first))
            list->refreshAfterUpgrade();
    }
}

void DownloadWidget::onRetry()
{
    if (AppSettings::isUninstalling()) {
        qCDebug(lcProgress) << "onUpgrade : isUninstalling...";
        ask(tr("Uninstalling softwares, please wait a moment!"), QMessageBox::Ok);
        return;
    }
    if (isRunning() || !batch().hasFailed())
        return;
    if (card().isNull()) {
        // Installs would only fail again: the card comes first.
        ask(tr("No U disk was found. Please check and try again."), QMessageBox::Ok);
        return;
    }
    mController->retry();
}

void DownloadWidget::onToggled(bool checked)
{
    Q_UNUSED(checked)
    // The rows of a batch are all in it.
    for (const RowWidgets &widgets : qAsConst(mRowWidgets))
        widgets.box->setChecked(true);
}

void DownloadWidget::onClickedTableView(QModelIndex index)
{
    // Rows cannot be taken out of a batch.
    Q_UNUSED(index)
}

void DownloadWidget::onDeviceAdded(QString uDiskName)
{
    qCDebug(lcProgress) << "onDeviceAdded uDiskName: " << uDiskName;
    const QString serial = CardHelpers::ReadSerialNumber(uDiskName);
    if (!mController->cardInserted(Card(uDiskName, serial)))
        return;
    showCard();
    notify(tr("U Disk Inserted!"));
}

void DownloadWidget::onDeviceRemoved(QString uDiskName)
{
    qCDebug(lcProgress) << "onDeviceRemoved uDiskName: " << uDiskName;
    if (card().isNull() || uDiskName != card().root()) {
        mController->cardRemoved(uDiskName); // a card that stood in for ours may go
        return;
    }
    notify(tr("U disk has been pulled out!"));
    mController->cardRemoved(uDiskName);
    showCard();
}
