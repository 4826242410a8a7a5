#pragma once

#include <Sornet/BaseAction.h>
#include <Sornet/GetDownloadURLParam.h>
#include <Sornet/GetDownloadURLResponse.h>
#include <Sornet/sornet_export.h>

// The download address of a package, and two raw HTTP helpers that take a
// full URL (no envelope, no service base URL).
class SORNET_EXPORT DownloadAction : public BaseAction
{
    Q_OBJECT

public:
    explicit DownloadAction(QObject *parent = nullptr);

    // -1 without sending anything when response is null.
    int getDownloadURL(GetDownloadURLResponse *response, GetDownloadURLParam &param);

    // HEAD on url; on 200 size is the Content-Length, when there is one.
    int getDownloadFileSize(long &size, const QString &url);

    // Starts a GET on url and returns at once (-1 while no status is known).
    // An offset above 0 asks for the rest of the file from there. The
    // receiver's slots onFinished(QNetworkReply*) or onFinished(),
    // onDownloadProgress(qint64, qint64) and onReadyRead() get the reply;
    // the three method names are not used.
    int download(const QString &url, long startOffset, QObject *receiver,
                 const char *finishedMethod = nullptr, const char *progressMethod = nullptr,
                 const char *readyReadMethod = nullptr);
};
