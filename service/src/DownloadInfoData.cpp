#include <Sornet/DownloadInfoData.h>

DownloadInfoData::DownloadInfoData(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("data"));
}

DownloadInfoData::DownloadInfoData(const DownloadInfoData &other)
    : QObject()
    , mUrl(other.mUrl)
    , mOut_time(other.mOut_time)
{
    setObjectName(QStringLiteral("data"));
}

DownloadInfoData &DownloadInfoData::operator=(const DownloadInfoData &other)
{
    mUrl = other.mUrl;
    mOut_time = other.mOut_time;
    return *this;
}

bool DownloadInfoData::operator==(const DownloadInfoData &other) const
{
    return mUrl == other.mUrl
        && mOut_time == other.mOut_time;
}
