#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the desktop: receives the addresses the pages ask it to
// open (installed with QDesktopServices::setUrlHandler).
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};
