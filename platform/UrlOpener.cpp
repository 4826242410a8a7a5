#include "UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool UrlOpener::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
