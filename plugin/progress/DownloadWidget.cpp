#include "DownloadWidget.h"

#include "AppSettings.h"
#include "CardBox.h"
#include "CardHelpers.h"
#include "DesktopNotifier.h"
#include "DownloadFile.h"
#include "FXTableView.h"
#include "JobDispatcher.h"
#include "MessageBoxDialog.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyTableModel.h"
#include "PageContainer.h"
#include "Platform.h"
#include "SoftwareTable.h"
#include "ProgressLog.h"
#include "SoftwareInfoWidget.h"
#include "SoftwareRows.h"
#include "StateCell.h"
#include "Toast.h"
#include "UDiskMonitor.h"

#include <Sornet/Code.h>
#include <Sornet/GetDownloadURLParam.h>

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int TickInterval = 1000;
constexpr int SummaryDelay = 300;
constexpr int LeftoverWait = 30000; // ms a cancelled install may take to let go

QString buttonStyle(bool filled)
{
    return filled ? QStringLiteral("QPushButton{background-color:#213B78;color:#FFFFFF;font-family:Helvetica;"
                                   "font-size:18px;font-weight:bold;border:none;border-radius:4px;}"
                                   "QPushButton:disabled{background-color:#A6B0C8;}")
                  : QStringLiteral("QPushButton{background-color:#FFFFFF;color:#213B78;font-family:Helvetica;"
                                   "font-size:18px;font-weight:bold;border:1px solid #213B78;border-radius:4px;}");
}
} // namespace

DownloadWidget::DownloadWidget(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DownloadWidget"));
    buildUi();
    mJobs = new JobDispatcher(this);
    mMonitor = new UDiskMonitor(this);
    mMonitor->hide();
    qApp->installNativeEventFilter(mMonitor);
    mTick.setInterval(TickInterval);
    connect(&mTick, &QTimer::timeout, this, &DownloadWidget::onTick);
    mClock.start();
}

DownloadWidget::~DownloadWidget()
{
    qApp->removeNativeEventFilter(mMonitor);
    // Partial downloads stay for a later resume; installs are cancelled and
    // leave the card as it was.
    stopEverything();
    if (mRunning)
        AppSettings::setDownloading(false);
}

DownloadWidget *DownloadWidget::startIn(QStackedWidget *container, const Card &card,
                                        const QList<SoftwareDataWrap> &selection, const QList<VehicleData> &catalogue)
{
    auto *page = container->findChild<DownloadWidget *>(QStringLiteral("DownloadWidget"), Qt::FindDirectChildrenOnly);
    if (!page) {
        page = new DownloadWidget(container);
        container->addWidget(page);
    }
    page->reset();
    page->setCard(card);
    page->setSelection(selection);
    page->setCatalogue(catalogue);
    page->buildTable();
    container->setCurrentWidget(page);
    page->start();
    return page;
}

void DownloadWidget::buildUi()
{
    QLabel *title = PageContainer::dressPage(this, tr("Download"));

    mCardBox = new CardBox(this);

    const SoftwareTable table(this, {tr("Name"), tr("Current Version"), tr("Updatable Versions"), tr("Size"), tr("State")},
                              {260, 130, 160, 100});
    mModel = table.model;
    mTable = table.view;
    mHeader = table.header;
    // Every row of a batch takes part: the box is ticked and stays so.
    mHeader->setChecked(true);
    mHeader->setAttribute(Qt::WA_TransparentForMouseEvents);
    mTable->setStyleSheet(QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;color:#333333;}"));
    // A progress list: nothing to select.
    mTable->setSelectionMode(QAbstractItemView::NoSelection);
    connect(mHeader, &MyHeader::toggled, this, &DownloadWidget::onToggled);
    connect(mTable, &QAbstractItemView::clicked, this, &DownloadWidget::onClickedTableView);

    mStatistics = new QLabel(this);
    mStatistics->setObjectName(QStringLiteral("statistics"));
    mStatistics->setTextFormat(Qt::RichText);
    mRate = new QLabel(this);
    mRate->setObjectName(QStringLiteral("transferRate"));
    mRate->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#666666;}"));
    mRate->hide();

    mBack = new QPushButton(tr("Return"), this);
    mBack->setObjectName(QStringLiteral("back"));
    mBack->setFixedSize(150, 40);
    mBack->setCursor(Qt::PointingHandCursor);
    mBack->setStyleSheet(buttonStyle(false));
    connect(mBack, &QPushButton::clicked, this, &DownloadWidget::onBack);
    mRetry = new QPushButton(tr("Retry"), this);
    mRetry->setObjectName(QStringLiteral("retry"));
    mRetry->setFixedSize(150, 40);
    mRetry->setCursor(Qt::PointingHandCursor);
    mRetry->setStyleSheet(buttonStyle(true));
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
    layout->addWidget(mTable, 1);
    layout->addLayout(bottom);
}

void DownloadWidget::reset()
{
    stopEverything();
    if (mRunning)
        endBatch(false);
    mPendingSummary = false;
    mTokenDialog = false;
    mLastNotice = 0;
    mBatch.clear();
    mSelection.clear();
    mRecords.clear();
    mCatalogue.clear();
    mPaths.clear();
    mTransfers.clear();
    mRowRates.clear();
    mJobs->clearChains();
    mRowWidgets.clear();
    mModel->clear(); // the view deletes the widgets over the cells
    mRetry->hide();
    showStatistics();
}

void DownloadWidget::setCard(const Card &card)
{
    mCard = card;
    mCardBox->setSerialNumber(card.serialNumber());
    mCardBox->showCard(card.root());
}

void DownloadWidget::setSelection(const QList<SoftwareDataWrap> &selection)
{
    mSelection = selection;
    mRecords.clear();
    QList<long> ids;
    QList<long> patches;
    for (const SoftwareDataWrap &record : selection) {
        mRecords << record;
        ids << long(record.getId());
        long patch = 0;
        if (!record.getPatch_version().isEmpty()) {
            const SoftwareDataWrap &first = record.getPatch_version().first();
            patch = long(first.getId());
            mRecords << first;
            mJobs->addChain(long(record.getId()), patch);
        }
        patches << patch;
    }
    mBatch.setRows(ids, patches);
}

void DownloadWidget::buildTable()
{
    mRowWidgets.clear();
    mModel->clear();
    for (int i = 0; i < mSelection.size(); ++i) {
        const SoftwareDataWrap &record = mSelection.at(i);
        const SoftwareRows::Cells cells = SoftwareRows::cellsOf(record);
        mModel->appendRow({{NameColumn, cells.name},
                           {CurrentColumn, cells.current},
                           {VersionColumn, cells.version},
                           {SizeColumn, cells.size},
                           {StateColumn, QString()}}); // the cell's widget tells it
        RowWidgets widgets;
        widgets.box = new MyCheckBox(cells.name);
        widgets.box->setChecked(true);
        widgets.box->setToolTip(cells.name);
        // Ticked for good, yet not greyed out: the row is part of the batch.
        widgets.box->setAttribute(Qt::WA_TransparentForMouseEvents);
        widgets.box->setFocusPolicy(Qt::NoFocus);
        widgets.versions = new MyComboBox;
        widgets.versions->addItem(cells.version);
        widgets.versions->setEnabled(false); // chosen on the list, fixed here
        connect(widgets.versions, &QComboBox::currentTextChanged, this, &DownloadWidget::onVersionChanged);
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

void DownloadWidget::start()
{
    qCDebug(lcProgress) << "start:" << mBatch.size() << "rows";
    connect(mMonitor, &UDiskMonitor::DeviceAdded, this, &DownloadWidget::onDeviceAdded, Qt::UniqueConnection);
    connect(mMonitor, &UDiskMonitor::DeviceRemoved, this, &DownloadWidget::onDeviceRemoved, Qt::UniqueConnection);
    mToken = AppSettings::token();
    mUserId = AppSettings::userId();
    settleLeftovers();
    mBatch.startAll();
    beginBatch();
    for (int i = 0; i < mBatch.size(); ++i) {
        showRow(i);
        startUrlQuery(mBatch.row(i).id);
    }
    showStatistics();
    checkEnd(); // an empty selection ends at once
}

void DownloadWidget::startUrlQuery(long id)
{
    GetDownloadURLParam param;
    param.setId(id);
    param.setUser_id(mUserId);
    param.setToken(mToken);
    param.setSerial_number(mCard.serialNumber());
    mJobs->startUrlQuery(param);
}

void DownloadWidget::beginBatch()
{
    mRunning = true;
    mPendingSummary = false;
    AppSettings::setDownloading(true);
    // A computer that falls asleep half-way leaves the mechanic a card
    // that is not ready.
    mSleep.hold(tr("Updating vehicle software"));
    mRetry->hide();
    mRetry->setEnabled(false);
    mRowRates.clear();
    mTick.start();
}

void DownloadWidget::endBatch(bool summary)
{
    mRunning = false;
    mTick.stop();
    AppSettings::setDownloading(false);
    mSleep.release();
    for (const RowWidgets &widgets : qAsConst(mRowWidgets))
        widgets.state->setSpeed(QString());
    mRowRates.clear();
    showStatistics();
    const bool failed = mBatch.hasFailed();
    mRetry->setVisible(failed);
    mRetry->setEnabled(failed);
    if (summary)
        showSummary();
}

void DownloadWidget::checkEnd()
{
    if (mRunning && mBatch.isOver()) {
        qCDebug(lcProgress) << "batch over: done" << mBatch.doneCount() << "failed" << mBatch.failedCount();
        endBatch(true);
    }
}

void DownloadWidget::showSummary()
{
    mPendingSummary = true;
    mSummaryNotified = false;
    // A moment later: the last row is seen turning, before a box covers it.
    QTimer::singleShot(SummaryDelay, this, &DownloadWidget::trySummary);
}

void DownloadWidget::trySummary()
{
    if (!mPendingSummary || mRunning || mBoxesOpen > 0)
        return; // after the question that is open now
    if (isVisible() && windowActive()) {
        showPendingSummary();
        return;
    }
    // Unseen behind another window: the desktop tells it now, the box
    // follows when the window comes back.
    if (mSummaryNotified)
        return;
    mSummaryNotified = true;
    if (Platform *platform = Platform::instance())
        platform->notifier()->notify(tr("Update"), summaryText());
}

QString DownloadWidget::summaryText() const
{
    return mBatch.hasFailed() ? tr("Failed to download/install some software. Please try again.")
                              : tr("All software downloads are successfully installed!");
}

void DownloadWidget::showPendingSummary()
{
    mPendingSummary = false;
    if (!mBatch.hasFailed()) {
        ask(summaryText(), QMessageBox::Ok);
        return;
    }
    // Cancel leaves it there: a failure that stays would otherwise bring
    // the same box back at once, for ever.
    const QPointer<DownloadWidget> self(this);
    const auto answer = ask(summaryText(), QMessageBox::Ok | QMessageBox::Cancel);
    if (self && answer == QMessageBox::Ok)
        onRetry();
}

bool DownloadWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window() && event->type() == QEvent::WindowActivate && mPendingSummary)
        QTimer::singleShot(0, this, &DownloadWidget::trySummary);
    return QWidget::eventFilter(watched, event);
}

void DownloadWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window is known once the page is in it.
    window()->removeEventFilter(this);
    if (window() != this)
        window()->installEventFilter(this);
    // Back on this page after another: an unseen summary shows now.
    if (mPendingSummary)
        QTimer::singleShot(0, this, &DownloadWidget::trySummary);
}

QMessageBox::StandardButton DownloadWidget::ask(const QString &text, QMessageBox::StandardButtons buttons)
{
    const QPointer<DownloadWidget> self(this);
    ++mBoxesOpen;
    const auto answer = MessageBoxDialog::showMessageBox(this, tr("Update"), text, buttons);
    if (!self)
        return QMessageBox::Cancel;
    --mBoxesOpen;
    // A batch that ended while the question was open has its say now.
    if (mPendingSummary && mBoxesOpen == 0)
        QTimer::singleShot(0, this, &DownloadWidget::trySummary);
    return answer;
}

void DownloadWidget::notify(const QString &text)
{
    if (text.isEmpty())
        return;
    emit notified(text);
    if (!isVisible() || !windowActive())
        return;
    Toast::instance(window())->setMessageVDuration(text, MessageTime);
}

bool DownloadWidget::windowActive() const
{
    // The page's window, or one of its own on top of it (the notification).
    for (QWidget *w = QApplication::activeWindow(); w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w == window())
            return true;
    }
    return false;
}

qint64 DownloadWidget::now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void DownloadWidget::report(long id, int state, int percent)
{
    const int row = mBatch.report(id, state, percent);
    if (row < 0)
        return;
    showRow(row);
    showStatistics();
    checkEnd();
}

void DownloadWidget::showRow(int row)
{
    if (row < 0 || row >= mRowWidgets.size() || row >= mBatch.size())
        return;
    const DownloadBatch::Row &r = mBatch.row(row);
    mRowWidgets.at(row).state->display(r.state, r.progress);
}

void DownloadWidget::refreshModel()
{
    for (int i = 0; i < mBatch.size(); ++i)
        showRow(i);
    showStatistics();
}

void DownloadWidget::showStatistics()
{
    mStatistics->setText(
        QStringLiteral("<span style=\"font-family:Helvetica;font-size:22px;color:#1AAD19;\">%1</span>"
                       "<span style=\"font-family:Helvetica;font-size:16px;color:#000000;\">/%2</span>")
            .arg(mBatch.doneCount())
            .arg(mBatch.size()));
    if (!mRunning) {
        mRate->hide();
        mRate->clear();
    }
}

void DownloadWidget::onTick()
{
    if (!mRunning)
        return;
    const qint64 t = mClock.elapsed();
    // The batch's speed is what its rows fetch now: a row that is done no
    // longer counts, so the time left is not told from a faster past.
    double total = -1;
    for (int i = 0; i < mBatch.size() && i < mRowWidgets.size(); ++i) {
        const DownloadBatch::Row &row = mBatch.row(i);
        const auto rate = mRowRates.constFind(row.id);
        const double speed = isDownloadPhase(row) && rate != mRowRates.cend() ? rate->bytesPerSecond(t) : -1;
        mRowWidgets.at(i).state->setSpeed(TransferRate::speedText(speed));
        if (speed >= 0)
            total = qMax(0.0, total) + speed;
    }
    if (total < 0) {
        mRate->hide();
        return;
    }
    QString text = TransferRate::speedText(total);
    const QString left = TransferRate::timeLeftText(bytesLeft(), total);
    if (!left.isEmpty())
        text += QStringLiteral("  \u00B7  ") + left;
    mRate->setText(text);
    mRate->show();
}

bool DownloadWidget::isDownloadPhase(const DownloadBatch::Row &row) const
{
    // A row tried again says "failed" until its new attempt reports.
    return row.state == DownloadBatch::Waiting || row.state == DownloadBatch::Downloading
           || (row.active && DownloadBatch::isFailed(row.state));
}

qint64 DownloadWidget::expectedSize(long id) const
{
    if (mPaths.contains(id))
        return 0;
    const auto transfer = mTransfers.constFind(id);
    if (transfer != mTransfers.cend() && transfer->total > 0)
        return qMax<qint64>(0, transfer->total - transfer->received);
    for (const SoftwareData &record : mRecords) {
        if (long(record.getId()) == id) {
            bool ok = false;
            const qint64 size = record.getSoft_size().trimmed().toLongLong(&ok);
            return ok && size > 0 ? size : 0;
        }
    }
    return 0;
}

qint64 DownloadWidget::bytesLeft() const
{
    qint64 left = 0;
    for (int i = 0; i < mBatch.size(); ++i) {
        const DownloadBatch::Row &row = mBatch.row(i);
        if (!row.active || !isDownloadPhase(row))
            continue;
        left += expectedSize(row.id);
        if (row.patchId)
            left += expectedSize(row.patchId);
    }
    return left;
}

void DownloadWidget::onFinished(long id, int code, int responseCode, QString url)
{
    qCDebug(lcProgress).nospace() << "onFinished: id: " << id << ", url: " << url;
    mJobs->forgetUrlQuery(id);
    forgetDownload(id);
    if (code != 200) {
        // No answer from the service: say so, not what its code -1 means
        // in an answer ("Login failed.").
        noticeOnce(code == -1 ? tr("The service cannot be reached. Please check the network and try again.")
                              : Code().getMessageByCode(code));
        report(id, DownloadBatch::DownloadFailed, 0);
        return;
    }
    if (responseCode != 1) {
        onResult(responseCode, QVariant::fromValue(qint64(id)));
        return;
    }
    if (url.isEmpty()) {
        report(id, DownloadBatch::DownloadFailed, 0);
        return;
    }
    auto *download = new DownloadFile(this);
    connect(download, &DownloadFile::downloadFinished, this, &DownloadWidget::onDownloadFinished);
    connect(download, &DownloadFile::downloadProgress, this, &DownloadWidget::onDownloadProgress);
    mDownloads.insert(id, download);
    mTransfers.remove(id);
    // An archive already here is reported at once, from inside start():
    // those bytes did not come over the line and count for no speed.
    mStartingId = id;
    download->start(id, url, mCard.serialNumber());
    mStartingId = 0;
}

void DownloadWidget::onResult(int responseCode, QVariant id)
{
    const long row = long(id.toLongLong());
    const Code codes;
    if (responseCode == Code::CODE_ERROR_TOKEN) {
        if (!mTokenDialog) {
            mTokenDialog = true;
            const QPointer<DownloadWidget> self(this);
            const auto answer = ask(codes.getMessageByCode(responseCode), QMessageBox::Ok);
            if (answer == QMessageBox::Ok) {
                QCoreApplication::exit(RestartCode);
                return;
            }
            if (!self)
                return;
            mTokenDialog = false;
        } else {
            // The one box asks for every row.
            report(row, DownloadBatch::DownloadFailed, 0);
            return;
        }
    }
    noticeOnce(codes.getMessageByCode(responseCode));
    report(row, DownloadBatch::DownloadFailed, 0);
}

void DownloadWidget::noticeOnce(const QString &text)
{
    // Every row of a batch may fail at once; one notice tells it.
    if (now() - mLastNotice < NoticeInterval)
        return;
    mLastNotice = now();
    notify(text);
}

void DownloadWidget::forgetDownload(long id)
{
    QPointer<DownloadFile> download = mDownloads.take(id);
    if (!download)
        return;
    if (download->state() != 3) {
        disconnect(download, nullptr, this, nullptr);
        download->stop();
    }
    download->deleteLater();
}

void DownloadWidget::onDownloadProgress(long id, qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal == 0)
        return;
    Transfer &transfer = mTransfers[id];
    // A new request (a restart from byte 0) counts from 0 again.
    const qint64 fresh = bytesReceived >= transfer.received ? bytesReceived - transfer.received : bytesReceived;
    transfer.received = bytesReceived;
    transfer.total = bytesTotal;
    const int row = mBatch.rowOf(id);
    if (fresh > 0 && row >= 0 && id != mStartingId)
        mRowRates[mBatch.row(row).id].add(mClock.elapsed(), fresh);
    const int percent = bytesTotal > 0 ? int(bytesReceived * 100 / bytesTotal) : 0;
    report(id, DownloadBatch::Downloading, percent);
}

void DownloadWidget::onDownloadFinished(long id, bool success, QString filePath)
{
    qCDebug(lcProgress).nospace() << "onDownloadFinished: id: " << id << ", " << success << ", " << filePath;
    if (QPointer<DownloadFile> download = mDownloads.take(id))
        download->deleteLater();
    if (!success) {
        report(id, DownloadBatch::DownloadFailed, 0);
        return;
    }
    mPaths.insert(id, filePath);
    mTransfers.remove(id);
    const int row = mBatch.rowOf(id);
    if (row < 0)
        return;
    if (mBatch.isChainBase(id)) {
        // The package is in; its patch comes next, then both are installed.
        report(id, DownloadBatch::Downloading, 100);
        startUrlQuery(mBatch.row(row).patchId);
        return;
    }
    report(id, DownloadBatch::Downloaded, 100);
    // A chain installs its package first.
    dispatchArchive(mBatch.isChainPatch(id) ? mBatch.row(row).id : id);
}

void DownloadWidget::dispatchArchive(long id)
{
    switch (mJobs->dispatch(id, mPaths.value(id), mCard, mRecords, mCatalogue)) {
    case JobDispatcher::Dispatch::Started: return;
    case JobDispatcher::Dispatch::SelfUpdate:
        // The program's own installer takes over; nothing goes onto the card.
        report(id, DownloadBatch::Done, 100);
        return;
    case JobDispatcher::Dispatch::SelfUpdateRefused:
    case JobDispatcher::Dispatch::NoCard: report(id, DownloadBatch::InstallFailed, 100); return;
    }
}

void DownloadWidget::onInstallStarted(long id)
{
    report(id, DownloadBatch::InstallStarted, 0);
}

void DownloadWidget::onInstallProgress(long id, qint64 progress, qint64 total)
{
    report(id, DownloadBatch::Installing, total > 0 ? int(progress * 100 / total) : 0);
}

void DownloadWidget::onInstallFinished(long id, bool result, QString targetFilePath)
{
    qCDebug(lcProgress).nospace() << "onInstallFinished: id: " << id << ", " << result << ", " << targetFilePath;
    mJobs->forgetInstall(id);
    mCardBox->showCard(mCard.root());
    if (mBatch.isChainBase(id)) {
        if (result) {
            dispatchArchive(mBatch.row(mBatch.rowOf(id)).patchId);
            return;
        }
        // Never a patch over a package that did not go on: both archives
        // stay, so a retry installs them without downloading again.
        report(id, DownloadBatch::InstallFailed, 100);
        return;
    }
    if (result && mBatch.isChainPatch(id)) {
        // Both are on the card: the package's archive, kept until now for
        // a retry, would only fill the disk.
        const QString base = mPaths.take(mBatch.row(mBatch.rowOf(id)).id);
        if (!base.isEmpty())
            QFile::remove(base);
    }
    report(id, result ? DownloadBatch::Done : DownloadBatch::InstallFailed, 100);
}

void DownloadWidget::stopEverything()
{
    mJobs->stopEverything(mDownloads);
    mTransfers.clear();
}

void DownloadWidget::cutOff()
{
    stopEverything();
    // What was cut off failed where it stood, so that "Retry" takes it up
    // again; the card keeps its previous versions.
    const QList<int> cut = mBatch.interrupt();
    for (int row : cut)
        showRow(row);
    if (mRunning)
        endBatch(false);
}

void DownloadWidget::settleLeftovers()
{
    // Only jobs of a stopped batch can be in the pool now; they stop at
    // their next step.
    if (!mJobs->pool()->waitForDone(LeftoverWait))
        qCDebug(lcProgress) << "cancelled installs still running";
}

void DownloadWidget::onBack()
{
    qCDebug(lcProgress) << "onBack...";
    if (!mBatch.isOver()) {
        const QPointer<DownloadWidget> self(this);
        const auto answer = ask(tr("Some software is downloading or installing. Are you sure you want to quit?"),
                                QMessageBox::Ok | QMessageBox::Cancel);
        if (!self || answer != QMessageBox::Ok)
            return;
    }
    AppSettings::setDownloading(false);
    disconnect(mMonitor, nullptr, this, nullptr);
    cutOff();
    mPendingSummary = false;

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
    if (mRunning || !mBatch.hasFailed())
        return;
    if (mCard.isNull()) {
        // Installs would only fail again: the card comes first.
        ask(tr("No U disk was found. Please check and try again."), QMessageBox::Ok);
        return;
    }
    mToken = AppSettings::token();
    mUserId = AppSettings::userId();
    settleLeftovers();
    const QList<long> ids = mBatch.retryFailed();
    beginBatch();
    for (long id : ids)
        startUrlQuery(id);
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

void DownloadWidget::onVersionChanged(QString text)
{
    for (int i = 0; i < mRowWidgets.size() && i < mSelection.size(); ++i) {
        if (mRowWidgets.at(i).versions == sender())
            mModel->setValue(i, SizeColumn, SoftwareRows::sizeTextFor(mSelection.at(i), text));
    }
}

void DownloadWidget::onDeviceAdded(QString uDiskName)
{
    qCDebug(lcProgress) << "onDeviceAdded uDiskName: " << uDiskName;
    const QString serial = CardHelpers::ReadSerialNumber(uDiskName);
    if (serial.isEmpty() || serial != mCard.serialNumber())
        return;
    // The same card is back; nothing starts by itself.
    setCard(Card(uDiskName, serial));
    notify(tr("U Disk Inserted!"));
}

void DownloadWidget::onDeviceRemoved(QString uDiskName)
{
    qCDebug(lcProgress) << "onDeviceRemoved uDiskName: " << uDiskName;
    if (mCard.isNull() || uDiskName != mCard.root())
        return;
    setCard(Card(QString(), mCard.serialNumber()));
    notify(tr("U disk has been pulled out!"));
    cutOff();
}
