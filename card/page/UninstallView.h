#pragma once

#include "TranslationContext.h"

#include <QPointer>
#include <QWidget>

class CardPrompt;
class FXHeader;
class FXTableView;
class LoadingDialog;
class QCircularProgressBar;
class QLabel;
class QPushButton;
class QStackedWidget;
class RemovableDisk;
class UninstallController;
class UninstallModel;

// The uninstall page: the inserted card with its space, the vehicles on it,
// and the uninstall of the ticked ones. Shows what its controller reports
// and hands it the user's requests; owns its disk monitor.
class UninstallView : public QWidget
{
    Q_OBJECT
    OSTREL_TRANSLATION_CONTEXT(Uninstall)
public:
    static const char *const PageId; // "UNISTALL"

    explicit UninstallView(QWidget *parent = nullptr);
    ~UninstallView() override;

    bool isBusy() const;
    // A scan was started and its end has not been handled yet.
    bool isScanning() const;
    bool isDirty() const;
    // No card is in: the page asks for one instead of showing the table.
    bool isAskingForCard() const;

    // Usage bar colour: red above 90 %, amber above 80 %, else blue.
    static QColor UsageColor(float percent);

signals:
    void SignalUpdateData(bool isUninstalling);
    void SignalBtnClicked(QString id, bool checked);
    // Told to listeners: 1 for a stop, 0 for a pause.
    void SignalStop(int code);
    // Told to listeners: a pause ended.
    void SignalSuspend();
    void SignalNotificationRemoveDiskFreeSizeChange();

public slots:
    void OnUpdateView(const QString &id);
    void OnSDChanged();
    void OnCheckChanged(bool checked);
    void OnItemCheckChanged(bool checked);
    void OnListItemClicked();
    void OnBtnUninstallClicked();
    void OnUninstallStarted(const QString &id);
    void OnUninstallFinished(const QString &id, bool ok);
    void OnUninstallProgress(const QString &id, float percentage);
    void OnScanVehicleStarted();
    void OnScanVehicleProgress();
    void OnScanVehicleFinished();
    // True when the application may close now; may pause, ask and stop.
    bool OnExit();
    void OnUpdateSDFreeSize();
    void DirChanged(const QString &path);

private:
    void buildUi();
    void connectController();
    void showNotice(int notice);
    void onScanFinished(int rows);
    void onJobFinished(int row, bool ok, bool batchOver);
    // The select-all box and the Uninstall button follow the rows' ticks.
    void showTicks();
    // Asked before a batch: how many vehicles go and what that frees.
    bool confirmBatch(int count, quint64 bytes);
    void toast(const QString &text);

    UninstallModel *mModel = nullptr;
    UninstallController *mController = nullptr;
    RemovableDisk *mDisk = nullptr;

    QPointer<LoadingDialog> mLoading;
    QLabel *mSerialLabel = nullptr;
    QLabel *mDriveLabel = nullptr;
    QLabel *mUsedLabel = nullptr;
    QLabel *mCounterLabel = nullptr;
    QCircularProgressBar *mUsageBar = nullptr;
    FXTableView *mTable = nullptr;
    FXHeader *mHeader = nullptr;
    QStackedWidget *mTableOrPrompt = nullptr;
    CardPrompt *mPrompt = nullptr;
    QPushButton *mUninstallBtn = nullptr;
    QPushButton *mStopBtn = nullptr;
};
