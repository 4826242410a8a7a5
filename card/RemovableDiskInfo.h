#pragma once

#include <QMetaType>
#include <QString>

// One removable drive: its root, space and whether it is a scanner card.
class RemovableDiskInfo
{
public:
    RemovableDiskInfo() = default;
    RemovableDiskInfo(const RemovableDiskInfo &) = default;
    RemovableDiskInfo &operator=(const RemovableDiskInfo &) = default;
    virtual ~RemovableDiskInfo();

    QString mRootPath; // mount point with a trailing slash
    QString mFreeText;
    float mFreeBytes = 0.0f;
    QString mTotalText;
    quint64 mTotalBytes = 0;
    QString mUsedText;
    quint64 mUsedBytes = 0;
    bool mHasSerialFile = false;
    bool mIsCurrent = false;
};

Q_DECLARE_METATYPE(RemovableDiskInfo)
