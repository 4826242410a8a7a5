#include "SoftwareInfoWidget.h"

#include "AppPaths.h"
#include "AppSettings.h"
#include "CardBox.h"
#include "CardCheckWidget.h"
#include "CardHelpers.h"
#include "CardPrompt.h"
#include "FXTableView.h"
#include "HistoryWidget.h"
#include "LanguageTable.h"
#include "MessageBoxDialog.h"
#include "MyCheckBox.h"
#include "MyComboBox.h"
#include "MyHeader.h"
#include "MyTableModel.h"
#include "PageContainer.h"
#include "PlainToolTip.h"
#include "QueryProductsThread.h"
#include "QuerySoftwareThread.h"
#include "SoftwareLog.h"
#include "SoftwareRows.h"
#include "SoftwareTable.h"
#include "UDiskMonitor.h"
#include "UpgradeCheck.h"

#include <Sornet/Code.h>
#include <Sornet/QueryProductResponse.h>
#include <Sornet/QuerySoftwareResponse.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {
constexpr int LanguageItemHeight = 31;
} // namespace

SoftwareInfoWidget::SoftwareInfoWidget(QWidget *parent)
    : QWidget(parent)
{
    // 1. The page.
    setObjectName(QStringLiteral("SoftwareInfoWidget"));
    buildUi();

    // 2. and 3. Nothing of ours is downloading yet; who is signed in.
    AppSettings::setDownloading(false);
    mToken = AppSettings::token();
    mUserId = AppSettings::userId();
    mCard = Card(QString(), AppSettings::serialNumber());
    mVersion = AppSettings::version(QString());
    mBuildTimeStamp = AppSettings::buildTimeStamp();
    mBuildTime = AppSettings::buildTime();

    // 4. Watcher and workers.
    mWatcher = new QFileSystemWatcher(this);
    connect(mWatcher, &QFileSystemWatcher::fileChanged, this, &SoftwareInfoWidget::onFileChanged);
    connect(mWatcher, &QFileSystemWatcher::directoryChanged, this, &SoftwareInfoWidget::onDirectoryChanged);
    mProductsThread = new QueryProductsThread(this);
    mSoftwareThread = new QuerySoftwareThread(this);
    connect(mProductsThread, &QueryProductsThread::begin, this, &SoftwareInfoWidget::onStart);
    connect(mProductsThread, &QueryProductsThread::finish, this, &SoftwareInfoWidget::onQueryProductsFinish);
    connect(mSoftwareThread, &QuerySoftwareThread::begin, this, &SoftwareInfoWidget::onStart);
    connect(mSoftwareThread, &QuerySoftwareThread::finish, this, &SoftwareInfoWidget::onFinish);
    connect(this, &SoftwareInfoWidget::updateDiskDetail, this, &SoftwareInfoWidget::onUpdateDiskDetail);

    // 5. The card.
    const Card found = CardHelpers::FindCard();
    setCard(found.isNull() ? Card(QString(), mCard.serialNumber()) : found);
    onUpdateDiskDetail(mCard.root());
    if (!mCard.root().isEmpty())
        mWatcher->addPath(mCard.root());

    // 6. Card arrivals and removals.
    mMonitor = new UDiskMonitor(this);
    mMonitor->hide();
    qApp->installNativeEventFilter(mMonitor);
    connect(mMonitor, &UDiskMonitor::DeviceAdded, this, &SoftwareInfoWidget::onDeviceAdded);
    connect(mMonitor, &UDiskMonitor::DeviceRemoved, this, &SoftwareInfoWidget::onDeviceRemoved);

    // 7. Ask for the user's products.
    if (!mCard.root().isEmpty() && !mCard.serialNumber().isEmpty() && hasUser())
        startProductQuery();
    else
        setControlsEnabled(false);
}

SoftwareInfoWidget::~SoftwareInfoWidget()
{
    qApp->removeNativeEventFilter(mMonitor);
    // Answers still under way must not reach a page that is gone.
    disconnect(mProductsThread, nullptr, this, nullptr);
    disconnect(mSoftwareThread, nullptr, this, nullptr);
    mSoftwareThread->requestStop();
    mProductsThread->wait();
    mSoftwareThread->wait();
}

void SoftwareInfoWidget::buildUi()
{
    QLabel *title = PageContainer::dressPage(this, tr("Software Update"));

    mCardBox = new CardBox(this);

    auto *languageLabel = new QLabel(tr("Software Language:"), this);
    languageLabel->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#333333;}"));
    mLanguages = new MyComboBox(this);
    mLanguages->setObjectName(QStringLiteral("languages"));
    languageLabel->setBuddy(mLanguages); // names the drop-down for a screen reader
    mLanguages->setFixedSize(180, 40);
    connect(mLanguages, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SoftwareInfoWidget::onLanguagesChanged);

    mUpgrade = new QPushButton(tr("Upgrade"), this);
    mUpgrade->setObjectName(QStringLiteral("upgrade"));
    mUpgrade->setFixedSize(150, 40);
    mUpgrade->setCursor(Qt::PointingHandCursor);
    mUpgrade->setStyleSheet(
        QStringLiteral("QPushButton{background-color:#213B78;color:#FFFFFF;font-family:Helvetica;font-size:18px;"
                       "font-weight:bold;border:none;border-radius:4px;}"
                       "QPushButton:disabled{background-color:#A6B0C8;}"));
    connect(mUpgrade, &QPushButton::clicked, this, &SoftwareInfoWidget::onUpgrade);
    mSummary = new QLabel(this);
    mSummary->setObjectName(QStringLiteral("selectionSummary"));
    mSummary->setStyleSheet(QStringLiteral("QLabel{font-family:Helvetica;font-size:15px;color:#666666;}"));
    mCheckCard = PageContainer::makeButton(this, tr("Check Card"), "checkCard", false);
    connect(mCheckCard, &QPushButton::clicked, this, &SoftwareInfoWidget::openCardCheck);
    mHistory = PageContainer::makeButton(this, tr("History"), "history", false);
    connect(mHistory, &QPushButton::clicked, this, &SoftwareInfoWidget::openHistory);
    // Narrower than the upgrade button, so that the row holds its texts in
    // English too.
    for (QPushButton *button : {mCheckCard, mHistory})
        button->setFixedWidth(130);

    auto *controls = new QHBoxLayout;
    controls->setSpacing(10);
    controls->addWidget(languageLabel);
    controls->addWidget(mLanguages);
    controls->addStretch();
    controls->addWidget(mSummary);
    controls->addSpacing(10);
    controls->addWidget(mCheckCard);
    controls->addWidget(mHistory);
    controls->addWidget(mUpgrade);

    const SoftwareTable table(this, {tr("Name"), tr("Current Version"), tr("Updatable Versions"), tr("Size"), tr("State")},
                              {300, 150, 170, 110});
    mModel = table.model;
    mTable = table.view;
    mTable->setAccessibleName(title->text());
    mHeader = table.header;
    SoftwareTable::setStyle(mTable, QStringLiteral("QTableView{font-family:Helvetica;font-size:15px;color:#333333;"
                                         "selection-background-color:#EAF0FB;selection-color:#333333;}"));
    mTable->setStateColor(FXTableView::Selected, QColor(0xEA, 0xF0, 0xFB));
    mTable->installEventFilter(this);
    // Rows that scroll in, or come into a taller view, get their widgets
    // before they are painted.
    mTable->viewport()->installEventFilter(this);
    connect(mTable->verticalScrollBar(), &QScrollBar::valueChanged, this, &SoftwareInfoWidget::placeVisibleRows);
    connect(mHeader, &MyHeader::toggled, this, &SoftwareInfoWidget::onToggled);
    connect(mTable, &QAbstractItemView::clicked, this, &SoftwareInfoWidget::onClickedTableView);
    // The keyboard: Space ticks the current row as a click on it does,
    // Alt+Down or F4 opens its versions, Return upgrades.
    connect(mTable, &FXTableView::toggleRequested, this,
            [this](int row) { onClickedTableView(mModel->index(row, NameColumn)); });
    connect(mTable, &FXTableView::popupRequested, this, [this](int row) {
        if (row >= 0 && row < mRowWidgets.size() && rowWidgets(row).versions->isEnabled())
            mRowWidgets.at(row).versions->showPopup();
    });
    connect(mTable, &FXTableView::confirmRequested, this, [this] {
        if (mUpgrade->isEnabled())
            onUpgrade();
    });

    mPrompt =
        new CardPrompt(QStringLiteral(":/Dravik/Resources/insert_card.png"), tr("Insert the scanner's SD card"), this);
    mServicePrompt = new CardPrompt(QString(),
                                    tr("The update service did not answer. Check this computer's connection to "
                                       "the internet, then try again."),
                                    this);
    mServicePrompt->setObjectName(QStringLiteral("servicePrompt"));
    mTryAgain = PageContainer::makeButton(this, tr("Try again"), "tryAgain", true);
    connect(mTryAgain, &QPushButton::clicked, this, &SoftwareInfoWidget::tryServiceAgain);
    mServicePrompt->addWidget(mTryAgain);
    mTableOrPrompt = new QStackedWidget(this);
    mTableOrPrompt->addWidget(mTable);
    mTableOrPrompt->addWidget(mPrompt);
    mTableOrPrompt->addWidget(mServicePrompt);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 20);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(mCardBox);
    layout->addLayout(controls);
    layout->addWidget(mTableOrPrompt, 1);

    // Tab in reading order: the row of controls left to right, the table.
    setTabOrder(mLanguages, mCheckCard);
    setTabOrder(mCheckCard, mHistory);
    setTabOrder(mHistory, mUpgrade);
    setTabOrder(mUpgrade, mTable);
}

void SoftwareInfoWidget::setCard(const Card &card)
{
    mCard = card;
    mCardBox->setSerialNumber(card.serialNumber());
    // The history is the serial's; only a card in the drive can be checked.
    mCheckCard->setEnabled(!card.root().isEmpty());
    mHistory->setEnabled(!card.serialNumber().isEmpty());
    mTableOrPrompt->setCurrentWidget(card.root().isEmpty() ? static_cast<QWidget *>(mPrompt) : mTable);
}

bool SoftwareInfoWidget::isAskingForCard() const
{
    return mTableOrPrompt->currentWidget() == mPrompt;
}

bool SoftwareInfoWidget::isServiceUnreachable() const
{
    return mTableOrPrompt->currentWidget() == mServicePrompt;
}

void SoftwareInfoWidget::showServiceProblem()
{
    // Without a card, the card is what the page asks for.
    if (mCard.root().isEmpty())
        return;
    // Nothing is upgraded that the mechanic cannot see.
    mRows.clear();
    clearTable();
    mTableOrPrompt->setCurrentWidget(mServicePrompt);
    if (isVisible())
        mTryAgain->setFocus();
}

void SoftwareInfoWidget::tryServiceAgain()
{
    if (!mCard.root().isEmpty())
        mTableOrPrompt->setCurrentWidget(mTable);
    if (mLanguageCodes.isEmpty() || mProductsFailed)
        startProductQuery();
    else
        startSoftwareQuery(mLanguages->currentIndex());
}

bool SoftwareInfoWidget::hasUser() const
{
    return !mToken.isEmpty() && mUserId > 0;
}

void SoftwareInfoWidget::startProductQuery()
{
    if (mProductsThread->isRunning())
        return; // its answer is matched against the card of that moment
    mProductsBusy = true;
    mProductsThread->setParam(mToken, mUserId);
    mProductsThread->start();
}

void SoftwareInfoWidget::startSoftwareQuery(int index)
{
    if (!hasUser() || mCard.serialNumber().isEmpty() || index < 0 || index >= mLanguageCodes.size()) {
        setControlsEnabled(false);
        return;
    }
    setControlsEnabled(true);
    QuerySoftwareParam param;
    param.setToken(mToken);
    param.setUser_id(mUserId);
    param.setSerial_number(mCard.serialNumber());
    param.setDefault_lang_code(QStringLiteral("en"));
    param.setLang_code(mLanguageCodes.at(index));
    if (mSoftwareBusy) {
        // Started again with the card and language of the moment once the
        // running query has been answered.
        mSoftwarePending = true;
        return;
    }
    mSoftwareThread->setParam(param);
    launchSoftwareThread(false);
}

void SoftwareInfoWidget::launchSoftwareThread(bool rescanOnly)
{
    mSoftwareBusy = true;
    mSoftwareThread->setCard(mCard);
    mSoftwareThread->setRescanOnly(rescanOnly);
    mSoftwareThread->start();
}

void SoftwareInfoWidget::onStart()
{
    qCDebug(lcSoftware) << "onStart...";
    mFeedback.showBusy();
}

void SoftwareInfoWidget::onQueryProductsFinish(int code, QVariant response)
{
    qCDebug(lcSoftware) << "onQueryProductsFinish...";
    mProductsBusy = false;
    if (code != 200) {
        mFeedback.closeBusy();
        // Languages of an earlier answer may be another product's.
        mProductsFailed = true;
        showServiceProblem();
        return;
    }
    mProductsFailed = false;
    const QueryProductResponse answer = response.value<QueryProductResponse>();
    if (answer.getCode() == Code::CODE_SUCCESS) {
        const QList<ProductBean> &products = answer.getData().getLists();
        if (products.isEmpty()) {
            mFeedback.closeBusy();
            return;
        }
        for (const ProductBean &product : products) {
            if (product.getSerial_number() == mCard.serialNumber()) {
                mProduct = product;
                fillLanguages(product);
                break;
            }
        }
        if (!mCard.serialNumber().isEmpty() && mLanguages->currentIndex() >= 0)
            startSoftwareQuery(mLanguages->currentIndex());
    } else {
        handleServiceCode(answer.getCode(), answer.getMessage());
    }
    mFeedback.closeBusy();
}

void SoftwareInfoWidget::fillLanguages(const ProductBean &product)
{
    const QSignalBlocker blocker(mLanguages);
    mLanguages->clear();
    mLanguageCodes.clear();
    for (const LanguageTable::Entry &entry : LanguageTable::entries()) {
        const QString code = QLatin1String(entry.code);
        if (!product.getLanguages().contains(code))
            continue;
        mLanguages->addItem(LanguageTable::displayName(entry));
        mLanguageCodes << code;
    }
    mLanguages->view()->setMinimumHeight(LanguageItemHeight * mLanguages->count());
    const QString wanted = LanguageTable::interfaceServiceCode();
    for (int i = 0; i < mLanguageCodes.size(); ++i) {
        if (mLanguageCodes.at(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            mLanguages->setCurrentIndex(i);
            break;
        }
    }
}

void SoftwareInfoWidget::onFinish(int code, QVariant response)
{
    qCDebug(lcSoftware) << "onFinish...";
    mSoftwareBusy = false;
    const QuerySoftwareResponse answer = response.value<QuerySoftwareResponse>();
    // An answer for a card that has been pulled or swapped meanwhile.
    const bool stale = mSoftwareThread->param().getSerial_number() != mCard.serialNumber()
                       || mSoftwareThread->card().root() != mCard.root();
    if (stale) {
        qCDebug(lcSoftware) << "onFinish: dropped, the card changed";
    } else if (code == 200 && answer.getCode() == Code::CODE_SUCCESS) {
        mTableOrPrompt->setCurrentWidget(mTable);
        mSoftwareList = answer.getData();
        mCatalogue = mSoftwareThread->catalogue();
        mHasAnswer = true;
        QList<SoftwareDataWrap> rows = SoftwareRows::build(mSoftwareList, mCatalogue, mVersion);
        bool empty = false;
        for (const SoftwareDataWrap &row : qAsConst(rows))
            empty = empty || row.getSoft_id() == QLatin1String("Empty");
        if (empty) {
            mFeedback.closeBusy();
            const QString serial = mCard.serialNumber();
            const auto answerButton = MessageBoxDialog::showMessageBox(
                this, tr("Update"),
                tr("This product is a single-vehicle software product, and there is no vehicle software yet. "
                   "It is necessary to reconfigure a vehicle software. "),
                QMessageBox::Ok);
            // The card may have been pulled or swapped while the box was open.
            if (answerButton == QMessageBox::Ok && serial == mCard.serialNumber()) {
                qCDebug(lcSoftware) << "onSelectVehicle...";
                openVehicleSelection();
            }
        } else {
            mRows = rows;
            watchCard();
            fillTable();
        }
    } else if (code == 200) {
        handleServiceCode(answer.getCode(), answer.getMessage());
    } else {
        showServiceProblem();
    }
    mFeedback.closeBusy();
    if (mSoftwarePending) {
        mSoftwarePending = false;
        startSoftwareQuery(mLanguages->currentIndex());
    }
}

void SoftwareInfoWidget::handleServiceCode(int code, const QString &message)
{
    mFeedback.serviceFailed(code, tr("Update"));
    qCDebug(lcSoftware).noquote() << "Code:" << code << ", Message:" << message;
}

void SoftwareInfoWidget::fillTable()
{
    clearTable();
    SoftwareRows::sort(mRows, mSoftwareThread->param().getLang_code());
    QList<QMap<int, QVariant>> texts;
    texts.reserve(mRows.size());
    for (const SoftwareDataWrap &row : qAsConst(mRows)) {
        const SoftwareRows::Cells cells = SoftwareRows::cellsOf(row);
        QMap<int, QVariant> values{{NameColumn, cells.name},       {CurrentColumn, cells.current},
                                   {VersionColumn, cells.version}, {SizeColumn, cells.size},
                                   {StateColumn, stateText(row)},  {MyTableModel::CheckedKey, row.isChecked()}};
        if (row.isRequired())
            values.insert(MyTableModel::DescriptionKey, requiredText());
        texts.append(values);
        mChosen << cells.choices.value(0);
    }
    // Every row at once; the boxes and drop-downs go only over the rows in
    // view, so a list of thousands fills as fast as one of a hundred.
    mModel->setRows(texts);
    mRowWidgets = QVector<RowWidgets>(mRows.size());
    showSelection();
    placeVisibleRows();
    if (!mPendingReinstall.isEmpty())
        tickForReinstall(std::exchange(mPendingReinstall, {}));
}

void SoftwareInfoWidget::placeVisibleRows()
{
    const int count = std::min(mRowWidgets.size(), mRows.size());
    if (count == 0)
        return;
    const int top = mTable->rowAt(0);
    const int bottom = mTable->rowAt(mTable->viewport()->height() - 1);
    const int first = std::max(0, (top < 0 ? 0 : top) - RowMargin);
    const int last = std::min(count - 1, (bottom < 0 ? count - 1 : bottom) + RowMargin);
    for (int row = first; row <= last; ++row)
        rowWidgets(row);
}

const SoftwareInfoWidget::RowWidgets &SoftwareInfoWidget::rowWidgets(int row)
{
    RowWidgets &widgets = mRowWidgets[row];
    if (widgets.box)
        return widgets;
    const SoftwareDataWrap &record = mRows.at(row);
    const SoftwareRows::Cells cells = SoftwareRows::cellsOf(record);
    widgets.box = MyCheckBox::forTable(cells.name);
    widgets.box->setChecked(record.isChecked());
    widgets.box->setEnabled(!record.isRequired());
    widgets.box->setToolTip(PlainToolTip::of(cells.name));
    connect(widgets.box, &QAbstractButton::toggled, this, &SoftwareInfoWidget::onItemToggled);
    widgets.versions = MyComboBox::forTable();
    widgets.versions->addItems(cells.choices);
    widgets.versions->setCurrentText(mChosen.value(row));
    widgets.versions->setEnabled(!record.isRequired());
    if (record.isRequired()) {
        const QString why = requiredText();
        for (QWidget *w : {static_cast<QWidget *>(widgets.box), static_cast<QWidget *>(widgets.versions)}) {
            w->setToolTip(why);
            w->setAccessibleDescription(why);
        }
    }
    // A widget over a cell that takes the focus makes its row the table's
    // current, selected one: after sign-in, or when another page hands the
    // focus back, a row would look picked out.
    widgets.box->setFocusPolicy(Qt::NoFocus);
    widgets.versions->setFocusPolicy(Qt::NoFocus);
    connect(widgets.versions, &QComboBox::currentTextChanged, this, &SoftwareInfoWidget::onVersionChanged);
    mRowOf.insert(widgets.box, row);
    mRowOf.insert(widgets.versions, row);
    SoftwareTable::placeRowWidgets(mTable, row, widgets.box, widgets.versions);
    return widgets;
}

QString SoftwareInfoWidget::requiredText()
{
    return tr("Always kept up to date: the scanner needs this software.");
}

QString SoftwareInfoWidget::stateText(const SoftwareDataWrap &row)
{
    switch (SoftwareRows::standingOf(row)) {
    case SoftwareRows::Standing::NotInstalled: return tr("Not installed");
    case SoftwareRows::Standing::UpdateAvailable: return tr("Update available");
    case SoftwareRows::Standing::UpToDate: break;
    }
    return tr("Up to date");
}

void SoftwareInfoWidget::clearTable()
{
    mRowWidgets.clear();
    mRowOf.clear();
    mChosen.clear();
    mModel->clear(); // the view deletes the widgets placed over the cells
    showSelection();
}

void SoftwareInfoWidget::showSelection()
{
    int tickable = 0;
    int tickableTicked = 0;
    int ticked = 0;
    for (int i = 0; i < mModel->rowCount() && i < mRows.size(); ++i) {
        const bool on = mRows.at(i).isChecked();
        ticked += on ? 1 : 0;
        if (SoftwareRows::followsHeader(mRows.at(i))) {
            ++tickable;
            tickableTicked += on ? 1 : 0;
        }
    }
    mHeader->setCheckState(FXHeader::stateOf(tickable, tickableTicked, ticked));
    mSummary->setText(selectionSummary());
}

QString SoftwareInfoWidget::selectionSummary() const
{
    if (mModel->rowCount() == 0)
        return QString();
    const QList<SoftwareDataWrap> chosen = selection();
    if (!chosen.isEmpty()) {
        const qint64 bytes = SoftwareRows::totalSize(chosen);
        return tr("%n selected \u00B7 %1", nullptr, chosen.size())
            .arg(bytes > 0 ? SoftwareRows::sizeText(bytes) : QStringLiteral("0B"));
    }
    return anyNewer() ? tr("Nothing selected") : tr("Your card is up to date");
}

bool SoftwareInfoWidget::anyNewer() const
{
    return std::any_of(mRows.cbegin(), mRows.cend(), &SoftwareRows::isOutdated);
}

void SoftwareInfoWidget::watchCard()
{
    QStringList paths;
    if (!mCard.root().isEmpty())
        paths << mCard.root();
    for (const VehicleData &record : qAsConst(mCatalogue))
        paths << record.mDirPath;
    const QStringList watched = mWatcher->directories();
    QStringList fresh;
    for (const QString &path : qAsConst(paths)) {
        if (!watched.contains(path) && !fresh.contains(path))
            fresh << path;
    }
    if (!fresh.isEmpty())
        mWatcher->addPaths(fresh);
}

void SoftwareInfoWidget::unwatchAll()
{
    const QStringList watched = mWatcher->directories() + mWatcher->files();
    if (!watched.isEmpty())
        mWatcher->removePaths(watched);
}

void SoftwareInfoWidget::setControlsEnabled(bool on)
{
    mUpgrade->setEnabled(on);
    mLanguages->setEnabled(on);
}

int SoftwareInfoWidget::rowOfSender() const
{
    return mRowOf.value(sender(), -1);
}

QList<SoftwareDataWrap> SoftwareInfoWidget::selection() const
{
    return SoftwareRows::collect(mRows, mChosen);
}

void SoftwareInfoWidget::onVersionChanged(QString text)
{
    qCDebug(lcSoftware) << "Version: " << text;
    const int row = rowOfSender();
    if (row < 0 || row >= mRows.size())
        return;
    mTable->setCurrentIndex(mModel->index(row, NameColumn));
    setRowVersion(row, text);
}

void SoftwareInfoWidget::setRowVersion(int row, const QString &version)
{
    mChosen[row] = version;
    mModel->setValue(row, VersionColumn, version);
    mModel->setValue(row, SizeColumn, SoftwareRows::sizeTextFor(mRows.at(row), version));
    if (MyComboBox *versions = mRowWidgets.value(row).versions) {
        const QSignalBlocker quiet(versions);
        versions->setCurrentText(version);
    }
    showSelection();
}

void SoftwareInfoWidget::onToggled(bool checked)
{
    qCDebug(lcSoftware) << "onToggled: checked: " << checked;
    for (int i = 0; i < mRows.size(); ++i) {
        if (SoftwareRows::followsHeader(mRows.at(i)))
            setRowChecked(i, checked, false);
    }
    // With no row it can tick, the box does not stay ticked on its own.
    showSelection();
}

void SoftwareInfoWidget::onItemToggled(bool checked)
{
    const int row = rowOfSender();
    if (row < 0 || row >= mRows.size())
        return;
    // The keys go on from the row the mouse worked on.
    mTable->setCurrentIndex(mModel->index(row, NameColumn));
    setRowChecked(row, checked);
}

void SoftwareInfoWidget::setRowChecked(int row, bool checked, bool tell)
{
    // The row's tick is the record's; its box, once placed, shows it.
    if (mRows.at(row).isChecked() == checked)
        return;
    mRows[row].setChecked(checked);
    mModel->setValue(row, MyTableModel::CheckedKey, checked);
    if (MyCheckBox *box = mRowWidgets.value(row).box) {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    if (tell)
        showSelection();
    if (!checked)
        return;
    // A patch needs its base: an outdated base is ticked with it.
    const QString softId = mRows.at(row).getSoft_id();
    const QString parent = mRelation.GetParent(softId);
    if (parent.isEmpty() || parent == softId)
        return;
    for (int i = 0; i < mRows.size(); ++i) {
        if (mRows.at(i).getSoft_id() == parent && SoftwareRows::isOutdated(mRows.at(i)))
            setRowChecked(i, true, tell);
    }
}

void SoftwareInfoWidget::onClickedTableView(QModelIndex index)
{
    if (!index.isValid() || index.row() >= mRowWidgets.size())
        return;
    MyCheckBox *box = rowWidgets(index.row()).box;
    if (box->isEnabled())
        box->toggle();
}

void SoftwareInfoWidget::onLanguagesChanged(int index)
{
    if (mSoftwareBusy || mCard.root().isEmpty())
        return;
    qCDebug(lcSoftware) << "onLanguagesChanged: index: " << index;
    // The rows of the other language go with the table that showed them.
    mRows.clear();
    clearTable();
    startSoftwareQuery(index);
    if (mSoftwareBusy)
        mFeedback.showBusy();
}

void SoftwareInfoWidget::refreshModel()
{
    emit updateDiskDetail(mCard.root());
    mRefreshNeeded = false;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (mSoftwareBusy || now - mLastRefresh <= RefreshInterval || !mHasAnswer)
        return;
    mLastRefresh = now;
    mFeedback.showBusy();
    clearTable();
    launchSoftwareThread(true);
}

void SoftwareInfoWidget::refreshAfterUpgrade()
{
    mLastRefresh = 0;
    refreshModel();
}

void SoftwareInfoWidget::refreshLists()
{
    qCDebug(lcSoftware) << "refreshLists...";
    emit updateDiskDetail(mCard.root());
    if (mCard.root().isEmpty() || mCard.serialNumber().isEmpty() || !hasUser()) {
        setControlsEnabled(false);
        return;
    }
    clearTable();
    mRows.clear();
    startProductQuery();
}

void SoftwareInfoWidget::onFileChanged(QString path)
{
    qCDebug(lcSoftware) << "onFileChanged: " << path;
}

void SoftwareInfoWidget::onDirectoryChanged(QString path)
{
    qCDebug(lcSoftware) << "onDirectoryChanged: " << path;
    mRefreshNeeded = true;
    if (isWindow())
        refreshModel();
    else
        update();
}

void SoftwareInfoWidget::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Not from inside the paint: the refresh opens the busy indicator.
    if (mRefreshNeeded && !mRefreshPosted) {
        mRefreshPosted = true;
        QTimer::singleShot(0, this, [this] {
            mRefreshPosted = false;
            if (mRefreshNeeded)
                refreshModel();
        });
    }
}

void SoftwareInfoWidget::onDeviceAdded(QString uDiskName)
{
    qCDebug(lcSoftware) << "onDeviceAdded uDiskName: " << uDiskName;
    const QString serial = CardHelpers::ReadSerialNumber(uDiskName);
    if (!serial.isEmpty() && serial != mCard.serialNumber()) {
        mPendingReinstall.clear(); // they were another card's
        unwatchAll();
        clearTable(); // those rows were another card's
        mRows.clear();
        setCard(Card(uDiskName, serial));
        emit updateDiskDetail(mCard.root());
        mFeedback.notify(tr("U Disk Inserted!"));
        if (hasUser())
            startProductQuery();
    }
    if (!mCard.root().isEmpty())
        watchCard();
    else
        setControlsEnabled(false);
}

void SoftwareInfoWidget::onDeviceRemoved(QString uDiskName)
{
    qCDebug(lcSoftware) << "onDeviceRemoved uDiskName: " << uDiskName;
    if (mCard.root().isEmpty() || uDiskName != mCard.root())
        return;
    unwatchAll();
    mPendingReinstall.clear();
    setCard(Card());
    emit updateDiskDetail(mCard.root());
    clearTable();
    mRows.clear();
    setControlsEnabled(false);
    mFeedback.notify(tr("U disk has been pulled out!"));
}

void SoftwareInfoWidget::onUpdateDiskDetail(QString path)
{
    mCardBox->showCard(path);
}

void SoftwareInfoWidget::onUpgrade()
{
    qCDebug(lcSoftware) << "onUpgrade...";
    // Only rows the table shows, answered for the language chosen.
    if (mSoftwareBusy || isServiceUnreachable())
        return;
    int leftOut = 0;
    const QList<SoftwareDataWrap> chosen = SoftwareRows::collect(mRows, mChosen, &leftOut);
    if (leftOut > 0) {
        // The download follows each package by its number: a number the
        // service gives twice cannot be told apart, so it is left out, not
        // without a word.
        mFeedback.notify(tr("%n ticked package(s) left out: the service lists their number twice.", "", leftOut));
    }
    const UpgradeCheck::Outcome outcome =
        UpgradeCheck::run(AppSettings::isUninstalling(), chosen, AppPaths::dataDir(), mCard);
    switch (outcome.result) {
    case UpgradeCheck::Pass:
        mUpgradeSelection = chosen;
        openDownloadPage(chosen);
        return;
    case UpgradeCheck::NothingSelected:
        if (leftOut == 0) // nothing to pick is not a mistake of the mechanic's
            mFeedback.notify(!mRows.isEmpty() && !anyNewer() ? tr("Your card is up to date") : outcome.text);
        return;
    case UpgradeCheck::NoCard: {
        MessageBoxDialog::showMessageBox(this, tr("Update"), outcome.text, QMessageBox::Ok);
        const Card found = CardHelpers::FindCard();
        if (found.isNull() || found.root() == mCard.root())
            return;
        if (found.serialNumber() == mCard.serialNumber())
            setCard(found);
        else
            onDeviceAdded(found.root());
        return;
    }
    default: MessageBoxDialog::showMessageBox(this, tr("Update"), outcome.text, QMessageBox::Ok); return;
    }
}

bool SoftwareInfoWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mTable->viewport() && event->type() == QEvent::Resize)
        placeVisibleRows();
    if (watched == mTable && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt) {
            qCDebug(lcSoftware) << "eventFilter QEvent::KeyPress : Key_Alt";
            return true;
        }
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::AltModifier)) {
            qCDebug(lcSoftware) << "eventFilter QEvent::KeyPress : Key_Alt + Qt::Key_A";
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QStackedWidget *SoftwareInfoWidget::container() const
{
    return qobject_cast<QStackedWidget *>(parentWidget());
}

void SoftwareInfoWidget::openDownloadPage(const QList<SoftwareDataWrap> &selection)
{
    qCDebug(lcSoftware) << "onUpgrade: ready for" << selection.size() << "downloads";
    QStackedWidget *stack = container();
    if (!stack || !mDownloadPageOpener)
        return;
    // Each package is made here, where the choice is read, and goes to the
    // card as it is.
    mDownloadPageOpener(stack, mCard, SoftwareRows::items(selection, mCard, mCatalogue));
}

void SoftwareInfoWidget::openVehicleSelection()
{
    // Offered once in the life of the page.
    QStackedWidget *stack = container();
    if (!mMayOfferVehicleSelection || !stack || !mVehiclePageFactory || mCard.serialNumber().isEmpty())
        return;
    QWidget *page = mVehiclePageFactory(stack, mCard.serialNumber());
    if (!page)
        return;
    mVehiclePage = page;
    stack->addWidget(page);
    stack->setCurrentWidget(page);
    mMayOfferVehicleSelection = false;
}

void SoftwareInfoWidget::openCardCheck()
{
    if (mCard.root().isEmpty())
        return;
    auto *page = new CardCheckWidget(mCard);
    connect(page, &CardCheckWidget::closed, this, [this, page] { closeRecordPage(page); });
    connect(page, &CardCheckWidget::reinstallRequested, this, [this, page](const QList<CardCheck::Finding> &damaged) {
        closeRecordPage(page);
        tickForReinstall(damaged);
    });
    showRecordPage(page);
}

void SoftwareInfoWidget::openHistory()
{
    auto *page = new HistoryWidget(mCard);
    connect(page, &HistoryWidget::closed, this, [this, page] { closeRecordPage(page); });
    showRecordPage(page);
}

void SoftwareInfoWidget::showRecordPage(QWidget *page)
{
    QStackedWidget *stack = container();
    if (!stack) {
        delete page;
        return;
    }
    stack->addWidget(page);
    stack->setCurrentWidget(page);
}

void SoftwareInfoWidget::closeRecordPage(QWidget *page)
{
    if (QStackedWidget *stack = container())
        stack->setCurrentWidget(this);
    page->deleteLater();
}

void SoftwareInfoWidget::tickForReinstall(const QList<CardCheck::Finding> &packages)
{
    // While the table is refilled its rows are not yet the card's: the
    // picks wait for them.
    if (mSoftwareBusy || mRowWidgets.size() != mRows.size()) {
        mPendingReinstall += packages;
        return;
    }
    for (const CardCheck::Finding &package : packages) {
        for (int i = 0; i < mRows.size(); ++i) {
            if (mRows.at(i).getSoft_id().compare(package.softId, Qt::CaseInsensitive) != 0)
                continue;
            if (SoftwareRows::cellsOf(mRows.at(i)).choices.contains(package.version))
                setRowVersion(i, package.version);
            setRowChecked(i, true);
        }
    }
}
