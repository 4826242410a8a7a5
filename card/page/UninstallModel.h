#pragma once

#include "TranslationContext.h"
#include "VehicleData.h"

#include <QAbstractTableModel>
#include <QList>

// The vehicles of the uninstall table: name with check box, version, size
// and uninstall state. Owns copies of the catalogue's records.
class UninstallModel : public QAbstractTableModel
{
    Q_OBJECT
    OSTREL_TRANSLATION_CONTEXT(Uninstall)
public:
    enum Column { NameColumn, VersionColumn, SizeColumn, StatusColumn, ColumnCount };

    // State codes kept in mState[0]; mState[1] holds the percentage.
    static const char *const StateReady;
    static const char *const StateUninstalling;
    static const char *const StateDone;
    static const char *const StateFailed;

    explicit UninstallModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QList<VehicleData> &Datas() const { return mDatas; }
    bool IsUninstalling() const { return mIsUninstalling; }
    // Row of the record whose mDirPath is `id`, or -1.
    int RowOf(const QString &id) const;
    bool AnyChecked() const;
    bool AllChecked() const;
    // Direct changes for the page; they bypass the ticking rules of setData
    // and only refresh the row.
    void SetChecked(int row, bool checked);
    void SetState(int row, const QString &code, const QString &percentage);

    // Column 2: whole bytes up to 1024, then KB, MB and GB with 2 decimals.
    static QString SizeText(quint64 bytes);
    // Status column caption of a state code.
    static QString StateText(const QString &code);
    // The colour a cell's text is drawn in.
    static QColor foreground(int column, const QString &code);

public slots:
    void OnUpdateData(bool isUninstalling);
    void SetData(const QList<VehicleData> &recordList = QList<VehicleData>());

signals:
    void SignalCheckChanged(bool checked);

private:
    void refreshRow(int row);
    // What a screen reader reads of a cell: the state cell names its
    // vehicle and, while it goes, how far it is.
    QString spokenText(int column, const VehicleData &record) const;

    QList<VehicleData> mDatas;
    bool mIsUninstalling = false;
};
