#pragma once

#include "Card.h"
#include "NamesTxt.h"

#include <QString>
#include <QStringList>

// One installed vehicle software, read from its directory on the card.
class VehicleData
{
public:
    VehicleData();
    VehicleData(const VehicleData &) = default;
    VehicleData &operator=(const VehicleData &) = default;
    virtual ~VehicleData();

    // Fills the record from `dirPath` (with trailing slash) on `card`.
    // Without a card only the last component of the path is guarded and a
    // linked vehicle cannot be resolved. `languageCode` empty means: read
    // the interface language now.
    bool ParseDirectory(const QString &dirPath, bool withSize, const Card &card = Card(),
                        const QString &languageCode = QString());

    // The same, on a directory already open as `dirFd`.
    bool ParseDirectoryAt(int dirFd, const QString &dirPath, bool withSize, const Card &card = Card(),
                          const QString &languageCode = QString());

    // The name shown for the record.
    QString DisplayName() const { return mNamesTxt.mCurrent.mName; }

    QString mDirName;
    QString mDirPath;
    QString mVersion;
    QStringList mLanguages;
    NamesTxt mNamesTxt;
    QString mVehiclePath;
    quint64 mSize = 0;
    int mFileCount = 0;
    QStringList mState;
    bool mChecked = false;

private:
    // mSize and mFileCount from one walk of the open directory.
    void measureAt(int dirFd, const char *suffix, bool *hasSuffix);
};
