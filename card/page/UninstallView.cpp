#include "UninstallView.h"

#include "CardHelpers.h"
#include "CardPrompt.h"
#include "CheckBoxDelegate.h"
#include "ElidedLabel.h"
#include "FXHeader.h"
#include "FXTableView.h"
#include "LoadingDialog.h"
#include "MessageBoxDialog.h"
#include "Pictures.h"
#include "PlainToolTip.h"
#include "ProgressBarDelegate.h"
#include "QCircularProgressBar.h"
#include "RemovableDisk.h"
#include "SizeDelegate.h"
#include "StatusColours.h"
#include "Toast.h"
#include "UninstallController.h"
#include "UninstallLog.h"
#include "UninstallModel.h"
#include "VersionDelegate.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

const char *const UninstallView::PageId = "UNISTALL";

namespace {
constexpr int MessageTime = 3000;
constexpr int ScanIndicatorLimit = 30000;

QString labelStyle(const char *color, int pixelSize, bool bold = false)
{
    return QStringLiteral("QLabel{background:transparent;font-family:Helvetica;font-size:%1px;color:%2;%3}")
        .arg(pixelSize)
        .arg(QLatin1String(color))
        .arg(bold ? QStringLiteral("font-weight:bold;") : QString());
}
} // namespace

UninstallView::UninstallView(QWidget *parent)
    : QWidget(parent)
    , mModel(new UninstallModel(this))
    , mController(new UninstallController(mModel, this))
{
    buildUi();
    connectController();
}

UninstallView::~UninstallView()
{
    // Its workers stop before the widgets they report to go.
    delete mController;
    mController = nullptr;
    if (mDisk)
        qApp->removeNativeEventFilter(mDisk);
    delete mLoading;
}

bool UninstallView::isBusy() const
{
    return mController->isBusy();
}

bool UninstallView::isScanning() const
{
    return mController->state() == UninstallController::State::Scanning;
}

bool UninstallView::isDirty() const
{
    return mController->isDirty();
}

bool UninstallView::isAskingForCard() const
{
    return mTableOrPrompt->currentWidget() == mPrompt;
}

QColor UninstallView::UsageColor(float percent)
{
    if (percent > 90.0f)
        return QColor(QStringLiteral("#FF0000"));
    if (percent > 80.0f)
        return QColor(QStringLiteral("#FFC519"));
    return QColor(QStringLiteral("#2256cf"));
}

void UninstallView::buildUi()
{
    setStyleSheet(QStringLiteral("UninstallView{background-color:#FFFFFF;}"));
    setAttribute(Qt::WA_StyledBackground, true);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("cardPanel"));
    panel->setStyleSheet(
        QStringLiteral("#cardPanel{background-color:#F7F8FA;border:1px solid #E6E6E6;border-radius:4px;}"));
    panel->setFixedHeight(130);

    auto *picture = new QLabel(panel);
    picture->setPixmap(Pictures::load(QStringLiteral(":/1200x800/Resources/images/1200x800/sd_card.png")));
    picture->setFixedSize(56, 72);
    picture->setStyleSheet(QStringLiteral("background:transparent;"));

    mSerialLabel = new QLabel(uninstallText("No serial number"), panel);
    mSerialLabel->setObjectName(QStringLiteral("serialLabel"));
    mSerialLabel->setStyleSheet(labelStyle("#000000", 20, true));
    mDriveLabel = new ElidedLabel(panel);
    mDriveLabel->setObjectName(QStringLiteral("driveLabel"));
    mDriveLabel->setStyleSheet(labelStyle("#666666", 15));
    mUsedLabel = new QLabel(panel);
    mUsedLabel->setObjectName(QStringLiteral("usedLabel"));
    mUsedLabel->setStyleSheet(labelStyle("#666666", 15));
    // The card's serial and volume label are whatever the card says.
    mSerialLabel->setTextFormat(Qt::PlainText);
    mUsedLabel->setTextFormat(Qt::PlainText);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addStretch();
    texts->addWidget(mSerialLabel);
    texts->addWidget(mDriveLabel);
    texts->addWidget(mUsedLabel);
    texts->addStretch();

    mUsageBar = new QCircularProgressBar(QCircularProgressBar::Ring, 0, panel);
    mUsageBar->setObjectName(QStringLiteral("usageBar"));
    mUsageBar->setFixedSize(96, 96);
    mUsageBar->setInnerColor(QColor(0xF7, 0xF8, 0xFA));
    mUsageBar->setTextColor(Qt::black);
    mUsageBar->setProgressColor(UsageColor(0));
    mUsageBar->setAccessibleName(uninstallText("No SD card"));

    mCounterLabel = new QLabel(panel);
    mCounterLabel->setObjectName(QStringLiteral("counterLabel"));
    mCounterLabel->setStyleSheet(QStringLiteral("QLabel{background:transparent;font-family:Helvetica;}"));
    mCounterLabel->setTextFormat(Qt::RichText);
    mCounterLabel->setMinimumWidth(90);
    mCounterLabel->setAlignment(Qt::AlignCenter);

    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(24, 10, 24, 10);
    panelLayout->setSpacing(20);
    panelLayout->addWidget(picture);
    panelLayout->addLayout(texts, 1);
    panelLayout->addWidget(mCounterLabel);
    panelLayout->addWidget(mUsageBar);

    mTable = new FXTableView(this);
    mTable->setObjectName(QStringLiteral("vehicleTable"));
    mTable->setAccessibleName(uninstallText("Uninstall"));
    mHeader = new FXHeader(Qt::Horizontal, mTable);
    mHeader->setCheckBoxText(uninstallText("Name"));
    mHeader->setFixedHeight(44);
    mHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mTable->setHorizontalHeader(mHeader);
    mHeader->setVisible(true);
    mTable->verticalHeader()->hide();
    mTable->setModel(mModel);
    mTable->setStyleSheet(QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;"
                                         "selection-background-color:#EAF0FB;}"));
    mTable->setItemDelegateForColumn(UninstallModel::NameColumn, new CheckBoxDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::VersionColumn, new VersionDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::SizeColumn, new SizeDelegate(mTable));
    mTable->setItemDelegateForColumn(UninstallModel::StatusColumn, new ProgressBarDelegate(mTable));
    mTable->setStateColor(FXTableView::Selected, QColor(0xEA, 0xF0, 0xFB));
    mHeader->setSectionResizeMode(QHeaderView::Fixed);
    mHeader->resizeSection(UninstallModel::NameColumn, 360);
    mHeader->resizeSection(UninstallModel::VersionColumn, 190);
    mHeader->resizeSection(UninstallModel::SizeColumn, 150);
    mHeader->setStretchLastSection(true);

    mUninstallBtn = new QPushButton(uninstallText("Uninstall"), this);
    mUninstallBtn->setObjectName(QStringLiteral("btnUninstall"));
    mUninstallBtn->setFixedSize(200, 44);
    mUninstallBtn->setCursor(Qt::PointingHandCursor);
    mUninstallBtn->setStyleSheet(
        QStringLiteral("QPushButton{background-color:#213B78;color:#FFFFFF;font-family:Helvetica;font-size:18px;"
                       "font-weight:bold;border:none;border-radius:4px;}"
                       "QPushButton:disabled{background-color:#A6B0C8;}"));
    mUninstallBtn->setEnabled(false);

    // Shown while a batch runs: the vehicle under way is finished, the
    // others stay on the card.
    mStopBtn = new QPushButton(uninstallText("Stop"), this);
    mStopBtn->setObjectName(QStringLiteral("btnStop"));
    mStopBtn->setFixedSize(200, 44);
    mStopBtn->setCursor(Qt::PointingHandCursor);
    mStopBtn->setStyleSheet(
        QStringLiteral("QPushButton{background-color:#FFFFFF;color:#213B78;font-family:Helvetica;font-size:18px;"
                       "font-weight:bold;border:1px solid #213B78;border-radius:4px;}"
                       "QPushButton:disabled{color:#A6B0C8;border-color:#A6B0C8;}"));
    mStopBtn->hide();

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addStretch();
    buttons->addWidget(mStopBtn);
    buttons->addWidget(mUninstallBtn);

    mPrompt = new CardPrompt(QStringLiteral(":/1200x800/Resources/images/1200x800/insert_card.png"),
                             uninstallText("Insert the scanner's SD card"), this);
    mTableOrPrompt = new QStackedWidget(this);
    mTableOrPrompt->addWidget(mTable);
    mTableOrPrompt->addWidget(mPrompt);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 20, 0, 20);
    layout->setSpacing(16);
    layout->addWidget(panel);
    layout->addWidget(mTableOrPrompt, 1);
    layout->addLayout(buttons);

    connect(this, &UninstallView::SignalUpdateData, mModel, &UninstallModel::OnUpdateData);
    connect(mModel, &UninstallModel::SignalCheckChanged, this, &UninstallView::OnItemCheckChanged);
    connect(mTable, &QAbstractItemView::clicked, this, &UninstallView::OnListItemClicked);
    // The keyboard: Space ticks the current row as a press on it does,
    // Return asks to uninstall the ticked rows as the button does.
    connect(mTable, &FXTableView::toggleRequested, this, [this](int row) {
        const QModelIndex name = mModel->index(row, UninstallModel::NameColumn);
        const bool checked = name.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        mModel->setData(name, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    });
    connect(mTable, &FXTableView::confirmRequested, this, [this] {
        if (mUninstallBtn->isEnabled())
            OnBtnUninstallClicked();
    });
    connect(mHeader, &FXHeader::SignalCheckChange, this, &UninstallView::OnCheckChanged);
    connect(mUninstallBtn, &QPushButton::clicked, this, &UninstallView::OnBtnUninstallClicked);
    connect(mStopBtn, &QPushButton::clicked, this, [this] {
        mStopBtn->setEnabled(false);
        mController->stopAfterRunningJob();
    });
}

void UninstallView::connectController()
{
    UninstallController *c = mController;
    c->setConfirmation([this](int count, quint64 bytes) { return confirmBatch(count, bytes); });
    connect(c, &UninstallController::stateChanged, this, [this](UninstallController::State state) {
        const bool batch = state == UninstallController::State::Uninstalling;
        mStopBtn->setVisible(batch);
        mStopBtn->setEnabled(batch && !mController->isStopRequested());
    });
    connect(c->watcher(), &QFileSystemWatcher::directoryChanged, this, &UninstallView::DirChanged);
    connect(c, &UninstallController::rowsChanged, this, &UninstallView::SignalUpdateData);
    connect(c, &UninstallController::jobReported, this, &UninstallView::SignalNotificationRemoveDiskFreeSizeChange);
    connect(c, &UninstallController::batchPaused, this, [this] { emit SignalStop(0); });
    connect(c, &UninstallController::batchResumed, this, &UninstallView::SignalSuspend);
    connect(c, &UninstallController::batchStopped, this, [this] { emit SignalStop(1); });
    connect(c, &UninstallController::notice, this, [this](UninstallController::Notice n) { showNotice(int(n)); });
    connect(c, &UninstallController::cardSelected, this, [this](bool otherCard) {
        if (otherCard)
            mCounterLabel->clear(); // the last batch was another card's
        mTableOrPrompt->setCurrentWidget(mController->card().isNull() ? static_cast<QWidget *>(mPrompt) : mTable);
        showTicks(); // rows ticked on a card that went have gone with it
        OnUpdateSDFreeSize();
    });
    connect(c, &UninstallController::scanStarted, this, [this] {
        // The rows are about to be replaced; ticks from before do not count.
        mUninstallBtn->setEnabled(false);
        if (mLoading)
            mLoading->showAgain(ScanIndicatorLimit);
        else
            mLoading = LoadingDialog::showLoading(this, ScanIndicatorLimit);
        mHeader->setEnabled(false);
    });
    connect(c, &UninstallController::scanFinished, this, &UninstallView::onScanFinished);
    connect(c, &UninstallController::batchStarted, this, [this] {
        mCounterLabel->clear();
        mUninstallBtn->setEnabled(false);
        mHeader->setEnabled(false);
    });
    connect(c, &UninstallController::jobStarted, this, [this] {
        mUninstallBtn->setEnabled(false);
        mHeader->setEnabled(false);
    });
    connect(c, &UninstallController::jobFinished, this, &UninstallView::onJobFinished);
}

void UninstallView::toast(const QString &text)
{
    Toast::instance(this)->setMessageVDuration(text, MessageTime);
}

void UninstallView::showNotice(int notice)
{
    switch (UninstallController::Notice(notice)) {
    case UninstallController::Notice::NoCard:
        if (isVisible() && isActiveWindow())
            toast(uninstallText("Please insert the SD card!"));
        break;
    case UninstallController::Notice::NoVehicles: toast(uninstallText("No vehicles!")); break;
    case UninstallController::Notice::MutexHeld: toast(uninstallText("Updating, Please waitting...")); break;
    case UninstallController::Notice::Downloading:
        MessageBoxDialog::showMessageBox(this, uninstallText("Tips"),
                                         uninstallText("Vehicle is being upgraded, do not unload!"), QMessageBox::Ok);
        break;
    case UninstallController::Notice::Succeeded: toast(uninstallText("Uninstall vehicle successfully")); break;
    case UninstallController::Notice::Failed: toast(uninstallText("Uninstall vehicle failed!")); break;
    case UninstallController::Notice::Stopped:
        toast(uninstallText("Stopped. %1 of %2 vehicle software packages were uninstalled; the others stay on the "
                            "SD card.")
                  .arg(mController->doneCount())
                  .arg(mController->jobCount()));
        break;
    }
}

bool UninstallView::confirmBatch(int count, quint64 bytes)
{
    const QString text =
        QCoreApplication::translate(
            "Uninstall", "Uninstall %n vehicle software package(s) from the SD card? This frees %1.", nullptr, count)
            .arg(UninstallModel::SizeText(bytes));
    return MessageBoxDialog::showMessageBox(this, uninstallText("Tips"), text, QMessageBox::Ok | QMessageBox::Cancel)
           == QMessageBox::Ok;
}

void UninstallView::OnUpdateView(const QString &id)
{
    if (id != QLatin1String(PageId))
        return;
    if (mDisk) {
        mController->pageShown();
        return;
    }
    mDisk = new RemovableDisk(this);
    mDisk->hide(); // a monitor, not a visible part of the page
    mController->setDisk(mDisk);
    qApp->installNativeEventFilter(mDisk);
    connect(mDisk, &RemovableDisk::SignalRemoveDiskChanged, this, &UninstallView::OnSDChanged);
    connect(this, &UninstallView::SignalNotificationRemoveDiskFreeSizeChange, mDisk, &RemovableDisk::OnRemoveDiskSize,
            Qt::DirectConnection);
    connect(mDisk, &RemovableDisk::SignalRemoveDiskFreeSizeChanged, this, &UninstallView::OnUpdateSDFreeSize);
    mDisk->RefreshDisks();
}

void UninstallView::OnSDChanged()
{
    mController->cardChanged();
}

void UninstallView::OnCheckChanged(bool checked)
{
    if (isBusy())
        return;
    for (int row = 0; row < mModel->rowCount(); ++row) {
        const VehicleData &record = mModel->Datas().at(row);
        if (record.mState.value(0) == QLatin1String(UninstallModel::StateDone))
            mModel->SetChecked(row, false);
        else
            mModel->SetChecked(row, checked);
    }
    // With no row it can tick, the box does not stay ticked on its own.
    showTicks();
    emit SignalUpdateData(false);
}

void UninstallView::OnItemCheckChanged(bool checked)
{
    Q_UNUSED(checked)
    if (isBusy())
        return;
    showTicks();
}

void UninstallView::OnListItemClicked()
{
    if (isBusy())
        return;
    showTicks();
}

void UninstallView::showTicks()
{
    // Shown, not set: the rows keep their ticks whatever the box shows.
    int tickable = 0;
    int tickableTicked = 0;
    int ticked = 0;
    for (const VehicleData &record : mModel->Datas()) {
        ticked += record.mChecked ? 1 : 0;
        if (record.mState.value(0) != QLatin1String(UninstallModel::StateDone)) {
            ++tickable;
            tickableTicked += record.mChecked ? 1 : 0;
        }
    }
    mHeader->setCheckState(FXHeader::stateOf(tickable, tickableTicked, ticked));
    mUninstallBtn->setEnabled(!isBusy() && ticked > 0);
}

void UninstallView::OnBtnUninstallClicked()
{
    mController->startBatch();
}

void UninstallView::OnUninstallStarted(const QString &id)
{
    mController->onJobStarted(id);
}

void UninstallView::OnUninstallFinished(const QString &id, bool ok)
{
    mController->onJobFinished(id, ok);
}

void UninstallView::OnUninstallProgress(const QString &id, float percentage)
{
    mController->onJobProgress(id, percentage <= 0.0f ? 0u : uint(percentage));
}

void UninstallView::OnScanVehicleStarted()
{
    mController->onScanStarted();
}

void UninstallView::OnScanVehicleProgress()
{
    mController->onScanProgress();
}

void UninstallView::OnScanVehicleFinished()
{
    mController->onScanFinished();
}

void UninstallView::onScanFinished(int rows)
{
    // Fresh rows are unticked; rows still there after a batch keep theirs.
    showTicks();
    mHeader->setEnabled(true);
    if (mLoading)
        mLoading->onTimeout();
    if (rows > 0)
        mTable->selectRow(0);
}

void UninstallView::onJobFinished(int row, bool ok, bool batchOver)
{
    if (row < 0)
        return;
    mTable->selectRow(row);
    mHeader->setEnabled(true);
    if (ok)
        mCounterLabel->setText(QStringLiteral("<span style=\"font-size:20pt;color:%3;\">%1</span>"
                                              "<span style=\"font-size:13pt;color:#000000;\">/%2</span>")
                                   .arg(mController->doneCount())
                                   .arg(mController->jobCount())
                                   .arg(StatusColours::done().name()));
    if (!batchOver)
        return;
    // A failed row of this batch stays ticked for another try.
    showTicks();
}

bool UninstallView::OnExit()
{
    switch (mController->state()) {
    case UninstallController::State::Idle: return true;
    case UninstallController::State::Scanning:
        // The application quits when the scan reports its end.
        mController->quitAfterScan();
        return false;
    case UninstallController::State::Uninstalling: {
        mController->pauseBatch(); // while the user decides
        const QMessageBox::StandardButton answer = MessageBoxDialog::showMessageBox(
            this, uninstallText("Tips"),
            uninstallText("The model is being unloaded. Closing may result in the car not working properly. "
                          "Is it turned off?"),
            QMessageBox::Ok | QMessageBox::No);
        if (answer != QMessageBox::Ok) {
            mController->resumeBatch();
            return false;
        }
        break;
    }
    case UninstallController::State::Stopping: break;
    }
    mController->stopBatchForExit();
    return true;
}

void UninstallView::OnUpdateSDFreeSize()
{
    if (!mDisk)
        return;
    const RemovableDiskInfo disk = mDisk->GetCurrentDisk();
    if (disk.mRootPath.isEmpty()) {
        mSerialLabel->clear();
        mUsedLabel->clear();
        mDriveLabel->setText(uninstallText("Internal Storage:"));
        mDriveLabel->setToolTip(QString());
        mUsageBar->setValue(0);
        mUsageBar->setProgressColor(UsageColor(0));
        mUsageBar->setAccessibleName(uninstallText("No SD card"));
        return;
    }
    QString drive = disk.mRootPath;
    if (drive.endsWith(QLatin1Char('/')) && drive.size() > 1)
        drive.chop(1);
    // The card by the name the mechanic knows it by; where it is mounted is
    // for the tooltip.
    QString name = CardHelpers::VolumeLabel(disk.mRootPath);
    if (name.isEmpty())
        name = mDisk->GetSerialNumber();
    mSerialLabel->setText(mDisk->GetSerialNumber());
    mDriveLabel->setText(uninstallText("Internal Storage: ") + name);
    mDriveLabel->setToolTip(PlainToolTip::of(drive));
    mUsedLabel->setText(disk.mUsedText + QLatin1Char('/') + disk.mTotalText);
    const float usage = disk.mTotalBytes == 0 ? 0.0f : float(disk.mUsedBytes) / float(disk.mTotalBytes) * 100.0f;
    mUsageBar->setValue(qreal(usage));
    mUsageBar->setProgressColor(UsageColor(usage));
    // The ring is a picture; this is what it says.
    mUsageBar->setAccessibleName(uninstallText("Used %1 of %2").arg(disk.mUsedText, disk.mTotalText));
}

void UninstallView::DirChanged(const QString &path)
{
    mController->directoryChanged(path);
}
