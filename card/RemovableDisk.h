#pragma once

#include "Card.h"
#include "RemovableDiskInfo.h"

#include <QAbstractNativeEventFilter>
#include <QMap>
#include <QString>
#include <QWidget>

// Keeps the map of removable drives, measures them, recognises scanner
// cards and reads their serial numbers. Follows volume arrivals and
// removals reported by the platform layer.
class RemovableDisk : public QWidget, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit RemovableDisk(QWidget *parent = nullptr);
    ~RemovableDisk() override;

    // Volume changes come from the platform layer; every native event is
    // passed on untouched, so owners may still install the filter.
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    void RefreshDisks();
    QMap<QString, RemovableDiskInfo> GetDisks() const { return mDisks; }
    RemovableDiskInfo SelectCurrentDisk();
    RemovableDiskInfo GetCurrentDisk() const { return mCurrentDisk; }
    // The current disk as a card, with its serial number; null while no
    // card is selected.
    Card GetCurrentCard() const { return Card(mCurrentDisk.mRootPath, mSerialNumber); }
    QString GetSerialNumber() const { return mSerialNumber; }
    QString ReadSerialNumber(const QString &rootPath);
    bool MeasureDisk(RemovableDiskInfo &info) const;

    // Size text: B below 1024, whole KB below 1 MiB, MB below 1 GiB, then GB.
    static QString SizeText(quint64 bytes, int decimals);

public slots:
    void OnRemoveDiskSize();

signals:
    void SignalRemoveDiskChanged();
    void SignalRemoveDiskFreeSizeChanged();

private:
    void MarkScannerCards();

    QMap<QString, RemovableDiskInfo> mDisks;
    RemovableDiskInfo mCurrentDisk;
    QString mSerialNumber;
};
