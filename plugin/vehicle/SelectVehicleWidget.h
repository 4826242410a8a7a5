#pragma once

#include "PageFeedback.h"

#include <Sornet/CarData.h>
#include <Sornet/LanguageData.h>

#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWidget>

class FXTableView;
class GetAllCarListAndLanguageListThread;
class MyCheckBox;
class MyComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class ReplaceEmptyCarConfigurationThread;
class SelectVehicleTableModel;

// Lets the user of a single-vehicle product that has no vehicle yet choose
// the one vehicle and a language, and submits the choice. Lives in the
// plug-in's page container above the software list and returns to it.
class SelectVehicleWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BusyLimit = 10000;
    static constexpr int MessageTime = 3000;

    enum Column { NameColumn, OperationColumn };

    // Builds the page and asks the service at once.
    SelectVehicleWidget(QWidget *parent, const QString &serialNumber);
    ~SelectVehicleWidget() override;

    // The page for a card, as the software list opens it.
    static SelectVehicleWidget *create(QWidget *container, const QString &serialNumber);

    void SetSerialNumber(const QString &serialNumber);
    QString serialNumber() const { return mSerialNumber; }

    // The vehicles on show (sorted as the table lists them) and the codes
    // of the language drop-down.
    const QList<CarData> &carList() const { return mCarList; }
    const QStringList &comboCodes() const { return mComboCodes; }
    SelectVehicleTableModel *model() const { return mModel; }
    MyCheckBox *checkBox(int row) const { return mBoxes.value(row); }
    // The query or a submission is under way or its answer not yet handled.
    bool isBusy() const { return mQuerying || mSubmitting; }

private slots:
    void onBack();
    void onStart();
    void onGetAllCarListAndLanguageListFinish(int code, QVariant response);
    void onStartSubmit();
    void onReplaceEmptyCarConfigurationFinish(int code, QVariant response);
    void onSubmit();
    void onLanguagesChanged(int index);
    void onToggled(bool checked);
    void onClickedTableView(QModelIndex index);

private:
    void buildUi();
    void fillLanguages(const QStringList &names, const QStringList &codes);
    void PrepareQuery();
    void buildFromAnswer();
    void CollectSelection();
    bool PrepareSubmit();
    // Whether an answer for `serial` may still act here: the page is the
    // container's current page and its card is still the list page's card.
    bool isCurrentFor(const QString &serial) const;
    // -100 offers the restart, any other code is shown when visible.
    void handleServiceCode(int code);
    QStackedWidget *container() const;

    QString mSerialNumber;
    QString mToken;
    int mUserId = 0;
    QList<CarData> mCarList;
    QList<LanguageData> mLanguageList;
    QStringList mComboNames;
    QStringList mComboCodes;
    QStringList mSelectedLanguages;
    QList<long> mSelectedCarIds;

    GetAllCarListAndLanguageListThread *mQueryThread = nullptr;
    ReplaceEmptyCarConfigurationThread *mSubmitThread = nullptr;
    bool mQuerying = false;
    bool mSubmitting = false; // from start until its answer was handled
    QString mQuerySerial;     // the card each request was made for
    QString mSubmitSerial;
    PageFeedback mFeedback{this, BusyLimit, MessageTime};

    QLabel *mSerialValue = nullptr;
    MyComboBox *mLanguages = nullptr;
    FXTableView *mTable = nullptr;
    SelectVehicleTableModel *mModel = nullptr;
    QVector<MyCheckBox *> mBoxes;
    QPushButton *mSubmit = nullptr;
};
