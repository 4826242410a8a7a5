#pragma once

#include <QMetaType>
#include <Sornet/BaseResponse.h>
#include <Sornet/DownloadInfoData.h>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT GetDownloadURLResponse : public BaseResponse
{
    Q_OBJECT

public:
    explicit GetDownloadURLResponse(QObject *parent = nullptr);
    GetDownloadURLResponse(const GetDownloadURLResponse &other);
    GetDownloadURLResponse &operator=(const GetDownloadURLResponse &other);

    DownloadInfoData &getData() { return mData; }
    const DownloadInfoData &getData() const { return mData; }
    void setData(const DownloadInfoData &value) { mData = value; }

private:
    DownloadInfoData mData;
};

Q_DECLARE_METATYPE(GetDownloadURLResponse)
