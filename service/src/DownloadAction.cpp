#include <Sornet/DownloadAction.h>

#include "ServiceRequest.h"

DownloadAction::DownloadAction(QObject *parent)
    : BaseAction(parent)
{
}

int DownloadAction::getDownloadURL(GetDownloadURLResponse *response, GetDownloadURLParam &param)
{
    if (!response)
        return -1;
    ServiceRequest request(getServiceUrl() + QStringLiteral("soft/download"));
    request.addSignIn(param);
    request.addParam(QStringLiteral("id"), qint64(param.getId()));
    request.addParam(QStringLiteral("serial_number"), param.getSerial_number());
    QString body;
    return mapped(request.sendGet(body), body, *response);
}

int DownloadAction::getDownloadFileSize(long &size, const QString &url)
{
    // 64-bit on this platform, so packages above 2 GiB report their size.
    qint64 length = size;
    const int status = ServiceRequest(url).sendHead(length);
    size = long(length);
    return status;
}

int DownloadAction::download(const QString &url, long startOffset, QObject *receiver,
                             const char *finishedMethod, const char *progressMethod,
                             const char *readyReadMethod)
{
    Q_UNUSED(finishedMethod)
    Q_UNUSED(progressMethod)
    Q_UNUSED(readyReadMethod)
    return ServiceRequest(url).startDownload(startOffset, receiver);
}
