#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <Sornet/sornet_export.h>

class SORNET_EXPORT DownloadInfoData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString url READ getUrl WRITE setUrl)
    Q_PROPERTY(QString out_time READ getOut_time WRITE setOut_time)

public:
    explicit DownloadInfoData(QObject *parent = nullptr);
    DownloadInfoData(const DownloadInfoData &other);
    DownloadInfoData &operator=(const DownloadInfoData &other);
    bool operator==(const DownloadInfoData &other) const;
    bool operator!=(const DownloadInfoData &other) const { return !(*this == other); }

    QString getUrl() const { return mUrl; }
    void setUrl(const QString &value) { mUrl = value; }
    QString getOut_time() const { return mOut_time; }
    void setOut_time(const QString &value) { mOut_time = value; }

private:
    QString mUrl;
    QString mOut_time;
};

Q_DECLARE_METATYPE(DownloadInfoData)
