#pragma once

#include "Card.h"
#include "CardCheck.h"
#include "Package.h"
#include "PageFeedback.h"
#include "SoftwareDataWrap.h"
#include "VehicleData.h"
#include "VehicleRelation.h"

#include <Sornet/ProductBean.h>
#include <Sornet/SoftwareData.h>

#include <QHash>
#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWidget>

#include <functional>

class CardBox;
class CardPrompt;
class MyCheckBox;
class MyComboBox;
class MyHeader;
class MyTableModel;
class FXTableView;
class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QStackedWidget;
class QueryProductsThread;
class QuerySoftwareThread;
class UDiskMonitor;

// Page 0 of the plug-in: finds the card, matches it with one of the user's
// products, lists the product's software in the chosen language against
// what the card holds, and starts an upgrade of the ticked rows.
class SoftwareInfoWidget : public QWidget
{
    Q_OBJECT
    // Read by the pages above this one, to tell whether their card is still in.
    Q_PROPERTY(QString serialNumber READ serialNumber)
public:
    static constexpr int BusyLimit = 10000;
    static constexpr int MessageTime = 3000;
    static constexpr int RefreshInterval = 3000;
    // Rows above and below the view that get their box and drop-down
    // before they scroll in.
    static constexpr int RowMargin = 32;

    enum Column { NameColumn, CurrentColumn, VersionColumn, SizeColumn, StateColumn };

    explicit SoftwareInfoWidget(QWidget *parent = nullptr);
    ~SoftwareInfoWidget() override;

    QString serialNumber() const { return mCard.serialNumber(); }
    // The card the page shows; null (keeping the serial) while it is out.
    Card card() const { return mCard; }
    // The rows on show, in table order, and the catalogue of the last scan.
    const QList<SoftwareDataWrap> &rows() const { return mRows; }
    const QList<VehicleData> &catalogue() const { return mCatalogue; }
    MyTableModel *model() const { return mModel; }
    // The ticked rows, each as the record of the version chosen in it.
    QList<SoftwareDataWrap> selection() const;
    // A product or software query is under way or its answer not yet
    // handled.
    bool isQuerying() const { return mProductsBusy || mSoftwareBusy; }
    // What the last upgrade that passed its checks handed on.
    QList<SoftwareDataWrap> upgradeSelection() const { return mUpgradeSelection; }
    // Beside the upgrade button: how many packages and bytes the ticked
    // rows fetch, or that there is nothing newer.
    QString selectionSummary() const;
    // No card is in: the page asks for one instead of showing the table.
    bool isAskingForCard() const;
    // The service did not answer the last query: the page says so in place
    // of the table and offers to ask again.
    bool isServiceUnreachable() const;
    // A row's state before a batch.
    static QString stateText(const SoftwareDataWrap &row);
    // Why a required row's box cannot be unticked.
    static QString requiredText();

    // Builds the vehicle selection page (in the container, for a serial
    // number); the plug-in sets it, as that page is linked there.
    using VehiclePageFactory = std::function<QWidget *(QWidget *container, const QString &serialNumber)>;
    void setVehiclePageFactory(VehiclePageFactory factory) { mVehiclePageFactory = std::move(factory); }
    QWidget *vehiclePage() const { return mVehiclePage; }

    // Hands a passing upgrade to the download page (in the container, for
    // the card and the packages chosen); the plug-in sets it, as that page
    // is linked there.
    using DownloadPageOpener =
        std::function<void(QStackedWidget *container, const Card &card, const QList<UpgradeItem> &items)>;
    void setDownloadPageOpener(DownloadPageOpener opener) { mDownloadPageOpener = std::move(opener); }

    // Back from an upgrade: the card is scanned again at once, whenever the
    // last refresh was, so the new versions show.
    void refreshAfterUpgrade();
    // Ticks the rows of `packages` (a card check's damaged ones), each with
    // the version the card holds where the service still offers it.
    void tickForReinstall(const QList<CardCheck::Finding> &packages);

signals:
    void updateDiskDetail(QString path);

public slots:
    void onStart();
    void onFinish(int code, QVariant response);
    void showServiceProblem();
    void tryServiceAgain();
    void onQueryProductsFinish(int code, QVariant response);
    void onUpgrade();
    void onLanguagesChanged(int index);
    void onToggled(bool checked);
    void onItemToggled(bool checked);
    // Rescans the card and rebuilds the rows from the last answer; does
    // nothing while a query runs or within 3000 ms of the last refresh.
    void refreshModel();
    // Asks the service again for the products and the software list, as
    // after a vehicle was chosen for a single-vehicle product.
    void refreshLists();
    void onClickedTableView(QModelIndex index);
    void onVersionChanged(QString text);
    void onDeviceAdded(QString uDiskName);
    void onDeviceRemoved(QString uDiskName);
    void onFileChanged(QString path);
    void onDirectoryChanged(QString path);
    void onUpdateDiskDetail(QString path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct RowWidgets
    {
        MyCheckBox *box = nullptr;
        MyComboBox *versions = nullptr;
    };

    void buildUi();
    void setCard(const Card &card);
    bool hasUser() const;
    void startProductQuery();
    void startSoftwareQuery(int index);
    void launchSoftwareThread(bool rescanOnly);
    void fillLanguages(const ProductBean &product);
    void fillTable();
    // A row's box and drop-down exist only once it is on screen or near
    // it: thousands of widgets in one table make every layout and paint
    // slow. A row's tick and version live in mRows and mChosen.
    void placeVisibleRows();
    const RowWidgets &rowWidgets(int row);
    // `tell`: the header's box and the summary follow at once; the header's
    // own tick of every row tells them once, at the end.
    void setRowChecked(int row, bool checked, bool tell = true);
    void setRowVersion(int row, const QString &version);
    void clearTable();
    void watchCard();
    void unwatchAll();
    void setControlsEnabled(bool on);
    // The header's box and the summary beside the button follow the ticks.
    void showSelection();
    // The service offers something newer than the card holds.
    bool anyNewer() const;
    // -100 offers the restart; any other code is shown as a notification.
    void handleServiceCode(int code, const QString &message);
    int rowOfSender() const;
    QStackedWidget *container() const;

    // Where the download page and the vehicle selection page come in.
    void openDownloadPage(const QList<SoftwareDataWrap> &selection);
    void openVehicleSelection();
    // The card check and the update history, as pages over this one.
    void openCardCheck();
    void openHistory();
    void showRecordPage(QWidget *page);
    void closeRecordPage(QWidget *page);

    CardBox *mCardBox = nullptr;
    MyComboBox *mLanguages = nullptr;
    QPushButton *mUpgrade = nullptr;
    QLabel *mSummary = nullptr;
    QStackedWidget *mTableOrPrompt = nullptr;
    CardPrompt *mPrompt = nullptr;
    CardPrompt *mServicePrompt = nullptr;
    QPushButton *mTryAgain = nullptr;
    bool mProductsFailed = false; // the last product query had no answer
    QPushButton *mCheckCard = nullptr;
    QPushButton *mHistory = nullptr;
    FXTableView *mTable = nullptr;
    MyHeader *mHeader = nullptr;
    MyTableModel *mModel = nullptr;
    QVector<RowWidgets> mRowWidgets;    // one per row, empty until placed
    QHash<const QObject *, int> mRowOf; // a row widget's row
    QStringList mChosen;                // each row's chosen version
    // Reinstall picks made while the table was being refilled.
    QList<CardCheck::Finding> mPendingReinstall;
    PageFeedback mFeedback{this, BusyLimit, MessageTime};

    QFileSystemWatcher *mWatcher = nullptr;
    UDiskMonitor *mMonitor = nullptr;
    QueryProductsThread *mProductsThread = nullptr;
    QuerySoftwareThread *mSoftwareThread = nullptr;
    VehicleRelation mRelation;

    QString mToken;
    int mUserId = 0;
    Card mCard;
    ProductBean mProduct;
    QStringList mLanguageCodes; // service code of each drop-down entry
    QList<SoftwareData> mSoftwareList;
    QList<VehicleData> mCatalogue;
    QList<SoftwareDataWrap> mRows;
    QList<SoftwareDataWrap> mUpgradeSelection;
    QString mVersion;
    qint64 mBuildTimeStamp = 0;
    QString mBuildTime;

    bool mProductsBusy = false; // from start until its answer was handled
    bool mSoftwareBusy = false;
    bool mSoftwarePending = false; // a query asked for while one ran
    bool mHasAnswer = false;
    bool mRefreshNeeded = false;
    bool mRefreshPosted = false;
    qint64 mLastRefresh = 0;
    bool mMayOfferVehicleSelection = true;
    VehiclePageFactory mVehiclePageFactory;
    DownloadPageOpener mDownloadPageOpener;
    QPointer<QWidget> mVehiclePage;
};
